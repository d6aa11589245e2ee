// Bass, treble and midrange in decibels: doubles toward the host, floats
// toward the platform.
#include "controls/control_frame.h"
#include "controls/level_mapping.h"
#include "controls/level_writes.h"

namespace {

bool SetTone(IPerChannelDbLevel* control, double level, int* status) {
  return RunControl(control, status, [level](IPerChannelDbLevel* tone) {
           return Accepted(WriteToneLevel(tone, NearestFloat(level)));
         }) == Outcome::Succeeded;
}

bool GetTone(IPerChannelDbLevel* control, double* level, int* status) {
  if (level != nullptr) *level = 0.0;
  return RunControl(control, status, [level](IPerChannelDbLevel* tone) {
           float value = 0.0f;
           if (!Accepted(tone->GetLevel(0, &value))) return false;
           if (level != nullptr) *level = value;
           return true;
         }) == Outcome::Succeeded;
}

void WriteOut(double* destination, double value) {
  if (destination != nullptr) *destination = value;
}

}  // namespace

extern "C" {

// Returns its status code. The range of the first tone control held, in the
// order bass, midrange, treble, stands for all three.
int VELMORA_API GetEQRange(double* minLevel, double* maxLevel, double* stepLevel) {
  WriteOut(minLevel, 0.0);
  WriteOut(maxLevel, 0.0);
  WriteOut(stepLevel, 0.0);
  if (Mixer.CurrentDeviceId == nullptr) return StatusNotOpen;
  IPerChannelDbLevel* control = Mixer.BassControl;
  if (control == nullptr) control = Mixer.MidrangeControl;
  if (control == nullptr) control = Mixer.TrebleControl;
  if (control == nullptr) return StatusNoControl;
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  control->GetLevelRange(0, &bottom, &top, &step);  // not examined
  WriteOut(minLevel, bottom);
  WriteOut(maxLevel, top);
  WriteOut(stepLevel, step);
  return StatusOk;
}

int VELMORA_API SetBass(double level, int* status) {
  return SetTone(Mixer.BassControl, level, status) ? 0 : 1;
}

int VELMORA_API GetBass(double* level, int* status) {
  return GetTone(Mixer.BassControl, level, status) ? 0 : 1;
}

int VELMORA_API SetTreble(double level, int* status) {
  return SetTone(Mixer.TrebleControl, level, status) ? 0 : 1;
}

int VELMORA_API GetTreble(double* level, int* status) {
  return GetTone(Mixer.TrebleControl, level, status) ? 0 : 1;
}

// The midrange exports return 1 on every path; only the status tells.
int VELMORA_API SetMidRange(double level, int* status) {
  SetTone(Mixer.MidrangeControl, level, status);
  return 1;
}

int VELMORA_API GetMidRange(double* level, int* status) {
  GetTone(Mixer.MidrangeControl, level, status);
  return 1;
}

}  // extern "C"
