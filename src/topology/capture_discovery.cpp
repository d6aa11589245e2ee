// The capture devices: the microphone's record level and boost, and the line
// input's record level and automatic gain control (its monitor switch).
#include "state/mixer_state.h"
#include "topology/adapter_walk.h"
#include "topology/discovery.h"
#include "topology/part_search.h"

namespace {

// Activates the capture endpoint into `endpointVolume`, saves its record level
// (not examined) and reaches the adapter topology behind it.
bool OpenAdapter(const char* idText, IAudioEndpointVolume*& endpointVolume, float& savedLevel,
                 ComPtr<IDeviceTopology>& adapter) {
  ComPtr<IDeviceTopology> topology;
  if (!ActivateEndpoint(idText, eCapture, endpointVolume, topology)) return false;
  endpointVolume->GetMasterVolumeLevel(&savedLevel);
  ComPtr<IPart> adapterPart;
  if (!ReachAdapterConnectorPart(topology, adapterPart)) return false;
  return GetPartTopology(adapterPart.get(), adapter.put()) == S_OK;
}

}  // namespace

int DiscoverMicTopology(const char* idText) {
  StartDiscoveryWalks();
  ComPtr<IDeviceTopology> adapter;
  OpenSnapshot& saved = Mixer.Snapshot;
  if (!OpenAdapter(idText, Mixer.MicEndpointVolume, saved.SavedMicRecordLevel, adapter)) return 1;
  UINT count = 0;
  if (adapter->GetConnectorCount(&count) != S_OK) return 1;
  AllowWalkStepsFor(count);

  // The first connector named for a microphone from which a boost is found.
  for (UINT index = 0; index < count; ++index) {
    ComPtr<IPart> connector;
    if (!GetConnectorPart(adapter.get(), index, connector)) return 1;
    if (!MatchPartName(connector.get(), part_keywords::MicConnector)) continue;
    ComPtr<IPartsList> outgoing;
    if (connector->EnumPartsOutgoing(outgoing.put()) != S_OK) continue;
    if (FindBoostSwitch(outgoing.get()) == 0) {
      GetMicBoostSwitchEnabled(&saved.SavedMicBoostEnabled);  // not examined
      return 0;
    }
    if (FindBoostLevel(outgoing.get()) == 0) {
      Mixer.MicBoostLevel->GetLevel(0, &saved.SavedMicBoostLevel);  // not examined
      return 0;
    }
  }
  return 0;
}

int DiscoverLineTopology(const char* idText) {
  StartDiscoveryWalks();
  ComPtr<IDeviceTopology> adapter;
  OpenSnapshot& saved = Mixer.Snapshot;
  if (!OpenAdapter(idText, Mixer.LineEndpointVolume, saved.SavedLineRecordLevel, adapter)) return 1;
  UINT count = 0;
  if (adapter->GetConnectorCount(&count) != S_OK) return 1;

  // Every connector named for a line input, in order: the part two steps
  // downstream of it decides, so the last such connector wins.
  for (UINT index = 0; index < count; ++index) {
    ComPtr<IPart> connector;
    if (!GetConnectorPart(adapter.get(), index, connector)) return 1;
    if (!MatchPartName(connector.get(), part_keywords::LineConnector)) continue;
    ComPtr<IPartsList> firstList;
    if (connector->EnumPartsOutgoing(firstList.put()) != S_OK) continue;
    ComPtr<IPartsList> secondList;
    {
      ComPtr<IPart> firstStep;
      if (firstList->GetPart(0, firstStep.put()) != S_OK) return 1;
      if (firstStep->EnumPartsOutgoing(secondList.put()) != S_OK) return 1;
    }
    ComPtr<IPart> secondStep;
    if (secondList->GetPart(0, secondStep.put()) != S_OK) return 1;
    if (ActivateControl(secondStep.get(), __uuidof(IAudioAutoGainControl), Mixer.LineMonitorSwitch))
      Mixer.LineMonitorSwitch->GetEnabled(&saved.SavedLineMonitorEnabled);  // not examined
  }
  return 0;
}
