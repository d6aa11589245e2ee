// Core Audio interfaces (MMDevice, DeviceTopology, EndpointVolume) declared from
// the platform's documentation for builds without the Windows SDK: the same
// interface and method names, parameter lists, slot order and IIDs.
#pragma once

#include "com_types.h"

enum EDataFlow { eRender = 0, eCapture = 1, eAll = 2, EDataFlow_enum_count = 3 };
enum ERole { eConsole = 0, eMultimedia = 1, eCommunications = 2, ERole_enum_count = 3 };

constexpr DWORD DEVICE_STATE_ACTIVE = 0x1;
constexpr DWORD DEVICE_STATE_DISABLED = 0x2;
constexpr DWORD DEVICE_STATE_NOTPRESENT = 0x4;
constexpr DWORD DEVICE_STATE_UNPLUGGED = 0x8;
constexpr DWORD DEVICE_STATEMASK_ALL = 0xF;

enum ConnectorType {
  Unknown_Connector = 0,
  Physical_Internal = 1,
  Physical_External = 2,
  Software_IO = 3,
  Software_Fixed = 4,
  Network = 5
};
enum DataFlow { In = 0, Out = 1 };
enum PartType { Connector = 0, Subunit = 1 };

// {a45c254e-df1c-4efd-8020-67d146a850e0}, 14
inline constexpr PROPERTYKEY PKEY_Device_FriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};

VELMORA_DECLARE_IID(MMDeviceEnumerator, 0xBCDE0395, 0xE52F, 0x467C, 0x8E, 0x3D, 0xC4, 0x57, 0x92,
                    0x91, 0x69, 0x2E)
VELMORA_DECLARE_IID(IMMDeviceEnumerator, 0xA95664D2, 0x9614, 0x4F35, 0xA7, 0x46, 0xDE, 0x8D, 0xB6,
                    0x36, 0x17, 0xE6)
VELMORA_DECLARE_IID(IMMDeviceCollection, 0x0BD7A1BE, 0x7A1A, 0x44DB, 0x83, 0x97, 0xCC, 0x53, 0x92,
                    0x38, 0x7B, 0x5E)
VELMORA_DECLARE_IID(IMMDevice, 0xD666063F, 0x1587, 0x4E43, 0x81, 0xF1, 0xB9, 0x48, 0xE8, 0x07, 0x36,
                    0x3F)
VELMORA_DECLARE_IID(IMMNotificationClient, 0x7991EEC9, 0x7E89, 0x4D85, 0x83, 0x90, 0x6C, 0x70, 0x3C,
                    0xEC, 0x60, 0xC0)
VELMORA_DECLARE_IID(IPropertyStore, 0x886D8EEB, 0x8CF2, 0x4446, 0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD,
                    0xCF, 0x99)
VELMORA_DECLARE_IID(IAudioEndpointVolume, 0x5CDF2C82, 0x841E, 0x4546, 0x97, 0x22, 0x0C, 0xF7, 0x40,
                    0x78, 0x22, 0x9A)
VELMORA_DECLARE_IID(IAudioEndpointVolumeCallback, 0x657804FA, 0xD6AD, 0x4496, 0x8A, 0x60, 0x35,
                    0x27, 0x52, 0xAF, 0x4F, 0x89)
VELMORA_DECLARE_IID(IDeviceTopology, 0x2A07407E, 0x6497, 0x4A18, 0x97, 0x87, 0x32, 0xF7, 0x9B, 0xD0,
                    0xD9, 0x8F)
VELMORA_DECLARE_IID(IConnector, 0x9C2C4058, 0x23F5, 0x41DE, 0x87, 0x7A, 0xDF, 0x3A, 0xF2, 0x36,
                    0xA0, 0x9E)
VELMORA_DECLARE_IID(ISubunit, 0x82149A85, 0xDBA6, 0x4487, 0x86, 0xBB, 0xEA, 0x8F, 0x7F, 0xEF, 0xCC,
                    0x71)
