// Control interfaces that mingw-w64's devicetopology.h (as Debian 12 ships it)
// declares wrongly, declared here as the platform documents them:
// IAudioAutoGainControl has the wrong methods there, IAudioLoudness a wrong IID,
// and the midrange and subunit interfaces are spelt IAudioMidRange and ISubUnit.
// platform.h defines the header's include guards for the first two before
// including it.
#pragma once

// clang-format off
MIDL_INTERFACE("85401FD4-6DE4-4B9D-9869-2D6753A82F3C")
IAudioAutoGainControl : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetEnabled(BOOL* pbEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEnabled(BOOL bEnable, LPCGUID pguidEventContext) = 0;
};
__CRT_UUID_DECL(IAudioAutoGainControl, 0x85401fd4, 0x6de4, 0x4b9d, 0x98, 0x69, 0x2d, 0x67, 0x53,
                0xa8, 0x2f, 0x3c)

MIDL_INTERFACE("7D8B1437-DD53-4350-9C1B-1EE2890BD938")
IAudioLoudness : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetEnabled(BOOL* pbEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEnabled(BOOL bEnable, LPCGUID pguidEventContext) = 0;
};
__CRT_UUID_DECL(IAudioLoudness, 0x7d8b1437, 0xdd53, 0x4350, 0x9c, 0x1b, 0x1e, 0xe2, 0x89, 0x0b,
                0xd9, 0x38)

// clang-format on

#ifndef __IAudioMidrange_INTERFACE_DEFINED__
using IAudioMidrange = IAudioMidRange;
#endif

// The subunit interface is spelt ISubUnit there.
using ISubunit = ISubUnit;
