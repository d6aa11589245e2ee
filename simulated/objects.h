// The simulated platform objects.
#pragma once

#include <vector>

#include "com_object.h"

namespace sim {

class DeviceEnumerator final : public ComObject<IMMDeviceEnumerator> {
 public:
  DeviceEnumerator() : ComObject("enumerator") {}
  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                               IMMDeviceCollection** ppDevices) override;
  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role,
                                                    IMMDevice** ppEndpoint) override;
  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice) override;
  HRESULT STDMETHODCALLTYPE
  RegisterEndpointNotificationCallback(IMMNotificationClient* pClient) override;
  HRESULT STDMETHODCALLTYPE
  UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient) override;
};

class DeviceCollection final : public ComObject<IMMDeviceCollection> {
 public:
  explicit DeviceCollection(std::vector<Endpoint*> endpoints)
      : ComObject("collection"), endpoints_(std::move(endpoints)) {}
  HRESULT STDMETHODCALLTYPE GetCount(UINT* pcDevices) override;
  HRESULT STDMETHODCALLTYPE Item(UINT nDevice, IMMDevice** ppDevice) override;

 private:
  std::vector<Endpoint*> endpoints_;
};

class Device final : public ComObject<IMMDevice> {
 public:
  explicit Device(Endpoint& endpoint) : ComObject(endpoint.key), endpoint_(endpoint) {}
  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD dwClsCtx, PROPVARIANT* pActivationParams,
                                     void** ppInterface) override;
  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD stgmAccess,
                                              IPropertyStore** ppProperties) override;
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* ppstrId) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD* pdwState) override;

 private:
  Endpoint& endpoint_;
};

class PropertyStore final : public ComObject<IPropertyStore> {
 public:
  explicit PropertyStore(Endpoint& endpoint)
      : ComObject(endpoint.key + ".properties"), endpoint_(endpoint) {}
  HRESULT STDMETHODCALLTYPE GetCount(DWORD* cProps) override;
  HRESULT STDMETHODCALLTYPE GetAt(DWORD iProp, PROPERTYKEY* pkey) override;
  HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* pv) override;
  HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY key, REFPROPVARIANT propvar) override;
  HRESULT STDMETHODCALLTYPE Commit() override;

 private:
  Endpoint& endpoint_;
};

// Keeps its levels and mute in the endpoint's model, so every activation sees
// what an earlier one wrote. The master level follows the loudest channel, and
// setting the master moves every channel to it.
class EndpointVolume final : public ComObject<IAudioEndpointVolume> {
 public:
  explicit EndpointVolume(Endpoint& endpoint)
      : ComObject(endpoint.key + ".volume"), model_(endpoint.volume) {}
  HRESULT STDMETHODCALLTYPE
  RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) override;
  HRESULT STDMETHODCALLTYPE
  UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) override;
  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pnChannelCount) override;
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float fLevelDB,
                                                 LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float fLevel,
                                                       LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float* pfLevelDB) override;
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float* pfLevel) override;
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT nChannel, float fLevelDB,
                                                  LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT nChannel, float fLevel,
                                                        LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT nChannel, float* pfLevelDB) override;
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT nChannel, float* pfLevel) override;
  HRESULT STDMETHODCALLTYPE SetMute(BOOL bMute, LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMute) override;
  HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount) override;
  HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* pdwHardwareSupportMask) override;
  HRESULT STDMETHODCALLTYPE GetVolumeRange(float* pflVolumeMindB, float* pflVolumeMaxdB,
                                           float* pflVolumeIncrementdB) override;

 private:
  bool InRange(float level) const { return level >= model_.minDb && level <= model_.maxDb; }
  void SetAllChannels(float level);
  UINT CurrentStep() const;
  EndpointVolumeModel& model_;
};

