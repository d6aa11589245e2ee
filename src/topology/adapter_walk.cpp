#include "topology/adapter_walk.h"

#include "state/endpoint_lookup.h"

bool ActivateEndpoint(const char* idText, EDataFlow flow, IAudioEndpointVolume*& endpointVolume,
                      ComPtr<IDeviceTopology>& topology) {
  // Opening the default devices again while a card is open reaches here with
  // the slot still held; it is let go before the new activation fills it.
  ReleaseSlot(endpointVolume);
  return ActivateEndpointControls(idText, flow, topology.put(), &endpointVolume) == 0 &&
         static_cast<bool>(topology);
}

bool ReachAdapterConnectorPart(ComPtr<IDeviceTopology>& topology, ComPtr<IPart>& part) {
  ComPtr<IConnector> connector;
  const HRESULT found = topology->GetConnector(0, connector.put());
  topology.reset();
  if (found != S_OK) return false;
  ComPtr<IConnector> farSide;
  const HRESULT connected = connector->GetConnectedTo(farSide.put());
  connector.reset();
  if (connected != S_OK) return false;
  return farSide->QueryInterface(__uuidof(IPart), part.put_void()) == S_OK;
}

bool GetConnectorPart(IDeviceTopology* adapter, UINT index, ComPtr<IPart>& part) {
  ComPtr<IConnector> connector;
  if (adapter->GetConnector(index, connector.put()) != S_OK) return false;
  return connector->QueryInterface(__uuidof(IPart), part.put_void()) == S_OK;
}
