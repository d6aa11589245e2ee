// Listing the active playback and capture endpoints.
#include <algorithm>

#include "state/endpoint_lookup.h"
#include "state/mixer_state.h"

namespace {

// Fills `buffer` with the endpoint ID in the ANSI code page, cut to
// DeviceNameSize - 1 bytes when it is longer. False when it cannot be converted.
bool EndpointIdToAnsi(const WCHAR* id, char (&buffer)[DeviceNameSize]) {
  if (WideCharToMultiByte(CP_ACP, 0, id, -1, buffer, DeviceNameSize, nullptr, nullptr) > 0)
    return true;
  // Too long for the buffer: convert the longest leading part that fits.
  int units = static_cast<int>(std::min<std::size_t>(WideLength(id), DeviceNameSize - 1));
  for (; units > 0; --units) {
    const int written =
        WideCharToMultiByte(CP_ACP, 0, id, units, buffer, DeviceNameSize - 1, nullptr, nullptr);
    if (written > 0) {
      buffer[written] = 0;
      return true;
    }
  }
  return false;
}

int CountEndpoints(EDataFlow flow, unsigned int* count) {
  ComApartment com;
  ComPtr<IMMDeviceEnumerator> enumerator;
  if (CreateDeviceEnumerator(enumerator) != S_OK) return 1;
  ComPtr<IMMDeviceCollection> collection;
  if (enumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, collection.put()) != S_OK) return 1;
  UINT endpoints = 0;
  if (collection->GetCount(&endpoints) != S_OK) return 1;
  if (count != nullptr) *count = endpoints;
  return 0;
}

// 0 after writing both texts; -1 on failure; `outOfRange(count)` when `index`
// is not below the number of active endpoints.
template <class OutOfRange>
int DescribeEndpoint(EDataFlow flow, unsigned int index, char* friendlyName, char* endpointId,
                     OutOfRange outOfRange) {
  ComApartment com;
  ComPtr<IMMDeviceEnumerator> enumerator;
  if (CreateDeviceEnumerator(enumerator) != S_OK) return -1;
  ComPtr<IMMDeviceCollection> collection;
  const HRESULT listed =
      enumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, collection.put());
  enumerator.reset();
  if (listed != S_OK) return -1;
  UINT count = 0;
  if (collection->GetCount(&count) != S_OK) return -1;
  if (index >= count) return outOfRange(count);

  ComPtr<IMMDevice> device;
  const HRESULT fetched = collection->Item(index, device.put());
  collection.reset();
  if (fetched != S_OK) return -1;

  HeapText narrowName;
  {
    PropVariantValue nameValue;
    ReadFriendlyNameValue(device.get(), nameValue);
    if (!NarrowFriendlyName(nameValue.get(), narrowName)) return -1;
  }
  char narrowId[DeviceNameSize] = {};
  {
    CoTaskMemText id;
    if (device->GetId(id.put()) != S_OK) return -1;
    if (!EndpointIdToAnsi(id.get(), narrowId)) return -1;
  }
  CopyNameOut(friendlyName, narrowName.get());
  CopyNameOut(endpointId, narrowId);
  return 0;
}

}  // namespace

extern "C" {

int VELMORA_API GetNumberPlayDevices(unsigned int* count) { return CountEndpoints(eRender, count); }

int VELMORA_API GetNumberRecordDevices(unsigned int* count) {
  return CountEndpoints(eCapture, count);
}

int VELMORA_API GetPlayBackDevice(unsigned int index, char* friendlyName, char* endpointId) {
  return DescribeEndpoint(eRender, index, friendlyName, endpointId, [](UINT) { return -1; });
}

int VELMORA_API GetRecordDevice(unsigned int index, char* friendlyName, char* endpointId) {
  // The number of endpoints tells the host the index was out of range; with no
  // endpoint at all that number would be 0, the success value, so -1 is returned.
  return DescribeEndpoint(eCapture, index, friendlyName, endpointId,
                          [](UINT count) { return count == 0 ? -1 : static_cast<int>(count); });
}

}  // extern "C"
