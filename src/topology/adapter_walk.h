// The first steps every discovery shares: from an endpoint's own topology to
// the adapter device behind its connector 0.
#pragma once

#include "platform/platform.h"

// Activates the endpoint into `endpointVolume` (releasing what that slot held)
// and delivers its topology. False when either is missing.
bool ActivateEndpoint(const char* idText, EDataFlow flow, IAudioEndpointVolume*& endpointVolume,
                      ComPtr<IDeviceTopology>& topology);

// Connector 0 of the endpoint topology, the connector on its far side, and that
// connector's IPart: the adapter connector part. Releases `topology`.
bool ReachAdapterConnectorPart(ComPtr<IDeviceTopology>& topology, ComPtr<IPart>& part);

// The IPart of the adapter topology's connector `index`.
bool GetConnectorPart(IDeviceTopology* adapter, UINT index, ComPtr<IPart>& part);
