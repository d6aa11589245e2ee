#include "state/endpoint_lookup.h"

#include "state/mixer_state.h"

HRESULT CreateDeviceEnumerator(ComPtr<IMMDeviceEnumerator>& enumerator) {
  const HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IMMDeviceEnumerator), enumerator.put_void());
  if (hr != S_OK) enumerator.reset();
  return hr;
}

char* BstrToNarrow(BSTR text) {
  const UINT length = SysStringLen(text);
  auto* narrow = static_cast<char*>(LibraryMalloc(static_cast<std::size_t>(length) + 1));
  if (narrow == nullptr) return nullptr;
  for (UINT i = 0; i < length; ++i) narrow[i] = static_cast<char>(text[i] & 0xFF);
  narrow[length] = 0;
  return narrow;
}

void ReadFriendlyNameValue(IMMDevice* device, PropVariantValue& value) {
  ComPtr<IPropertyStore> store;
  if (device->OpenPropertyStore(STGM_READ, store.put()) != S_OK) return;
  if (store->GetValue(PKEY_Device_FriendlyName, value.put()) != S_OK) value.clear();
}

bool NarrowFriendlyName(const PROPVARIANT& value, HeapText& narrow) {
  // The friendly name is a VT_LPWSTR value; its BSTR is made from the text
  // directly, as PropVariantToBSTR does for that type.
  Bstr name;
  if (value.vt == VT_LPWSTR && value.pwszVal != nullptr) {
    name.attach(SysAllocString(value.pwszVal));
    if (!name) return false;
  }
  narrow.attach(BstrToNarrow(name.get()));
  return static_cast<bool>(narrow);
}

void CopyNameOut(char* destination, const char* text) {
  if (destination == nullptr) return;
  int i = 0;
  for (; i < DeviceNameSize - 1 && text[i] != 0; ++i) destination[i] = text[i];
  destination[i] = 0;
}

int FindEndpointById(const char* idText, EDataFlow flow) {
  if (idText == nullptr) return -1;

  ComApartment com;
  ComPtr<IMMDeviceEnumerator> enumerator;
  if (CreateDeviceEnumerator(enumerator) != S_OK) return -1;
  ComPtr<IMMDeviceCollection> collection;
  if (enumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, collection.put()) != S_OK)
    return -1;
  UINT count = 0;
  if (collection->GetCount(&count) != S_OK) return -1;

  // The search text, terminator included, in the ANSI code page.
  const int length = lstrlenA(idText);
  Bstr search(SysAllocStringLen(nullptr, static_cast<UINT>(length) + 1));
  if (!search) return -1;
  if (MultiByteToWideChar(CP_ACP, 0, idText, length + 1, search.get(), length + 1) == 0) return -1;
  LowerAsciiInPlace(search.get());

  for (UINT index = 0; index < count; ++index) {
    ComPtr<IMMDevice> device;
    if (collection->Item(index, device.put()) != S_OK) continue;  // passed over
    PropVariantValue friendlyName;
    ReadFriendlyNameValue(device.get(), friendlyName);
    CoTaskMemText id;
    if (device->GetId(id.put()) != S_OK) continue;  // passed over
    LowerAsciiInPlace(id.get());
    if (FindWideText(id.get(), search.get()) == nullptr) continue;

    HeapText narrowName;
    if (!NarrowFriendlyName(friendlyName.get(), narrowName)) return -1;
    CoTaskMemText currentId;
    if (device->GetId(currentId.put()) != S_OK) continue;  // passed over, as above

    // Everything needed is in hand: replace the recorded endpoint.
    LibraryFree(Mixer.CurrentDeviceName);
    Mixer.CurrentDeviceName = narrowName.detach();
    CoTaskMemFree(Mixer.CurrentDeviceId);
    Mixer.CurrentDeviceId = currentId.detach();
    return 0;
  }
  return -1;
}

int ActivateEndpointControls(const char* idText, EDataFlow flow, IDeviceTopology** topologyOut,
                             IAudioEndpointVolume** endpointVolumeOut) {
  if (FindEndpointById(idText, flow) != 0) return 1;

  ComApartment com;
  ComPtr<IMMDeviceEnumerator> enumerator;
  if (CreateDeviceEnumerator(enumerator) != S_OK) return 1;
  ComPtr<IMMDevice> device;
  const HRESULT found = enumerator->GetDevice(Mixer.CurrentDeviceId, device.put());
  enumerator.reset();
  if (found != S_OK) return 1;

  // Not examined: callers test the pointer.
  device->Activate(__uuidof(IDeviceTopology), CLSCTX_ALL, nullptr,
                   reinterpret_cast<void**>(topologyOut));
  const HRESULT activated = device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER,
                                             nullptr, reinterpret_cast<void**>(endpointVolumeOut));
  if (activated != S_OK) {
    // A success code other than S_OK still delivers an object; the slot stays empty.
    ReleaseSlot(*endpointVolumeOut);
    return 1;
  }
  return 0;
}