// An endpoint's own topology: one connector, which leads to the adapter.
class DeviceTopology final : public ComObject<IDeviceTopology> {
 public:
  explicit DeviceTopology(Endpoint& endpoint)
      : ComObject(endpoint.key + ".topology"), endpoint_(endpoint) {}
  HRESULT STDMETHODCALLTYPE GetConnectorCount(UINT* pCount) override;
  HRESULT STDMETHODCALLTYPE GetConnector(UINT nIndex, IConnector** ppConnector) override;
  HRESULT STDMETHODCALLTYPE GetSubunitCount(UINT* pCount) override;
  HRESULT STDMETHODCALLTYPE GetSubunit(UINT nIndex, ISubunit** ppSubunit) override;
  HRESULT STDMETHODCALLTYPE GetPartById(UINT nId, IPart** ppPart) override;
  HRESULT STDMETHODCALLTYPE GetDeviceId(LPWSTR* ppwstrDeviceId) override;
  HRESULT STDMETHODCALLTYPE GetSignalPath(IPart* pIPartFrom, IPart* pIPartTo,
                                          BOOL bRejectMixedPaths, IPartsList** ppParts) override;

 private:
  Endpoint& endpoint_;
};

class EndpointConnector final : public ComObject<IConnector> {
 public:
  explicit EndpointConnector(Endpoint& endpoint)
      : ComObject(endpoint.key + ".connector0"), endpoint_(endpoint) {}
  HRESULT STDMETHODCALLTYPE GetType(ConnectorType* pType) override;
  HRESULT STDMETHODCALLTYPE GetDataFlow(DataFlow* pFlow) override;
  HRESULT STDMETHODCALLTYPE ConnectTo(IConnector* pConnectTo) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE IsConnected(BOOL* pbConnected) override;
  HRESULT STDMETHODCALLTYPE GetConnectedTo(IConnector** ppConTo) override;
  HRESULT STDMETHODCALLTYPE GetConnectorIdConnectedTo(LPWSTR* ppwstrConnectorId) override;
  HRESULT STDMETHODCALLTYPE GetDeviceIdConnectedTo(LPWSTR* ppwstrDeviceId) override;

 private:
  Endpoint& endpoint_;
};

// A part of an adapter topology; connectors also answer for IConnector.
class PartObject final : public ComObject<IPart, IConnector> {
 public:
  explicit PartObject(Part& part) : ComObject(part.key), part_(part) {}
  // IPart
  HRESULT STDMETHODCALLTYPE GetName(LPWSTR* ppwstrName) override;
  HRESULT STDMETHODCALLTYPE GetLocalId(UINT* pnId) override;
  HRESULT STDMETHODCALLTYPE GetGlobalId(LPWSTR* ppwstrGlobalId) override;
  HRESULT STDMETHODCALLTYPE GetPartType(PartType* pPartType) override;
  HRESULT STDMETHODCALLTYPE GetSubType(GUID* pSubType) override;
  HRESULT STDMETHODCALLTYPE GetControlInterfaceCount(UINT* pCount) override;
  HRESULT STDMETHODCALLTYPE GetControlInterface(UINT nIndex,
                                                IControlInterface** ppInterfaceDesc) override;
  HRESULT STDMETHODCALLTYPE EnumPartsIncoming(IPartsList** ppParts) override;
  HRESULT STDMETHODCALLTYPE EnumPartsOutgoing(IPartsList** ppParts) override;
  HRESULT STDMETHODCALLTYPE VELMORA_PART_TOPOLOGY_METHOD(IDeviceTopology** ppTopology) override;
  HRESULT STDMETHODCALLTYPE Activate(DWORD dwClsContext, REFIID refiid, void** ppvObject) override;
  HRESULT STDMETHODCALLTYPE RegisterControlChangeCallback(REFGUID riid,
                                                          IControlChangeNotify* pNotify) override;
  HRESULT STDMETHODCALLTYPE UnregisterControlChangeCallback(IControlChangeNotify* pNotify) override;
  // IConnector
  HRESULT STDMETHODCALLTYPE GetType(ConnectorType* pType) override;
  HRESULT STDMETHODCALLTYPE GetDataFlow(DataFlow* pFlow) override;
  HRESULT STDMETHODCALLTYPE ConnectTo(IConnector* pConnectTo) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE IsConnected(BOOL* pbConnected) override;
  HRESULT STDMETHODCALLTYPE GetConnectedTo(IConnector** ppConTo) override;
  HRESULT STDMETHODCALLTYPE GetConnectorIdConnectedTo(LPWSTR* ppwstrConnectorId) override;
  HRESULT STDMETHODCALLTYPE GetDeviceIdConnectedTo(LPWSTR* ppwstrDeviceId) override;

 protected:
  void* FindInterface(REFIID riid) override;

 private:
  HRESULT EnumParts(const char* method, const char* suffix, const std::vector<Part*>& parts,
                    IPartsList** ppParts);
  Part& part_;
};

