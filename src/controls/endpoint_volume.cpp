#include "controls/endpoint_volume.h"

#include "controls/level_mapping.h"
#include "state/mixer_state.h"

int SetEndpointVolume(IAudioEndpointVolume* endpoint, int percent, int* status) {
  if (endpoint == nullptr) {
    WriteStatus(status, StatusNoControl);
    return 0;
  }
  // Neither query is examined; on failure the zeroes stand.
  float minimum = 0.0f, maximum = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&minimum, &maximum, &step);
  UINT channels = 0;
  endpoint->GetChannelCount(&channels);

  const float level = PercentToDecibels(percent, minimum, maximum);
  HRESULT last = E_FAIL;  // with no channel nothing is written: a failure
  for (UINT channel = 0; channel < channels; ++channel)
    last = endpoint->SetChannelVolumeLevel(channel, level, nullptr);
  WriteStatus(status, last == S_OK ? StatusOk : StatusFailed);
  return percent;
}

int GetEndpointVolume(IAudioEndpointVolume* endpoint, int* status) {
  if (endpoint == nullptr) {
    WriteStatus(status, StatusNoControl);
    return 0;
  }
  float minimum = 0.0f, maximum = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&minimum, &maximum, &step);  // not examined
  float level = 0.0f;
  if (endpoint->GetChannelVolumeLevel(0, &level) != S_OK) {
    WriteStatus(status, StatusFailed);
    return 0;
  }
  WriteStatus(status, StatusOk);
  return DecibelsToPercent(level, maximum);
}

int SetEndpointMute(IAudioEndpointVolume* endpoint, BOOL mute, int* status) {
  if (endpoint == nullptr) {
    WriteStatus(status, StatusNoControl);
    return 0;
  }
  WriteStatus(status, endpoint->SetMute(mute, nullptr) == S_OK ? StatusOk : StatusNoControl);
  return 0;
}

int GetEndpointMute(IAudioEndpointVolume* endpoint, int* status) {
  if (endpoint == nullptr) {
    WriteStatus(status, StatusNoControl);
    return 0;
  }
  BOOL muted = FALSE;
  if (endpoint->GetMute(&muted) != S_OK) {
    WriteStatus(status, StatusFailed);
    return 0;
  }
  WriteStatus(status, StatusOk);
  return muted;
}
