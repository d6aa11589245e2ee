// The playback device's master volume and mute.
#include "controls/endpoint_volume.h"

extern "C" {

int VELMORA_API GetMasterVolume(int* status) {
  return GetEndpointVolume(Mixer.PlaybackEndpointVolume, Guard::CardOpen, status);
}

int VELMORA_API SetMasterVolume(int percent, int* status) {
  return SetEndpointVolume(Mixer.PlaybackEndpointVolume, Guard::CardOpen, percent, status);
}

int VELMORA_API GetMasterMute(int* status) {
  return GetEndpointMute(Mixer.PlaybackEndpointVolume, Guard::CardOpen, status);
}

int VELMORA_API SetMasterMute(unsigned char mute, int* status) {
  // The one-byte argument widens without sign: 0, or 1 to 255.
  return SetEndpointMute(Mixer.PlaybackEndpointVolume, Guard::CardOpen, mute, status);
}

}  // extern "C"
