// The microphone boost: an on/off switch, or a level in whole decibels.
#include "controls/control_frame.h"
#include "controls/level_mapping.h"

extern "C" {

int VELMORA_API GetMicBoost(int* status) {
  BOOL enabled = FALSE;
  const Outcome outcome = RunControl(Mixer.MicBoostSwitch, status, [&enabled](IUnknown*) {
    return Accepted(GetMicBoostSwitchEnabled(&enabled));
  });
  return outcome == Outcome::Succeeded ? enabled : 0;
}

int VELMORA_API SetMicBoost(int enabled, int* status) {
  RunControl(Mixer.MicBoostSwitch, status,
             [enabled](IUnknown*) { return Accepted(SetMicBoostSwitchEnabled(enabled)); });
  return 0;
}

int VELMORA_API GetMicSliderDetails(int* status, int* minLevel, int* maxLevel, int* stepLevel) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  const Outcome outcome = RunControl(Mixer.MicBoostLevel, status, [&](IAudioVolumeLevel* level) {
    return Accepted(level->GetLevelRange(0, &bottom, &top, &step));
  });
  if (outcome == Outcome::Stopped) return 1;  // the outputs stay as they were
  const bool succeeded = outcome == Outcome::Succeeded;
  if (minLevel != nullptr) *minLevel = succeeded ? TruncateToInt(bottom) : 0;
  if (maxLevel != nullptr) *maxLevel = succeeded ? TruncateToInt(top) : 0;
  if (stepLevel != nullptr) *stepLevel = succeeded ? TruncateToInt(step) : 0;
  return succeeded ? 0 : 1;
}

int VELMORA_API GetMicSliderBoost(int* status) {
  int decibels = 0;
  RunControl(Mixer.MicBoostLevel, status, [&decibels](IAudioVolumeLevel* level) {
    float value = 0.0f;
    if (!Accepted(level->GetLevel(0, &value))) return false;
    decibels = TruncateToInt(value);
    return true;
  });
  return decibels;
}

int VELMORA_API SetMicSliderBoost(int level, int* status) {
  // Channel 0 only; the whole number becomes the nearest float.
  const Outcome outcome =
      RunControl(Mixer.MicBoostLevel, status, [level](IAudioVolumeLevel* boost) {
        return Accepted(boost->SetLevel(0, static_cast<float>(level), nullptr));
      });
  return outcome == Outcome::Succeeded ? 0 : 1;
}

}  // extern "C"
