// The line and microphone inputs on the playback path: levels as whole
// percentages of channel 0's range, and mutes as whole Booleans.
#include "controls/control_frame.h"
#include "controls/level_mapping.h"
#include "controls/level_writes.h"

namespace {

// With no channel nothing is written: reported as a failure. `accepted` tells
// which results count as success.
template <bool (*accepted)(HRESULT)>
int SetInputLevel(IAudioVolumeLevel* control, QueryOrder order, int percent, int* status) {
  const Outcome outcome = RunControl(control, status, [=](IAudioVolumeLevel* level) {
    return accepted(WriteEveryChannel(
        level, order,
        [percent](float bottom, float top) { return PercentToDecibels(percent, bottom, top); },
        E_FAIL));
  });
  return outcome == Outcome::Succeeded ? percent : 0;
}

int GetInputLevel(IAudioVolumeLevel* control, int* status) {
  int percent = 0;
  RunControl(control, status, [&percent](IAudioVolumeLevel* level) {
    float bottom = 0.0f, top = 0.0f, step = 0.0f;
    level->GetLevelRange(0, &bottom, &top, &step);  // not examined
    float value = 0.0f;
    if (!Accepted(level->GetLevel(0, &value))) return false;
    percent = DecibelsToPercent(value, top);
    return true;
  });
  return percent;
}

template <bool (*accepted)(HRESULT)>
int SetInputMute(IAudioMute* control, BOOL mute, int* status) {
  RunControl(control, status,
             [=](IAudioMute* switchable) { return accepted(switchable->SetMute(mute, nullptr)); });
  return 0;
}

int GetInputMute(IAudioMute* control, int* status) {
  BOOL muted = FALSE;
  const Outcome outcome = RunControl(control, status, [&muted](IAudioMute* switchable) {
    return Accepted(switchable->GetMute(&muted));
  });
  return outcome == Outcome::Succeeded ? muted : 0;
}

}  // namespace

extern "C" {

int VELMORA_API SetLinePlayBack(int percent, int* status) {
  return SetInputLevel<Accepted>(Mixer.LinePlaybackLevel, QueryOrder::RangeFirst, percent, status);
}

int VELMORA_API GetLinePlayBack(int* status) {
  return GetInputLevel(Mixer.LinePlaybackLevel, status);
}

int VELMORA_API SetLinePlayBackMute(int mute, int* status) {
  return SetInputMute<Accepted>(Mixer.LinePlaybackMute, mute, status);
}

int VELMORA_API GetLinePlayBackMute(int* status) {
  return GetInputMute(Mixer.LinePlaybackMute, status);
}

int VELMORA_API SetMicPlayBack(int percent, int* status) {
  return SetInputLevel<AcceptedByMicSetter>(Mixer.MicPlaybackLevel, QueryOrder::CountFirst, percent,
                                            status);
}

int VELMORA_API GetMicPlayBack(int* status) {
  return GetInputLevel(Mixer.MicPlaybackLevel, status);
}

int VELMORA_API SetMicPlayBackMute(int mute, int* status) {
  return SetInputMute<AcceptedByMicSetter>(Mixer.MicPlaybackMute, mute, status);
}

int VELMORA_API GetMicPlayBackMute(int* status) {
  return GetInputMute(Mixer.MicPlaybackMute, status);
}

}  // extern "C"
