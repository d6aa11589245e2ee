// The playback device's master volume and mute.
#include "controls/endpoint_volume.h"
#include "state/mixer_state.h"

namespace {
// The first guard of every sound-card control export.
bool CardIsOpen(int* status) {
  if (Mixer.CurrentDeviceId != nullptr) return true;
  WriteStatus(status, StatusNotOpen);
  return false;
}
}  // namespace

extern "C" {

int VELMORA_API GetMasterVolume(int* status) {
  return CardIsOpen(status) ? GetEndpointVolume(Mixer.PlaybackEndpointVolume, status) : 0;
}

int VELMORA_API SetMasterVolume(int percent, int* status) {
  return CardIsOpen(status) ? SetEndpointVolume(Mixer.PlaybackEndpointVolume, percent, status) : 0;
}

int VELMORA_API GetMasterMute(int* status) {
  return CardIsOpen(status) ? GetEndpointMute(Mixer.PlaybackEndpointVolume, status) : 0;
}

int VELMORA_API SetMasterMute(unsigned char mute, int* status) {
  // The one-byte argument widens without sign: 0, or 1 to 255.
  return CardIsOpen(status) ? SetEndpointMute(Mixer.PlaybackEndpointVolume, mute, status) : 0;
}

}  // extern "C"
