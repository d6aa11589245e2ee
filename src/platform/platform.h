// The one header through which the library reaches the platform: Core Audio,
// the COM runtime, OLE Automation strings and text conversion. On Windows these
// come from the SDK; elsewhere from the project's own declarations, behind which
// the simulated Core Audio service stands.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifdef __MINGW32__
// These two come from mingw_device_topology.h (see there), not from the SDK's
// devicetopology.h, which endpointvolume.h includes too.
#define __IAudioAutoGainControl_INTERFACE_DEFINED__
#define __IAudioLoudness_INTERFACE_DEFINED__
#endif
// windows.h comes first: the other SDK headers build on it.
#include <windows.h>
// clang-format off
#include <objbase.h>
#include <oleauto.h>
#include <propidl.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <devicetopology.h>
#ifdef __MINGW32__
#include "mingw_device_topology.h"
#endif
// The property key is defined (once, as selectany) rather than only declared.
#include <initguid.h>
#include <functiondiscoverykeys_devpkey.h>
// clang-format on

#include <cstdlib>

inline void* LibraryMalloc(size_t size) { return std::malloc(size); }
inline void LibraryFree(void* block) { std::free(block); }
#else
#include "portable/com_types.h"
#include "portable/core_audio.h"
#include "portable/runtime.h"
#endif

// IPart::GetTopologyObject. mingw-w64 spells the method GetTopologyObjects; the
// slot is the same. Implementations of IPart name it with the macro.
#ifdef __MINGW32__
#define VELMORA_PART_TOPOLOGY_METHOD GetTopologyObjects
#else
#define VELMORA_PART_TOPOLOGY_METHOD GetTopologyObject
#endif
inline HRESULT GetPartTopology(IPart* part, IDeviceTopology** topology) {
  return part->VELMORA_PART_TOPOLOGY_METHOD(topology);
}

#include "com_holders.h"
#include "text.h"
