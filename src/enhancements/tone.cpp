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

void WriteOut(double* destination, double value) {
  if (destination != nullptr) *destination = value;
}

// The level read, or 0 when it could not be.
bool GetTone(IPerChannelDbLevel* control, double* level, int* status) {
  float value = 0.0f;
  const bool read = RunControl(control, status, [&value](IPerChannelDbLevel* tone) {
                      return Accepted(tone->GetLevel(0, &value));
                    }) == Outcome::Succeeded;
  WriteOut(level, read ? value : 0.0);
  return read;
}

}  // namespace

extern "C" {

// Returns its status code. The range of the first tone control held, in the
// order bass, midrange, treble, stands for all three.
int VELMORA_API GetEQRange(double* minLevel, double* maxLevel, double* stepLevel) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;  // the outputs unless a range is read
  int result = StatusNotOpen;
  if (Mixer.CurrentDeviceId != nullptr) {
    IPerChannelDbLevel* control = Mixer.BassControl;
    if (control == nullptr) control = Mixer.MidrangeControl;
    if (control == nullptr) control = Mixer.TrebleControl;
    result = StatusNoControl;
    if (control != nullptr) {
      control->GetLevelRange(0, &bottom, &top, &step);  // not examined
      result = StatusOk;
    }
  }
  WriteOut(minLevel, bottom);
  WriteOut(maxLevel, top);
  WriteOut(stepLevel, step);
  return result;
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
