// Volume and mute through an IAudioEndpointVolume slot: the procedures behind
// the playback master exports and the auxiliary endpoint's, which differ only
// in their guard.
#pragma once

#include "controls/control_frame.h"
#include "controls/level_mapping.h"
#include "controls/level_writes.h"

// Defined here so that each export's frame compiles into the export itself.

// The level is written to every channel and read from channel 0; after the
// platform call the setter returns `percent` whatever the outcome.
inline int SetEndpointVolume(IAudioEndpointVolume* endpoint, Guard guard, int percent,
                             int* status) {
  const Outcome outcome = RunControl(
      endpoint, status,
      [percent](IAudioEndpointVolume* volume) {
        return Accepted(WriteEveryEndpointChannel(volume, [percent](float bottom, float top) {
          return PercentToDecibels(percent, bottom, top);
        }));
      },
      guard);
  return outcome == Outcome::Stopped ? 0 : percent;
}

inline int GetEndpointVolume(IAudioEndpointVolume* endpoint, Guard guard, int* status) {
  int percent = 0;
  RunControl(
      endpoint, status,
      [&percent](IAudioEndpointVolume* volume) {
        float bottom = 0.0f, top = 0.0f, step = 0.0f;
        volume->GetVolumeRange(&bottom, &top, &step);  // not examined
        float level = 0.0f;
        if (!Accepted(volume->GetChannelVolumeLevel(0, &level))) return false;
        percent = DecibelsToPercent(level, top);
        return true;
      },
      guard);
  return percent;
}

// A failed SetMute is reported as StatusNoControl.
inline int SetEndpointMute(IAudioEndpointVolume* endpoint, Guard guard, BOOL mute, int* status) {
  RunControl(
      endpoint, status,
      [mute](IAudioEndpointVolume* volume) { return Accepted(volume->SetMute(mute, nullptr)); },
      guard, StatusNoControl);
  return 0;
}

inline int GetEndpointMute(IAudioEndpointVolume* endpoint, Guard guard, int* status) {
  BOOL muted = FALSE;
  const Outcome outcome = RunControl(
      endpoint, status,
      [&muted](IAudioEndpointVolume* volume) { return Accepted(volume->GetMute(&muted)); }, guard);
  return outcome == Outcome::Succeeded ? muted : 0;
}