VELMORA_DECLARE_IID(IPart, 0xAE2DE0E4, 0x5BCA, 0x4F2D, 0xAA, 0x46, 0x5D, 0x13, 0xF8, 0xFD, 0xB3,
                    0xA9)
VELMORA_DECLARE_IID(IPartsList, 0x6DAA848C, 0x5EB0, 0x45CC, 0xAE, 0xA5, 0x99, 0x8A, 0x2C, 0xDA,
                    0x1F, 0xFB)
VELMORA_DECLARE_IID(IControlInterface, 0x45D37C3F, 0x5140, 0x444A, 0xAE, 0x24, 0x40, 0x07, 0x89,
                    0xF3, 0xCB, 0xF3)
VELMORA_DECLARE_IID(IControlChangeNotify, 0xA09513ED, 0xC709, 0x4D21, 0xBD, 0x7B, 0x5F, 0x34, 0xC4,
                    0x7F, 0x39, 0x47)
VELMORA_DECLARE_IID(IPerChannelDbLevel, 0xC2F8E001, 0xF205, 0x4BC9, 0x99, 0xBC, 0xC1, 0x3B, 0x1E,
                    0x04, 0x8C, 0xCB)
VELMORA_DECLARE_IID(IAudioVolumeLevel, 0x7FB7B48F, 0x531D, 0x44A2, 0xBC, 0xB3, 0x5A, 0xD5, 0xA1,
                    0x34, 0xB3, 0xDC)
VELMORA_DECLARE_IID(IAudioBass, 0xA2B1A1D9, 0x4DB3, 0x425D, 0xA2, 0xB2, 0xBD, 0x33, 0x5C, 0xB3,
                    0xE2, 0xE5)
VELMORA_DECLARE_IID(IAudioTreble, 0x0A717812, 0x694E, 0x4907, 0xB7, 0x4B, 0xBA, 0xFA, 0x5C, 0xFD,
                    0xCA, 0x7B)
VELMORA_DECLARE_IID(IAudioMidrange, 0x5E54B6D7, 0xB44B, 0x40D9, 0x9A, 0x9E, 0xE6, 0x91, 0xD9, 0xCE,
                    0x6E, 0xDF)
VELMORA_DECLARE_IID(IAudioMute, 0xDF45AEEA, 0xB74A, 0x4B6B, 0xAF, 0xAD, 0x23, 0x66, 0xB6, 0xAA,
                    0x01, 0x2E)
VELMORA_DECLARE_IID(IAudioAutoGainControl, 0x85401FD4, 0x6DE4, 0x4B9D, 0x98, 0x69, 0x2D, 0x67, 0x53,
                    0xA8, 0x2F, 0x3C)
VELMORA_DECLARE_IID(IAudioLoudness, 0x7D8B1437, 0xDD53, 0x4350, 0x9C, 0x1B, 0x1E, 0xE2, 0x89, 0x0B,
                    0xD9, 0x38)

struct IMMDevice;
struct IMMDeviceCollection;
struct IPropertyStore;
struct IDeviceTopology;
struct IConnector;
struct ISubunit;
struct IPart;
struct IPartsList;
struct IControlInterface;
struct IControlChangeNotify;
struct IMMNotificationClient;
struct IAudioEndpointVolumeCallback;

struct IMMDeviceEnumerator : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                                       IMMDeviceCollection** ppDevices) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role,
                                                            IMMDevice** ppEndpoint) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  RegisterEndpointNotificationCallback(IMMNotificationClient* pClient) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient) = 0;
};

struct IMMDeviceCollection : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCount(UINT* pcDevices) = 0;
  virtual HRESULT STDMETHODCALLTYPE Item(UINT nDevice, IMMDevice** ppDevice) = 0;
};

struct IMMDevice : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD dwClsCtx,
                                             PROPVARIANT* pActivationParams,
                                             void** ppInterface) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD stgmAccess,
                                                      IPropertyStore** ppProperties) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetId(LPWSTR* ppstrId) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetState(DWORD* pdwState) = 0;
};

struct IPropertyStore : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCount(DWORD* cProps) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAt(DWORD iProp, PROPERTYKEY* pkey) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* pv) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY key, REFPROPVARIANT propvar) = 0;
  virtual HRESULT STDMETHODCALLTYPE Commit() = 0;
};

