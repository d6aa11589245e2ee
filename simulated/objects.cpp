#include "objects.h"

#ifdef _WIN32
#include <audioclient.h>  // AUDCLNT_E_DEVICE_INVALIDATED
#endif

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sim {

namespace {

CallRecord WithValue(std::int32_t value) {
  CallRecord args;
  args.value = value;
  return args;
}

CallRecord WithIndex(UINT index) {
  CallRecord args;
  args.index = index;
  return args;
}

CallRecord WithWrite(std::optional<UINT> channel, std::optional<float> level,
                     std::optional<std::int32_t> value, LPCGUID context) {
  CallRecord args;
  args.index = channel;
  args.level = level;
  args.value = value;
  args.nullContext = context == nullptr;
  return args;
}

// Stores a new object into a COM out-parameter.
template <class Interface, class Object, class... Args>
void MakeInto(Interface** out, Args&&... args) {
  *out = World::Get().Create<Object>(std::forward<Args>(args)...);
}

}  // namespace

WCHAR* CoTaskMemCopy(const std::u16string& text) {
  auto* copy =
      static_cast<WCHAR*>(World::Get().AllocateCoTaskMem((text.size() + 1) * sizeof(WCHAR)));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.data(), text.size() * sizeof(WCHAR));
  copy[text.size()] = 0;
  return copy;
}

DeviceEnumerator* MakeDeviceEnumerator() { return World::Get().Create<DeviceEnumerator>(); }

HRESULT CreateDeviceEnumerator(REFIID riid, void** object) {
  if (riid != __uuidof(IMMDeviceEnumerator) && riid != __uuidof(IUnknown)) return E_NOINTERFACE;
  *object = static_cast<IMMDeviceEnumerator*>(MakeDeviceEnumerator());
  return S_OK;
}

// --- IMMDeviceEnumerator ---

HRESULT DeviceEnumerator::EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                             IMMDeviceCollection** ppDevices) {
  const World::Call call = Begin("EnumAudioEndpoints", WithValue(dataFlow));
  if (ppDevices == nullptr) return Finish(call, E_POINTER);
  *ppDevices = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (dataFlow < eRender || dataFlow > eAll || (dwStateMask & ~DEVICE_STATEMASK_ALL) != 0)
    return Finish(call, E_INVALIDARG);
  std::vector<Endpoint*> listed;
  for (const auto& endpoint : World::Get().Endpoints())
    if ((dataFlow == eAll || endpoint->flow == dataFlow) && (endpoint->state & dwStateMask) != 0)
      listed.push_back(endpoint.get());
  MakeInto<IMMDeviceCollection, DeviceCollection>(ppDevices, std::move(listed));
  return Finish(call, S_OK);
}

HRESULT DeviceEnumerator::GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role,
                                                  IMMDevice** ppEndpoint) {
  const World::Call call = Begin("GetDefaultAudioEndpoint", WithValue(dataFlow));
  if (ppEndpoint == nullptr) return Finish(call, E_POINTER);
  *ppEndpoint = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (dataFlow != eRender && dataFlow != eCapture) return Finish(call, E_INVALIDARG);
  if (role < eConsole || role > eCommunications) return Finish(call, E_INVALIDARG);
  const std::string* key = World::Get().DefaultKey(dataFlow, role);
  Endpoint* endpoint = key != nullptr ? World::Get().FindEndpoint(*key) : nullptr;
  if (endpoint == nullptr || endpoint->state != DEVICE_STATE_ACTIVE)
    return Finish(call, E_NOTFOUND);
  MakeInto<IMMDevice, Device>(ppEndpoint, *endpoint);
  return Finish(call, S_OK);
}

HRESULT DeviceEnumerator::GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice) {
  CallRecord args;
  if (pwstrId != nullptr) args.text = FromWide(pwstrId);
  const World::Call call = Begin("GetDevice", args);
  if (ppDevice == nullptr || pwstrId == nullptr) return Finish(call, E_POINTER);
  *ppDevice = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  for (const auto& endpoint : World::Get().Endpoints())
    if (endpoint->id == FromWide(pwstrId)) {
      MakeInto<IMMDevice, Device>(ppDevice, *endpoint);
      return Finish(call, S_OK);
    }
  return Finish(call, E_NOTFOUND);
}

HRESULT DeviceEnumerator::RegisterEndpointNotificationCallback(IMMNotificationClient*) {
  return Finish(Begin("RegisterEndpointNotificationCallback"), E_NOTIMPL);
}

HRESULT DeviceEnumerator::UnregisterEndpointNotificationCallback(IMMNotificationClient*) {
  return Finish(Begin("UnregisterEndpointNotificationCallback"), E_NOTIMPL);
}