class PartsListObject final : public ComObject<IPartsList> {
 public:
  PartsListObject(std::string label, std::vector<Part*> parts)
      : ComObject(std::move(label)), parts_(std::move(parts)) {}
  HRESULT STDMETHODCALLTYPE GetCount(UINT* pCount) override;
  HRESULT STDMETHODCALLTYPE GetPart(UINT nIndex, IPart** ppPart) override;

 private:
  std::vector<Part*> parts_;
};

class AdapterTopology final : public ComObject<IDeviceTopology> {
 public:
  explicit AdapterTopology(Adapter& adapter) : ComObject(adapter.key), adapter_(adapter) {}
  HRESULT STDMETHODCALLTYPE GetConnectorCount(UINT* pCount) override;
  HRESULT STDMETHODCALLTYPE GetConnector(UINT nIndex, IConnector** ppConnector) override;
  HRESULT STDMETHODCALLTYPE GetSubunitCount(UINT* pCount) override;
  HRESULT STDMETHODCALLTYPE GetSubunit(UINT nIndex, ISubunit** ppSubunit) override;
  HRESULT STDMETHODCALLTYPE GetPartById(UINT nId, IPart** ppPart) override;
  HRESULT STDMETHODCALLTYPE GetDeviceId(LPWSTR* ppwstrDeviceId) override;
  HRESULT STDMETHODCALLTYPE GetSignalPath(IPart* pIPartFrom, IPart* pIPartTo,
                                          BOOL bRejectMixedPaths, IPartsList** ppParts) override;

 private:
  Adapter& adapter_;
};

// A per-channel decibel control. As documented, a level outside the range is
// clamped to it; a channel out of range is refused.
template <class Interface>
class LevelControlObject final : public ComObject<Interface> {
 public:
  LevelControlObject(std::string label, LevelControl& control)
      : ComObject<Interface>(std::move(label)), control_(control) {}
  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pcChannels) override;
  HRESULT STDMETHODCALLTYPE GetLevelRange(UINT nChannel, float* pfMinLevelDB, float* pfMaxLevelDB,
                                          float* pfStepping) override;
  HRESULT STDMETHODCALLTYPE GetLevel(UINT nChannel, float* pfLevelDB) override;
  HRESULT STDMETHODCALLTYPE SetLevel(UINT nChannel, float fLevelDB,
                                     LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE SetLevelUniform(float fLevelDB, LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE SetLevelAllChannels(float aLevelsDB[], ULONG cChannels,
                                                LPCGUID pguidEventContext) override;

 protected:
  void* FindInterface(REFIID riid) override {
    if (riid == __uuidof(IPerChannelDbLevel)) return static_cast<Interface*>(this);
    return ComObject<Interface>::FindInterface(riid);
  }

 private:
  LevelControl& control_;
};

class MuteObject final : public ComObject<IAudioMute> {
 public:
  MuteObject(std::string label, BOOL& muted) : ComObject(std::move(label)), muted_(muted) {}
  HRESULT STDMETHODCALLTYPE SetMute(BOOL bMuted, LPCGUID pguidEventContext) override;
  HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMuted) override;

 private:
  BOOL& muted_;
};

// An on/off control: IAudioAutoGainControl or IAudioLoudness.
template <class Interface>
class SwitchObject final : public ComObject<Interface> {
 public:
  SwitchObject(std::string label, BOOL& enabled)
      : ComObject<Interface>(std::move(label)), enabled_(enabled) {}
  HRESULT STDMETHODCALLTYPE GetEnabled(BOOL* pbEnabled) override;
  HRESULT STDMETHODCALLTYPE SetEnabled(BOOL bEnable, LPCGUID pguidEventContext) override;

 private:
  BOOL& enabled_;
};

DeviceEnumerator* MakeDeviceEnumerator();
// What the enumerator's class object creates, for CoCreateInstance on Linux and
// the class factory on Windows: an enumerator, asked for as IMMDeviceEnumerator
// or IUnknown; E_NOINTERFACE for anything else.
HRESULT CreateDeviceEnumerator(REFIID riid, void** object);

// A CoTaskMem copy of `text` for a string out-parameter; null when allocation fails.
WCHAR* CoTaskMemCopy(const std::u16string& text);

}  // namespace sim