struct IAudioEndpointVolume : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE
  RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pnChannelCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float fLevelDB,
                                                         LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float fLevel,
                                                               LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float* pfLevelDB) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float* pfLevel) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT nChannel, float fLevelDB,
                                                          LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT nChannel, float fLevel,
                                                                LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT nChannel, float* pfLevelDB) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT nChannel, float* pfLevel) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMute(BOOL bMute, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMute) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* pdwHardwareSupportMask) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolumeRange(float* pflVolumeMindB, float* pflVolumeMaxdB,
                                                   float* pflVolumeIncrementdB) = 0;
};

struct IDeviceTopology : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetConnectorCount(UINT* pCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConnector(UINT nIndex, IConnector** ppConnector) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSubunitCount(UINT* pCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSubunit(UINT nIndex, ISubunit** ppSubunit) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPartById(UINT nId, IPart** ppPart) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDeviceId(LPWSTR* ppwstrDeviceId) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSignalPath(IPart* pIPartFrom, IPart* pIPartTo,
                                                  BOOL bRejectMixedPaths, IPartsList** ppParts) = 0;
};

struct IConnector : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetType(ConnectorType* pType) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDataFlow(DataFlow* pFlow) = 0;
  virtual HRESULT STDMETHODCALLTYPE ConnectTo(IConnector* pConnectTo) = 0;
  virtual HRESULT STDMETHODCALLTYPE Disconnect() = 0;
  virtual HRESULT STDMETHODCALLTYPE IsConnected(BOOL* pbConnected) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConnectedTo(IConnector** ppConTo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConnectorIdConnectedTo(LPWSTR* ppwstrConnectorId) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDeviceIdConnectedTo(LPWSTR* ppwstrDeviceId) = 0;
};

struct ISubunit : public IUnknown {};

struct IPart : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetName(LPWSTR* ppwstrName) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLocalId(UINT* pnId) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetGlobalId(LPWSTR* ppwstrGlobalId) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPartType(PartType* pPartType) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSubType(GUID* pSubType) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetControlInterfaceCount(UINT* pCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetControlInterface(UINT nIndex,
                                                        IControlInterface** ppInterfaceDesc) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumPartsIncoming(IPartsList** ppParts) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumPartsOutgoing(IPartsList** ppParts) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTopologyObject(IDeviceTopology** ppTopology) = 0;
  virtual HRESULT STDMETHODCALLTYPE Activate(DWORD dwClsContext, REFIID refiid,
                                             void** ppvObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  RegisterControlChangeCallback(REFGUID riid, IControlChangeNotify* pNotify) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  UnregisterControlChangeCallback(IControlChangeNotify* pNotify) = 0;
};

struct IPartsList : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCount(UINT* pCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPart(UINT nIndex, IPart** ppPart) = 0;
};

struct IPerChannelDbLevel : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pcChannels) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLevelRange(UINT nChannel, float* pfMinLevelDB,
                                                  float* pfMaxLevelDB, float* pfStepping) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLevel(UINT nChannel, float* pfLevelDB) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLevel(UINT nChannel, float fLevelDB,
                                             LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLevelUniform(float fLevelDB, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLevelAllChannels(float aLevelsDB[], ULONG cChannels,
                                                        LPCGUID pguidEventContext) = 0;
};

struct IAudioVolumeLevel : public IPerChannelDbLevel {};
struct IAudioBass : public IPerChannelDbLevel {};
struct IAudioTreble : public IPerChannelDbLevel {};
struct IAudioMidrange : public IPerChannelDbLevel {};

struct IAudioMute : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetMute(BOOL bMuted, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMuted) = 0;
};

struct IAudioAutoGainControl : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetEnabled(BOOL* pbEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEnabled(BOOL bEnable, LPCGUID pguidEventContext) = 0;
};

struct IAudioLoudness : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetEnabled(BOOL* pbEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEnabled(BOOL bEnable, LPCGUID pguidEventContext) = 0;
};
