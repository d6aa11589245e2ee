#include "enhancements/restore.h"

#include <cmath>

#include "controls/level_mapping.h"
#include "state/mixer_state.h"

namespace {

// A saved level brought back through the host's percentage scale.
float ThroughPercentScale(float saved, float bottom, float top, int lowestPercent = 0) {
  int percent = DecibelsToPercent(saved, top);
  if (percent < lowestPercent) percent = lowestPercent;
  return PercentToDecibels(percent, bottom, top);
}

void RestoreEndpointLevel(IAudioEndpointVolume* endpoint, float saved) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  UINT channels = 0;
  endpoint->GetChannelCount(&channels);
  const float level = ThroughPercentScale(saved, bottom, top);
  for (UINT channel = 0; channel < channels; ++channel)
    endpoint->SetChannelVolumeLevel(channel, level, nullptr);
}

void WriteEveryChannel(IPerChannelDbLevel* control, UINT channels, float level) {
  for (UINT channel = 0; channel < channels; ++channel) control->SetLevel(channel, level, nullptr);
}

// The line input's level queries its range first, the microphone's its channel count.
enum class QueryOrder { RangeFirst, CountFirst };

void RestorePlaybackInputLevel(IAudioVolumeLevel* control, float saved, QueryOrder order) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  UINT channels = 0;
  if (order == QueryOrder::CountFirst) control->GetChannelCount(&channels);
  control->GetLevelRange(0, &bottom, &top, &step);
  if (order == QueryOrder::RangeFirst) control->GetChannelCount(&channels);
  WriteEveryChannel(control, channels, ThroughPercentScale(saved, bottom, top));
}

void RestoreTone(IPerChannelDbLevel* control, float saved) {
  UINT channels = 0;
  control->GetChannelCount(&channels);
  WriteEveryChannel(control, channels, saved);
}

void RestoreRecordLevel(IAudioEndpointVolume* endpoint, float saved, int lowestPercent) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  endpoint->SetMasterVolumeLevel(ThroughPercentScale(saved, bottom, top, lowestPercent), nullptr);
}

}  // namespace

void RestoreOpenSnapshot() {
  if (Mixer.CurrentDeviceId == nullptr) return;
  const OpenSnapshot& saved = Mixer.Snapshot;

  if (IAudioEndpointVolume* master = Mixer.PlaybackEndpointVolume) {
    RestoreEndpointLevel(master, saved.SavedMasterLevel);
    master->SetMute(saved.SavedMasterMute != FALSE ? TRUE : FALSE, nullptr);
  }
  if (Mixer.LinePlaybackLevel != nullptr)
    RestorePlaybackInputLevel(Mixer.LinePlaybackLevel, saved.SavedLinePlaybackLevel,
                              QueryOrder::RangeFirst);
  if (Mixer.LinePlaybackMute != nullptr)
    Mixer.LinePlaybackMute->SetMute(saved.SavedLinePlaybackMute, nullptr);
  if (Mixer.MicPlaybackLevel != nullptr)
    RestorePlaybackInputLevel(Mixer.MicPlaybackLevel, saved.SavedMicPlaybackLevel,
                              QueryOrder::CountFirst);
  if (Mixer.MicPlaybackMute != nullptr)
    Mixer.MicPlaybackMute->SetMute(saved.SavedMicPlaybackMute, nullptr);
  if (Mixer.LineMonitorSwitch != nullptr)
    Mixer.LineMonitorSwitch->SetEnabled(saved.SavedLineMonitorEnabled, nullptr);
  if (Mixer.MicBoostSwitch != nullptr) SetMicBoostSwitchEnabled(saved.SavedMicBoostEnabled);
  if (Mixer.BassControl != nullptr) RestoreTone(Mixer.BassControl, saved.SavedBassLevel);
  if (Mixer.MidrangeControl != nullptr)
    RestoreTone(Mixer.MidrangeControl, saved.SavedMidrangeLevel);
  if (Mixer.TrebleControl != nullptr) RestoreTone(Mixer.TrebleControl, saved.SavedTrebleLevel);
  if (Mixer.MicEndpointVolume != nullptr)
    RestoreRecordLevel(Mixer.MicEndpointVolume, saved.SavedMicRecordLevel, 0);
  // The line's record level never goes to the bottom of its range, as its setter does.
  if (Mixer.LineEndpointVolume != nullptr)
    RestoreRecordLevel(Mixer.LineEndpointVolume, saved.SavedLineRecordLevel, 1);
  if (Mixer.MicBoostLevel != nullptr)
    Mixer.MicBoostLevel->SetLevel(0, std::trunc(saved.SavedMicBoostLevel), nullptr);
}
