// The record levels of the two capture devices: their endpoints' master levels.
#include "controls/control_frame.h"
#include "controls/level_mapping.h"
#include "controls/level_writes.h"

namespace {

// `lowestPercent` stands in for smaller requests in the computation only.
int SetRecordLevel(IAudioEndpointVolume* endpoint, int percent, int lowestPercent, int* status) {
  const int mapped = percent == 0 ? lowestPercent : percent;
  const Outcome outcome = RunControl(endpoint, status, [mapped](IAudioEndpointVolume* volume) {
    return Accepted(WriteEndpointMasterLevel(volume, [mapped](float bottom, float top) {
      return PercentToDecibels(mapped, bottom, top);
    }));
  });
  return outcome == Outcome::Stopped ? 0 : percent;
}

int GetRecordLevel(IAudioEndpointVolume* endpoint, int* status) {
  int percent = 0;
  RunControl(endpoint, status, [&percent](IAudioEndpointVolume* volume) {
    float bottom = 0.0f, top = 0.0f, step = 0.0f;
    volume->GetVolumeRange(&bottom, &top, &step);  // not examined
    float level = 0.0f;
    if (!Accepted(volume->GetMasterVolumeLevel(&level))) return false;
    percent = DecibelsToPercent(level, top);
    return true;
  });
  return percent;
}

}  // namespace

extern "C" {

int VELMORA_API SetMicRecordVolume(int percent, int* status) {
  return SetRecordLevel(Mixer.MicEndpointVolume, percent, 0, status);
}

int VELMORA_API GetMicRecordVolume(int* status) {
  return GetRecordLevel(Mixer.MicEndpointVolume, status);
}

// 0 % is taken as 1 %, 40 dB below the top: the line's level never goes to the
// bottom of its range.
int VELMORA_API SetLineRecordVolume(int percent, int* status) {
  return SetRecordLevel(Mixer.LineEndpointVolume, percent, 1, status);
}

int VELMORA_API GetLineRecordVolume(int* status) {
  return GetRecordLevel(Mixer.LineEndpointVolume, status);
}

}  // extern "C"
