// The auxiliary playback endpoint: opened on its own and driven apart from the
// sound card. Its controls work whether or not a sound card is open.
#include "controls/endpoint_volume.h"
#include "state/endpoint_lookup.h"
#include "state/mixer_state.h"

extern "C" {

int VELMORA_API OpenVirtual_1(const char* idText) {
  ReleaseSlot(Mixer.VirtualEndpointVolume);
  ComPtr<IDeviceTopology> topology;
  if (ActivateEndpointControls(idText, eRender, topology.put(), &Mixer.VirtualEndpointVolume) != 0)
    return 1;
  // The topology object only tells success; the endpoint volume stays usable without it.
  return topology ? 0 : 1;
}

int VELMORA_API CloseVirtual_1(void) {
  ReleaseSlot(Mixer.VirtualEndpointVolume);
  return 0;
}

int VELMORA_API GetVirtualVolume(int* status) {
  return GetEndpointVolume(Mixer.VirtualEndpointVolume, Guard::ControlOnly, status);
}

int VELMORA_API SetVirtualVolume(int percent, int* status) {
  return SetEndpointVolume(Mixer.VirtualEndpointVolume, Guard::ControlOnly, percent, status);
}

int VELMORA_API GetVirtualMute(int* status) {
  return GetEndpointMute(Mixer.VirtualEndpointVolume, Guard::ControlOnly, status);
}

int VELMORA_API SetVirtualMute(int mute, int* status) {
  return SetEndpointMute(Mixer.VirtualEndpointVolume, Guard::ControlOnly, mute, status);
}

}  // extern "C"
