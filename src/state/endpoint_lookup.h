// Finding an endpoint by a piece of its ID text, activating its controls, and
// the narrow copies of friendly names the library keeps and hands out.
#pragma once

#include "platform/platform.h"

// Finds the first active endpoint of `flow` whose ID contains `idText`, ignoring
// the case of A-Z, and records its ID and friendly name in the mixer state.
// 0 when found, -1 otherwise (the mixer state is then unchanged).
int FindEndpointById(const char* idText, EDataFlow flow);

// Runs the lookup, then activates the endpoint's IDeviceTopology into
// `topologyOut` (result not examined) and its IAudioEndpointVolume into
// `endpointVolumeOut`. Both places must be empty. 0 when the endpoint volume
// was activated, 1 otherwise; `topologyOut` may then hold an object the caller owns.
int ActivateEndpointControls(const char* idText, EDataFlow flow, IDeviceTopology** topologyOut,
                             IAudioEndpointVolume** endpointVolumeOut);

// A new zero-terminated copy on the library heap holding the low byte of each
// UTF-16 unit of `text` (null counts as empty); null only when memory runs out.
char* BstrToNarrow(BSTR text);

// Creates the platform's device enumerator; S_OK or the failure.
HRESULT CreateDeviceEnumerator(ComPtr<IMMDeviceEnumerator>& enumerator);

// Reads the endpoint's friendly-name property; a store or value that cannot be
// read leaves `value` empty.
void ReadFriendlyNameValue(IMMDevice* device, PropVariantValue& value);

// The narrow friendly name (see BstrToNarrow) of a property value; a value that
// is not a text gives an empty name. False only when memory runs out.
bool NarrowFriendlyName(const PROPVARIANT& value, HeapText& narrow);

// Copies `text` into a host buffer, cut to at most DeviceNameSize - 1 bytes and
// a zero; a null buffer is not written.
void CopyNameOut(char* destination, const char* text);
