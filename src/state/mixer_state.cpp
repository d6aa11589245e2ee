#include "state/mixer_state.h"

MixerState Mixer;

void ReleaseSoundCardSlots() {
  ReleaseSlot(Mixer.PlaybackEndpointVolume);
  ReleaseSlot(Mixer.MicEndpointVolume);
  ReleaseSlot(Mixer.LineEndpointVolume);
  ReleaseSlot(Mixer.LinePlaybackLevel);
  ReleaseSlot(Mixer.LinePlaybackMute);
  ReleaseSlot(Mixer.MicPlaybackLevel);
  ReleaseSlot(Mixer.MicPlaybackMute);
  ReleaseSlot(Mixer.MicBoostSwitch);
  ReleaseSlot(Mixer.LineMonitorSwitch);
  ReleaseSlot(Mixer.BassControl);
  ReleaseSlot(Mixer.TrebleControl);
  ReleaseSlot(Mixer.MidrangeControl);
  ReleaseSlot(Mixer.MicBoostLevel);
}

namespace {
void FreeHeapText(char*& text) {
  LibraryFree(text);
  text = nullptr;
}
}  // namespace

void ReleaseSoundCard() {
  FreeHeapText(Mixer.CurrentDeviceName);
  FreeHeapText(Mixer.PlaybackDeviceName);
  FreeHeapText(Mixer.LineDeviceName);
  FreeHeapText(Mixer.MicDeviceName);
  ReleaseSoundCardSlots();
  CoTaskMemFree(Mixer.CurrentDeviceId);
  Mixer.CurrentDeviceId = nullptr;
}
