#include "enhancements/restore.h"

#include <cmath>

#include "controls/level_mapping.h"
#include "controls/level_writes.h"
#include "state/mixer_state.h"

namespace {

// A saved level brought back through the host's percentage scale, as the
// setters would write it; `lowestPercent` stands in for smaller percentages.
auto ThroughPercentScale(float saved, int lowestPercent = 0) {
  return [saved, lowestPercent](float bottom, float top) {
    int percent = DecibelsToPercent(saved, top);
    if (percent < lowestPercent) percent = lowestPercent;
    return PercentToDecibels(percent, bottom, top);
  };
}

}  // namespace

// Every platform result is ignored: a control that refuses keeps its value
// and the next step runs.
void RestoreOpenSnapshot() {
  if (Mixer.CurrentDeviceId == nullptr) return;
  const OpenSnapshot& saved = Mixer.Snapshot;

  if (IAudioEndpointVolume* master = Mixer.PlaybackEndpointVolume) {
    WriteEveryEndpointChannel(master, ThroughPercentScale(saved.SavedMasterLevel));
    master->SetMute(saved.SavedMasterMute != FALSE ? TRUE : FALSE, nullptr);
  }
  if (Mixer.LinePlaybackLevel != nullptr)
    WriteEveryChannel(Mixer.LinePlaybackLevel, QueryOrder::RangeFirst,
                      ThroughPercentScale(saved.SavedLinePlaybackLevel), S_OK);
  if (Mixer.LinePlaybackMute != nullptr)
    Mixer.LinePlaybackMute->SetMute(saved.SavedLinePlaybackMute, nullptr);
  if (Mixer.MicPlaybackLevel != nullptr)
    WriteEveryChannel(Mixer.MicPlaybackLevel, QueryOrder::CountFirst,
                      ThroughPercentScale(saved.SavedMicPlaybackLevel), S_OK);
  if (Mixer.MicPlaybackMute != nullptr)
    Mixer.MicPlaybackMute->SetMute(saved.SavedMicPlaybackMute, nullptr);
  if (Mixer.LineMonitorSwitch != nullptr)
    Mixer.LineMonitorSwitch->SetEnabled(saved.SavedLineMonitorEnabled, nullptr);
  if (Mixer.MicBoostSwitch != nullptr) SetMicBoostSwitchEnabled(saved.SavedMicBoostEnabled);
  if (Mixer.BassControl != nullptr) WriteToneLevel(Mixer.BassControl, saved.SavedBassLevel);
  if (Mixer.MidrangeControl != nullptr)
    WriteToneLevel(Mixer.MidrangeControl, saved.SavedMidrangeLevel);
  if (Mixer.TrebleControl != nullptr) WriteToneLevel(Mixer.TrebleControl, saved.SavedTrebleLevel);
  if (Mixer.MicEndpointVolume != nullptr)
    WriteEndpointMasterLevel(Mixer.MicEndpointVolume,
                             ThroughPercentScale(saved.SavedMicRecordLevel));
  // The line's record level never goes to the bottom of its range, as its setter does.
  if (Mixer.LineEndpointVolume != nullptr)
    WriteEndpointMasterLevel(Mixer.LineEndpointVolume,
                             ThroughPercentScale(saved.SavedLineRecordLevel, 1));
  // Whole decibels, as the boost level's setter writes them; channel 0 only.
  if (Mixer.MicBoostLevel != nullptr)
    Mixer.MicBoostLevel->SetLevel(0, std::trunc(saved.SavedMicBoostLevel), nullptr);
}