// --- IMMDeviceCollection ---

HRESULT DeviceCollection::GetCount(UINT* pcDevices) {
  const World::Call call = Begin("GetCount");
  if (pcDevices == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pcDevices = static_cast<UINT>(endpoints_.size());
  return Finish(call, S_OK);
}

HRESULT DeviceCollection::Item(UINT nDevice, IMMDevice** ppDevice) {
  const World::Call call = Begin("Item", WithIndex(nDevice));
  if (ppDevice == nullptr) return Finish(call, E_POINTER);
  *ppDevice = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (nDevice >= endpoints_.size()) return Finish(call, E_INVALIDARG);
  MakeInto<IMMDevice, Device>(ppDevice, *endpoints_[nDevice]);
  return Finish(call, S_OK);
}

// --- IMMDevice ---

HRESULT Device::Activate(REFIID iid, DWORD dwClsCtx, PROPVARIANT*, void** ppInterface) {
  CallRecord args = WithValue(static_cast<std::int32_t>(dwClsCtx));
  args.iid = iid;
  const World::Call call = Begin("Activate", args);
  if (ppInterface == nullptr) return Finish(call, E_POINTER);
  *ppInterface = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (endpoint_.state != DEVICE_STATE_ACTIVE) return Finish(call, AUDCLNT_E_DEVICE_INVALIDATED);
  if (iid == __uuidof(IAudioEndpointVolume)) {
    MakeInto<IAudioEndpointVolume, EndpointVolume>(
        reinterpret_cast<IAudioEndpointVolume**>(ppInterface), endpoint_);
    return Finish(call, S_OK);
  }
  if (iid == __uuidof(IDeviceTopology) && endpoint_.offersTopology) {
    MakeInto<IDeviceTopology, DeviceTopology>(reinterpret_cast<IDeviceTopology**>(ppInterface),
                                              endpoint_);
    return Finish(call, S_OK);
  }
  return Finish(call, E_NOINTERFACE);
}

HRESULT Device::OpenPropertyStore(DWORD stgmAccess, IPropertyStore** ppProperties) {
  const World::Call call = Begin("OpenPropertyStore", WithValue(static_cast<int>(stgmAccess)));
  if (ppProperties == nullptr) return Finish(call, E_POINTER);
  *ppProperties = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (stgmAccess > 2) return Finish(call, E_INVALIDARG);
  MakeInto<IPropertyStore, PropertyStore>(ppProperties, endpoint_);
  return Finish(call, S_OK);
}

HRESULT Device::GetId(LPWSTR* ppstrId) {
  const World::Call call = Begin("GetId");
  if (ppstrId == nullptr) return Finish(call, E_POINTER);
  *ppstrId = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  WCHAR* id = CoTaskMemCopy(endpoint_.id);
  if (id == nullptr) return Finish(call, E_OUTOFMEMORY);
  *ppstrId = id;
  return Finish(call, S_OK);
}

HRESULT Device::GetState(DWORD* pdwState) {
  const World::Call call = Begin("GetState");
  if (pdwState == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pdwState = endpoint_.state;
  return Finish(call, S_OK);
}

// --- IPropertyStore ---

HRESULT PropertyStore::GetCount(DWORD* cProps) {
  const World::Call call = Begin("GetCount");
  if (cProps == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *cProps = 1;
  return Finish(call, S_OK);
}

HRESULT PropertyStore::GetAt(DWORD iProp, PROPERTYKEY* pkey) {
  const World::Call call = Begin("GetAt", WithIndex(iProp));
  if (pkey == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (iProp != 0) return Finish(call, E_INVALIDARG);
  *pkey = PKEY_Device_FriendlyName;
  return Finish(call, S_OK);
}

HRESULT PropertyStore::GetValue(REFPROPERTYKEY key, PROPVARIANT* pv) {
  const World::Call call = Begin("GetValue");
  if (pv == nullptr) return Finish(call, E_POINTER);
  PropVariantInit(pv);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (!(key == PKEY_Device_FriendlyName)) return Finish(call, S_OK);  // an empty value
  switch (endpoint_.nameKind) {
    case NameKind::Text: {
      WCHAR* name = CoTaskMemCopy(endpoint_.friendlyName);
      if (name == nullptr) return Finish(call, E_OUTOFMEMORY);
      pv->vt = VT_LPWSTR;
      pv->pwszVal = name;
      break;
    }
    case NameKind::Empty:
      break;
    case NameKind::NullText:
      pv->vt = VT_LPWSTR;
      pv->pwszVal = nullptr;
      break;
    case NameKind::OtherType:
      pv->vt = VT_UI4;
      pv->ulVal = 42;
      break;
  }
  return Finish(call, S_OK);
}

HRESULT PropertyStore::SetValue(REFPROPERTYKEY, REFPROPVARIANT) {
  constexpr auto kAccessDenied = static_cast<HRESULT>(0x80030005u);  // opened for reading
  return Finish(Begin("SetValue"), kAccessDenied);
}

HRESULT PropertyStore::Commit() {
  constexpr auto kAccessDenied = static_cast<HRESULT>(0x80030005u);
  return Finish(Begin("Commit"), kAccessDenied);
}

// --- IAudioEndpointVolume ---

HRESULT EndpointVolume::RegisterControlChangeNotify(IAudioEndpointVolumeCallback*) {
  return Finish(Begin("RegisterControlChangeNotify"), E_NOTIMPL);
}

HRESULT EndpointVolume::UnregisterControlChangeNotify(IAudioEndpointVolumeCallback*) {
  return Finish(Begin("UnregisterControlChangeNotify"), E_NOTIMPL);
}

HRESULT EndpointVolume::GetChannelCount(UINT* pnChannelCount) {
  const World::Call call = Begin("GetChannelCount");
  if (pnChannelCount == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pnChannelCount = model_.channelCount;
  return Finish(call, S_OK);
}

void EndpointVolume::SetAllChannels(float level) {
  model_.masterDb = level;
  std::fill(model_.channelDb.begin(), model_.channelDb.end(), level);
}

HRESULT EndpointVolume::SetMasterVolumeLevel(float fLevelDB, LPCGUID pguidEventContext) {
  const World::Call call =
      Begin("SetMasterVolumeLevel", WithWrite({}, fLevelDB, {}, pguidEventContext));
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (!InRange(fLevelDB)) return Finish(call, E_INVALIDARG);
  SetAllChannels(fLevelDB);
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::SetMasterVolumeLevelScalar(float fLevel, LPCGUID pguidEventContext) {
  return Finish(Begin("SetMasterVolumeLevelScalar", WithWrite({}, fLevel, {}, pguidEventContext)),
                E_NOTIMPL);
}

HRESULT EndpointVolume::GetMasterVolumeLevel(float* pfLevelDB) {
  const World::Call call = Begin("GetMasterVolumeLevel");
  if (pfLevelDB == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pfLevelDB = model_.masterDb;
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::GetMasterVolumeLevelScalar(float*) {
  return Finish(Begin("GetMasterVolumeLevelScalar"), E_NOTIMPL);
}

HRESULT EndpointVolume::SetChannelVolumeLevel(UINT nChannel, float fLevelDB,
                                              LPCGUID pguidEventContext) {
  const World::Call call =
      Begin("SetChannelVolumeLevel", WithWrite(nChannel, fLevelDB, {}, pguidEventContext));
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (nChannel >= model_.channelCount || !InRange(fLevelDB)) return Finish(call, E_INVALIDARG);
  model_.channelDb[nChannel] = fLevelDB;
  model_.masterDb = *std::max_element(model_.channelDb.begin(), model_.channelDb.end());
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::SetChannelVolumeLevelScalar(UINT nChannel, float fLevel,
                                                    LPCGUID pguidEventContext) {
  return Finish(
      Begin("SetChannelVolumeLevelScalar", WithWrite(nChannel, fLevel, {}, pguidEventContext)),
      E_NOTIMPL);
}

HRESULT EndpointVolume::GetChannelVolumeLevel(UINT nChannel, float* pfLevelDB) {
  const World::Call call = Begin("GetChannelVolumeLevel", WithIndex(nChannel));
  if (pfLevelDB == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (nChannel >= model_.channelCount) return Finish(call, E_INVALIDARG);
  *pfLevelDB = model_.channelDb[nChannel];
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::GetChannelVolumeLevelScalar(UINT nChannel, float*) {
  return Finish(Begin("GetChannelVolumeLevelScalar", WithIndex(nChannel)), E_NOTIMPL);
}

HRESULT EndpointVolume::SetMute(BOOL bMute, LPCGUID pguidEventContext) {
  const World::Call call = Begin("SetMute", WithWrite({}, {}, bMute, pguidEventContext));
  if (FailsEarly(call)) return Finish(call, *call.injected);
  // As documented: S_FALSE when the state does not change.
  if ((bMute != FALSE) == (model_.mute != FALSE)) return Finish(call, S_FALSE);
  model_.mute = bMute;
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::GetMute(BOOL* pbMute) {
  const World::Call call = Begin("GetMute");
  if (pbMute == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pbMute = model_.mute;
  return Finish(call, S_OK);
}

UINT EndpointVolume::CurrentStep() const {
  return static_cast<UINT>(std::lround((model_.masterDb - model_.minDb) / model_.stepDb));
}

HRESULT EndpointVolume::GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount) {
  const World::Call call = Begin("GetVolumeStepInfo");
  if (pnStep == nullptr || pnStepCount == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pnStep = CurrentStep();
  *pnStepCount = static_cast<UINT>(std::lround((model_.maxDb - model_.minDb) / model_.stepDb)) + 1;
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::VolumeStepUp(LPCGUID pguidEventContext) {
  const World::Call call = Begin("VolumeStepUp", WithWrite({}, {}, {}, pguidEventContext));
  if (FailsEarly(call)) return Finish(call, *call.injected);
  SetAllChannels(std::min(model_.maxDb, model_.minDb + (CurrentStep() + 1) * model_.stepDb));
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::VolumeStepDown(LPCGUID pguidEventContext) {
  const World::Call call = Begin("VolumeStepDown", WithWrite({}, {}, {}, pguidEventContext));
  if (FailsEarly(call)) return Finish(call, *call.injected);
  const UINT step = CurrentStep();
  SetAllChannels(model_.minDb + (step == 0 ? 0 : step - 1) * model_.stepDb);
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::QueryHardwareSupport(DWORD* pdwHardwareSupportMask) {
  const World::Call call = Begin("QueryHardwareSupport");
  if (pdwHardwareSupportMask == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pdwHardwareSupportMask = 0;  // everything is done in software
  return Finish(call, S_OK);
}

HRESULT EndpointVolume::GetVolumeRange(float* pflVolumeMindB, float* pflVolumeMaxdB,
                                       float* pflVolumeIncrementdB) {
  const World::Call call = Begin("GetVolumeRange");
  if (pflVolumeMindB == nullptr || pflVolumeMaxdB == nullptr || pflVolumeIncrementdB == nullptr)
    return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pflVolumeMindB = model_.minDb;
  *pflVolumeMaxdB = model_.maxDb;
  *pflVolumeIncrementdB = model_.stepDb;
  return Finish(call, S_OK);
}

// --- IDeviceTopology of an endpoint ---

HRESULT DeviceTopology::GetConnectorCount(UINT* pCount) {
  const World::Call call = Begin("GetConnectorCount");
  if (pCount == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pCount = 1;
  return Finish(call, S_OK);
}

HRESULT DeviceTopology::GetConnector(UINT nIndex, IConnector** ppConnector) {
  const World::Call call = Begin("GetConnector", WithIndex(nIndex));
  if (ppConnector == nullptr) return Finish(call, E_POINTER);
  *ppConnector = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (nIndex != 0) return Finish(call, E_INVALIDARG);
  MakeInto<IConnector, EndpointConnector>(ppConnector, endpoint_);
  return Finish(call, S_OK);
}

HRESULT DeviceTopology::GetSubunitCount(UINT* pCount) {
  const World::Call call = Begin("GetSubunitCount");
  if (pCount == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pCount = 0;
  return Finish(call, S_OK);
}

HRESULT DeviceTopology::GetSubunit(UINT nIndex, ISubunit** ppSubunit) {
  const World::Call call = Begin("GetSubunit", WithIndex(nIndex));
  if (ppSubunit != nullptr) *ppSubunit = nullptr;
  return Finish(call, E_INVALIDARG);
}

HRESULT DeviceTopology::GetPartById(UINT nId, IPart** ppPart) {
  const World::Call call = Begin("GetPartById", WithIndex(nId));
  if (ppPart != nullptr) *ppPart = nullptr;
  return Finish(call, E_INVALIDARG);
}

HRESULT DeviceTopology::GetDeviceId(LPWSTR* ppwstrDeviceId) {
  const World::Call call = Begin("GetDeviceId");
  if (ppwstrDeviceId == nullptr) return Finish(call, E_POINTER);
  *ppwstrDeviceId = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  WCHAR* id = CoTaskMemCopy(endpoint_.id);
  if (id == nullptr) return Finish(call, E_OUTOFMEMORY);
  *ppwstrDeviceId = id;
  return Finish(call, S_OK);
}

HRESULT DeviceTopology::GetSignalPath(IPart*, IPart*, BOOL, IPartsList** ppParts) {
  if (ppParts != nullptr) *ppParts = nullptr;
  return Finish(Begin("GetSignalPath"), E_NOTIMPL);
}

// --- IConnector of an endpoint ---

HRESULT EndpointConnector::GetType(ConnectorType* pType) {
  const World::Call call = Begin("GetType");
  if (pType == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pType = Software_Fixed;
  return Finish(call, S_OK);
}

HRESULT EndpointConnector::GetDataFlow(DataFlow* pFlow) {
  const World::Call call = Begin("GetDataFlow");
  if (pFlow == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pFlow = In;
  return Finish(call, S_OK);
}

HRESULT EndpointConnector::ConnectTo(IConnector*) { return Finish(Begin("ConnectTo"), E_NOTIMPL); }

HRESULT EndpointConnector::Disconnect() { return Finish(Begin("Disconnect"), E_NOTIMPL); }

HRESULT EndpointConnector::IsConnected(BOOL* pbConnected) {
  const World::Call call = Begin("IsConnected");
  if (pbConnected == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pbConnected = endpoint_.connectedTo != nullptr;
  return Finish(call, S_OK);
}

// Without an adapter the platform answers E_NOTFOUND.
HRESULT EndpointConnector::GetConnectedTo(IConnector** ppConTo) {
  const World::Call call = Begin("GetConnectedTo");
  if (ppConTo == nullptr) return Finish(call, E_POINTER);
  *ppConTo = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (endpoint_.connectedTo == nullptr) return Finish(call, E_NOTFOUND);
  MakeInto<IConnector, PartObject>(ppConTo, *endpoint_.connectedTo);
  return Finish(call, S_OK);
}

HRESULT EndpointConnector::GetConnectorIdConnectedTo(LPWSTR* ppwstrConnectorId) {
  if (ppwstrConnectorId != nullptr) *ppwstrConnectorId = nullptr;
  return Finish(Begin("GetConnectorIdConnectedTo"), E_NOTFOUND);
}

HRESULT EndpointConnector::GetDeviceIdConnectedTo(LPWSTR* ppwstrDeviceId) {
  if (ppwstrDeviceId != nullptr) *ppwstrDeviceId = nullptr;
  return Finish(Begin("GetDeviceIdConnectedTo"), E_NOTFOUND);
}

// --- IPart and IConnector of an adapter part ---

void* PartObject::FindInterface(REFIID riid) {
  if (riid == __uuidof(IConnector) && part_.type != PartType::Connector) return nullptr;
  return ComObject::FindInterface(riid);
}

HRESULT PartObject::GetName(LPWSTR* ppwstrName) {
  const World::Call call = Begin("GetName");
  if (ppwstrName == nullptr) return Finish(call, E_POINTER);
  *ppwstrName = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  WCHAR* name = CoTaskMemCopy(part_.name);
  if (name == nullptr) return Finish(call, E_OUTOFMEMORY);
  *ppwstrName = name;
  return Finish(call, S_OK);
}

HRESULT PartObject::GetLocalId(UINT* pnId) {
  const World::Call call = Begin("GetLocalId");
  if (pnId == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  UINT id = 0;
  while (part_.adapter->parts[id].get() != &part_) ++id;
  *pnId = id;
  return Finish(call, S_OK);
}

HRESULT PartObject::GetGlobalId(LPWSTR* ppwstrGlobalId) {
  if (ppwstrGlobalId != nullptr) *ppwstrGlobalId = nullptr;
  return Finish(Begin("GetGlobalId"), E_NOTIMPL);
}

HRESULT PartObject::GetPartType(PartType* pPartType) {
  const World::Call call = Begin("GetPartType");
  if (pPartType == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pPartType = part_.type;
  return Finish(call, S_OK);
}

HRESULT PartObject::GetSubType(GUID*) { return Finish(Begin("GetSubType"), E_NOTIMPL); }

HRESULT PartObject::GetControlInterfaceCount(UINT*) {
  return Finish(Begin("GetControlInterfaceCount"), E_NOTIMPL);
}

HRESULT PartObject::GetControlInterface(UINT nIndex, IControlInterface** ppInterfaceDesc) {
  if (ppInterfaceDesc != nullptr) *ppInterfaceDesc = nullptr;
  return Finish(Begin("GetControlInterface", WithIndex(nIndex)), E_NOTIMPL);
}

HRESULT PartObject::EnumParts(const char* method, const char* suffix,
                              const std::vector<Part*>& parts, IPartsList** ppParts) {
  const World::Call call = Begin(method);
  if (ppParts == nullptr) return Finish(call, E_POINTER);
  *ppParts = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  // As documented: a part with no links in this direction answers E_NOTFOUND.
  if (parts.empty()) return Finish(call, E_NOTFOUND);
  MakeInto<IPartsList, PartsListObject>(ppParts, part_.key + suffix, parts);
  return Finish(call, S_OK);
}

HRESULT PartObject::EnumPartsIncoming(IPartsList** ppParts) {
  return EnumParts("EnumPartsIncoming", ".incoming", part_.incoming, ppParts);
}

HRESULT PartObject::EnumPartsOutgoing(IPartsList** ppParts) {
  return EnumParts("EnumPartsOutgoing", ".outgoing", part_.outgoing, ppParts);
}

HRESULT PartObject::VELMORA_PART_TOPOLOGY_METHOD(IDeviceTopology** ppTopology) {
  const World::Call call = Begin("GetTopologyObject");
  if (ppTopology == nullptr) return Finish(call, E_POINTER);
  *ppTopology = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  MakeInto<IDeviceTopology, AdapterTopology>(ppTopology, *part_.adapter);
  return Finish(call, S_OK);
}

HRESULT PartObject::Activate(DWORD dwClsContext, REFIID refiid, void** ppvObject) {
  CallRecord args = WithValue(static_cast<std::int32_t>(dwClsContext));
  args.iid = refiid;
  const World::Call call = Begin("Activate", args);
  if (ppvObject == nullptr) return Finish(call, E_POINTER);
  *ppvObject = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  World& world = World::Get();
  const std::string& key = part_.key;
  void* made = nullptr;
  if (refiid == __uuidof(IAudioVolumeLevel) && part_.volume)
    made = static_cast<IAudioVolumeLevel*>(
        world.Create<LevelControlObject<IAudioVolumeLevel>>(key + ".volume", *part_.volume));
  else if (refiid == __uuidof(IAudioBass) && part_.bass)
    made = static_cast<IAudioBass*>(
        world.Create<LevelControlObject<IAudioBass>>(key + ".bass", *part_.bass));
  else if (refiid == __uuidof(IAudioTreble) && part_.treble)
    made = static_cast<IAudioTreble*>(
        world.Create<LevelControlObject<IAudioTreble>>(key + ".treble", *part_.treble));
  else if (refiid == __uuidof(IAudioMidrange) && part_.midrange)
    made = static_cast<IAudioMidrange*>(
        world.Create<LevelControlObject<IAudioMidrange>>(key + ".midrange", *part_.midrange));
  else if (refiid == __uuidof(IAudioMute) && part_.mute)
    made = static_cast<IAudioMute*>(world.Create<MuteObject>(key + ".mute", *part_.mute));
  else if (refiid == __uuidof(IAudioAutoGainControl) && part_.autoGain)
    made = static_cast<IAudioAutoGainControl*>(
        world.Create<SwitchObject<IAudioAutoGainControl>>(key + ".agc", *part_.autoGain));
  else if (refiid == __uuidof(IAudioLoudness) && part_.loudness)
    made = static_cast<IAudioLoudness*>(
        world.Create<SwitchObject<IAudioLoudness>>(key + ".loudness", *part_.loudness));
  // As documented: a part that is not this kind of control answers E_NOINTERFACE.
  if (made == nullptr) return Finish(call, E_NOINTERFACE);
  *ppvObject = made;
  return Finish(call, S_OK);
}

HRESULT PartObject::RegisterControlChangeCallback(REFGUID, IControlChangeNotify*) {
  return Finish(Begin("RegisterControlChangeCallback"), E_NOTIMPL);
}

HRESULT PartObject::UnregisterControlChangeCallback(IControlChangeNotify*) {
  return Finish(Begin("UnregisterControlChangeCallback"), E_NOTIMPL);
}

HRESULT PartObject::GetType(ConnectorType* pType) {
  const World::Call call = Begin("GetType");
  if (pType == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pType = Physical_External;
  return Finish(call, S_OK);
}

HRESULT PartObject::GetDataFlow(DataFlow* pFlow) {
  const World::Call call = Begin("GetDataFlow");
  if (pFlow == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pFlow = part_.outgoing.empty() ? Out : In;  // a signal leaves, or enters, through it
  return Finish(call, S_OK);
}

HRESULT PartObject::ConnectTo(IConnector*) { return Finish(Begin("ConnectTo"), E_NOTIMPL); }

HRESULT PartObject::Disconnect() { return Finish(Begin("Disconnect"), E_NOTIMPL); }

HRESULT PartObject::IsConnected(BOOL* pbConnected) {
  const World::Call call = Begin("IsConnected");
  if (pbConnected == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pbConnected = FALSE;
  return Finish(call, S_OK);
}

HRESULT PartObject::GetConnectedTo(IConnector** ppConTo) {
  if (ppConTo != nullptr) *ppConTo = nullptr;
  return Finish(Begin("GetConnectedTo"), E_NOTFOUND);
}

HRESULT PartObject::GetConnectorIdConnectedTo(LPWSTR* ppwstrConnectorId) {
  if (ppwstrConnectorId != nullptr) *ppwstrConnectorId = nullptr;
  return Finish(Begin("GetConnectorIdConnectedTo"), E_NOTFOUND);
}

HRESULT PartObject::GetDeviceIdConnectedTo(LPWSTR* ppwstrDeviceId) {
  if (ppwstrDeviceId != nullptr) *ppwstrDeviceId = nullptr;
  return Finish(Begin("GetDeviceIdConnectedTo"), E_NOTFOUND);
}

// --- IPartsList ---

HRESULT PartsListObject::GetCount(UINT* pCount) {
  const World::Call call = Begin("GetCount");
  if (pCount == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pCount = static_cast<UINT>(parts_.size());
  return Finish(call, S_OK);
}

HRESULT PartsListObject::GetPart(UINT nIndex, IPart** ppPart) {
  const World::Call call = Begin("GetPart", WithIndex(nIndex));
  if (ppPart == nullptr) return Finish(call, E_POINTER);
  *ppPart = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (nIndex >= parts_.size()) return Finish(call, E_INVALIDARG);
  MakeInto<IPart, PartObject>(ppPart, *parts_[nIndex]);
  return Finish(call, S_OK);
}

// --- IDeviceTopology of an adapter ---

HRESULT AdapterTopology::GetConnectorCount(UINT* pCount) {
  const World::Call call = Begin("GetConnectorCount");
  if (pCount == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pCount = static_cast<UINT>(adapter_.connectors.size());
  return Finish(call, S_OK);
}

HRESULT AdapterTopology::GetConnector(UINT nIndex, IConnector** ppConnector) {
  const World::Call call = Begin("GetConnector", WithIndex(nIndex));
  if (ppConnector == nullptr) return Finish(call, E_POINTER);
  *ppConnector = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (nIndex >= adapter_.connectors.size()) return Finish(call, E_INVALIDARG);
  MakeInto<IConnector, PartObject>(ppConnector, *adapter_.connectors[nIndex]);
  return Finish(call, S_OK);
}

HRESULT AdapterTopology::GetSubunitCount(UINT* pCount) {
  const World::Call call = Begin("GetSubunitCount");
  if (pCount == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pCount = static_cast<UINT>(adapter_.parts.size() - adapter_.connectors.size());
  return Finish(call, S_OK);
}

HRESULT AdapterTopology::GetSubunit(UINT nIndex, ISubunit** ppSubunit) {
  if (ppSubunit != nullptr) *ppSubunit = nullptr;
  return Finish(Begin("GetSubunit", WithIndex(nIndex)), E_NOTIMPL);
}

HRESULT AdapterTopology::GetPartById(UINT nId, IPart** ppPart) {
  const World::Call call = Begin("GetPartById", WithIndex(nId));
  if (ppPart == nullptr) return Finish(call, E_POINTER);
  *ppPart = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  if (nId >= adapter_.parts.size()) return Finish(call, E_INVALIDARG);
  MakeInto<IPart, PartObject>(ppPart, *adapter_.parts[nId]);
  return Finish(call, S_OK);
}

HRESULT AdapterTopology::GetDeviceId(LPWSTR* ppwstrDeviceId) {
  const World::Call call = Begin("GetDeviceId");
  if (ppwstrDeviceId == nullptr) return Finish(call, E_POINTER);
  *ppwstrDeviceId = nullptr;
  if (FailsEarly(call)) return Finish(call, *call.injected);
  WCHAR* id = CoTaskMemCopy(adapter_.deviceId);
  if (id == nullptr) return Finish(call, E_OUTOFMEMORY);
  *ppwstrDeviceId = id;
  return Finish(call, S_OK);
}

HRESULT AdapterTopology::GetSignalPath(IPart*, IPart*, BOOL, IPartsList** ppParts) {
  if (ppParts != nullptr) *ppParts = nullptr;
  return Finish(Begin("GetSignalPath"), E_NOTIMPL);
}

// --- per-channel decibel controls ---

template <class Interface>
HRESULT LevelControlObject<Interface>::GetChannelCount(UINT* pcChannels) {
  const World::Call call = this->Begin("GetChannelCount");
  if (pcChannels == nullptr) return this->Finish(call, E_POINTER);
  if (this->FailsEarly(call)) return this->Finish(call, *call.injected);
  *pcChannels = static_cast<UINT>(control_.channels.size());
  return this->Finish(call, S_OK);
}

template <class Interface>
HRESULT LevelControlObject<Interface>::GetLevelRange(UINT nChannel, float* pfMinLevelDB,
                                                     float* pfMaxLevelDB, float* pfStepping) {
  const World::Call call = this->Begin("GetLevelRange", WithIndex(nChannel));
  if (pfMinLevelDB == nullptr || pfMaxLevelDB == nullptr || pfStepping == nullptr)
    return this->Finish(call, E_POINTER);
  if (this->FailsEarly(call)) return this->Finish(call, *call.injected);
  if (nChannel >= control_.channels.size()) return this->Finish(call, E_INVALIDARG);
  const ChannelLevel& channel = control_.channels[nChannel];
  *pfMinLevelDB = channel.minDb;
  *pfMaxLevelDB = channel.maxDb;
  *pfStepping = channel.stepDb;
  return this->Finish(call, S_OK);
}

template <class Interface>
HRESULT LevelControlObject<Interface>::GetLevel(UINT nChannel, float* pfLevelDB) {
  const World::Call call = this->Begin("GetLevel", WithIndex(nChannel));
  if (pfLevelDB == nullptr) return this->Finish(call, E_POINTER);
  if (this->FailsEarly(call)) return this->Finish(call, *call.injected);
  if (nChannel >= control_.channels.size()) return this->Finish(call, E_INVALIDARG);
  *pfLevelDB = control_.channels[nChannel].levelDb;
  return this->Finish(call, S_OK);
}

template <class Interface>
HRESULT LevelControlObject<Interface>::SetLevel(UINT nChannel, float fLevelDB,
                                                LPCGUID pguidEventContext) {
  const World::Call call =
      this->Begin("SetLevel", WithWrite(nChannel, fLevelDB, {}, pguidEventContext));
  if (this->FailsEarly(call)) return this->Finish(call, *call.injected);
  if (nChannel >= control_.channels.size() || std::isnan(fLevelDB))
    return this->Finish(call, E_INVALIDARG);
  ChannelLevel& channel = control_.channels[nChannel];
  channel.levelDb = std::clamp(fLevelDB, channel.minDb, channel.maxDb);
  return this->Finish(call, S_OK);
}

template <class Interface>
HRESULT LevelControlObject<Interface>::SetLevelUniform(float fLevelDB, LPCGUID pguidEventContext) {
  return this->Finish(
      this->Begin("SetLevelUniform", WithWrite({}, fLevelDB, {}, pguidEventContext)), E_NOTIMPL);
}

template <class Interface>
HRESULT LevelControlObject<Interface>::SetLevelAllChannels(float*, ULONG cChannels,
                                                           LPCGUID pguidEventContext) {
  return this->Finish(
      this->Begin("SetLevelAllChannels", WithWrite(cChannels, {}, {}, pguidEventContext)),
      E_NOTIMPL);
}

template class LevelControlObject<IAudioVolumeLevel>;
template class LevelControlObject<IAudioBass>;
template class LevelControlObject<IAudioTreble>;
template class LevelControlObject<IAudioMidrange>;

// --- mute and on/off switches ---

HRESULT MuteObject::SetMute(BOOL bMuted, LPCGUID pguidEventContext) {
  const World::Call call = Begin("SetMute", WithWrite({}, {}, bMuted, pguidEventContext));
  if (FailsEarly(call)) return Finish(call, *call.injected);
  muted_ = bMuted;
  return Finish(call, S_OK);
}

HRESULT MuteObject::GetMute(BOOL* pbMuted) {
  const World::Call call = Begin("GetMute");
  if (pbMuted == nullptr) return Finish(call, E_POINTER);
  if (FailsEarly(call)) return Finish(call, *call.injected);
  *pbMuted = muted_;
  return Finish(call, S_OK);
}

template <class Interface>
HRESULT SwitchObject<Interface>::GetEnabled(BOOL* pbEnabled) {
  const World::Call call = this->Begin("GetEnabled");
  if (pbEnabled == nullptr) return this->Finish(call, E_POINTER);
  if (this->FailsEarly(call)) return this->Finish(call, *call.injected);
  *pbEnabled = enabled_;
  return this->Finish(call, S_OK);
}

template <class Interface>
HRESULT SwitchObject<Interface>::SetEnabled(BOOL bEnable, LPCGUID pguidEventContext) {
  const World::Call call = this->Begin("SetEnabled", WithWrite({}, {}, bEnable, pguidEventContext));
  if (this->FailsEarly(call)) return this->Finish(call, *call.injected);
  enabled_ = bEnable;
  return this->Finish(call, S_OK);
}

template class SwitchObject<IAudioAutoGainControl>;
template class SwitchObject<IAudioLoudness>;

}  // namespace sim
