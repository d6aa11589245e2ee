// The level writes shared by the setters and the restore. Each queries what it
// needs (results not examined: locals start at zero, and a count the platform
// does not give means no channel), computes the level once from the range,
// writes it, and gives the deciding result: the last write's.
#pragma once

#include "platform/platform.h"

// Line input levels ask for their range first, microphone input levels for
// their channel count first.
enum class QueryOrder { RangeFirst, CountFirst };

// `levelFor(bottom, top)` of channel 0's range, written to every channel;
// `noChannel` is the result when there is none.
template <class LevelFor>
HRESULT WriteEveryChannel(IPerChannelDbLevel* control, QueryOrder order, LevelFor levelFor,
                          HRESULT noChannel) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  UINT channels = 0;
  if (order == QueryOrder::CountFirst) control->GetChannelCount(&channels);
  control->GetLevelRange(0, &bottom, &top, &step);
  if (order == QueryOrder::RangeFirst) control->GetChannelCount(&channels);
  const float level = levelFor(bottom, top);
  HRESULT last = noChannel;
  for (UINT channel = 0; channel < channels; ++channel)
    last = control->SetLevel(channel, level, nullptr);
  return last;
}

// A tone level written unchanged to every channel; with no channel the count
// query's own result decides.
inline HRESULT WriteToneLevel(IPerChannelDbLevel* control, float level) {
  UINT channels = 0;
  HRESULT last = control->GetChannelCount(&channels);
  for (UINT channel = 0; channel < channels; ++channel)
    last = control->SetLevel(channel, level, nullptr);
  return last;
}

// `levelFor(bottom, top)` of the endpoint's range, written to every channel;
// with no channel nothing is written, a failure.
template <class LevelFor>
HRESULT WriteEveryEndpointChannel(IAudioEndpointVolume* endpoint, LevelFor levelFor) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  UINT channels = 0;
  endpoint->GetChannelCount(&channels);
  const float level = levelFor(bottom, top);
  HRESULT last = E_FAIL;
  for (UINT channel = 0; channel < channels; ++channel)
    last = endpoint->SetChannelVolumeLevel(channel, level, nullptr);
  return last;
}

// `levelFor(bottom, top)` of the endpoint's range, written as its master level.
template <class LevelFor>
HRESULT WriteEndpointMasterLevel(IAudioEndpointVolume* endpoint, LevelFor levelFor) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  return endpoint->SetMasterVolumeLevel(levelFor(bottom, top), nullptr);
}
