// The one header through which the library reaches the platform: Core Audio,
// the COM runtime, OLE Automation strings and text conversion. On Windows these
// come from the SDK; elsewhere from the project's own declarations, behind which
// the simulated Core Audio service stands.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
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

#include "com_holders.h"
#include "text.h"
