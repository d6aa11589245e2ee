// The COM runtime, BSTR, property value and text conversion functions, over
// the simulated world.
#include <cstdlib>
#include <cstring>

#include "code_pages.h"
#include "objects.h"
#include "simulated_audio.h"

using sim::World;

namespace {

// The code page a conversion call names, or 0 when it is unknown.
UINT ResolveCodePage(UINT codePage) {
  const UINT resolved = codePage == CP_ACP ? World::Get().AnsiCodePage() : codePage;
  return sim::CodePageUpperHalf(resolved) != nullptr ? resolved : 0;
}

}  // namespace

HRESULT CoInitialize(LPVOID pvReserved) {
  World& world = World::Get();
  sim::CallRecord args;
  args.value = pvReserved == nullptr ? 0 : 1;
  const World::Call call = world.Begin("runtime", "CoInitialize", args, true);
  if (World::FailsEarly(call)) return world.Finish(call, *call.injected);
  if (pvReserved != nullptr) return world.Finish(call, E_INVALIDARG);
  return world.Finish(call, world.EnterApartment(false));
}

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
  World& world = World::Get();
  sim::CallRecord args;
  args.value = static_cast<std::int32_t>(dwCoInit);
  const World::Call call = world.Begin("runtime", "CoInitializeEx", args, true);
  if (World::FailsEarly(call)) return world.Finish(call, *call.injected);
  if (pvReserved != nullptr) return world.Finish(call, E_INVALIDARG);
  return world.Finish(call, world.EnterApartment((dwCoInit & COINIT_APARTMENTTHREADED) == 0));
}

void CoUninitialize() {
  World& world = World::Get();
  world.Begin("runtime", "CoUninitialize", {}, false);
  world.LeaveApartment();
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv) {
  World& world = World::Get();
  sim::CallRecord args;
  args.value = static_cast<std::int32_t>(dwClsContext);
  args.iid = riid;
  const World::Call call = world.Begin("runtime", "CoCreateInstance", args, true);
  if (ppv == nullptr) return world.Finish(call, E_POINTER);
  *ppv = nullptr;
  if (World::FailsEarly(call)) return world.Finish(call, *call.injected);
  if (world.ComDepth() == 0) return world.Finish(call, CO_E_NOTINITIALIZED);
  if (pUnkOuter != nullptr) return world.Finish(call, CLASS_E_NOAGGREGATION);
  if (rclsid != __uuidof(MMDeviceEnumerator) || (dwClsContext & CLSCTX_INPROC_SERVER) == 0)
    return world.Finish(call, REGDB_E_CLASSNOTREG);
  // The runtime hands the caller an object with S_OK whatever success code the
  // class's creation answered (an injected S_FALSE, say); so does Windows.
  const HRESULT created = sim::CreateDeviceEnumerator(riid, ppv);
  world.Finish(call, created);
  return created;
}

LPVOID CoTaskMemAlloc(std::size_t cb) { return World::Get().AllocateCoTaskMem(cb); }

void CoTaskMemFree(LPVOID pv) {
  World::Get().Begin("runtime", "CoTaskMemFree", {}, false);
  World::Get().FreeCoTaskMem(pv);
}

BSTR SysAllocString(const WCHAR* psz) {
  if (psz == nullptr) return nullptr;
  UINT length = 0;
  while (psz[length] != 0) ++length;
  return World::Get().AllocateBstr(psz, length, "SysAllocString");
}

BSTR SysAllocStringLen(const WCHAR* strIn, UINT ui) {
  return World::Get().AllocateBstr(strIn, ui, "SysAllocStringLen");
}

void SysFreeString(BSTR bstrString) {
  World::Get().Begin("runtime", "SysFreeString", {}, false);
  World::Get().FreeBstr(bstrString);
}

UINT SysStringLen(BSTR pbstr) {
  if (pbstr == nullptr) return 0;
  std::uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<const char*>(pbstr) - sizeof bytes, sizeof bytes);
  return bytes / sizeof(WCHAR);
}

HRESULT PropVariantClear(PROPVARIANT* pvar) {
  World::Get().Begin("runtime", "PropVariantClear", {}, false);
  if (pvar == nullptr) return S_OK;
  switch (pvar->vt) {
    case VT_LPWSTR:
      World::Get().FreeCoTaskMem(pvar->pwszVal);
      break;
    case VT_BSTR:
      World::Get().FreeBstr(pvar->bstrVal);
      break;
    default:
      break;
  }
  PropVariantInit(pvar);
  return S_OK;
}

int lstrlenA(LPCSTR lpString) {
  return lpString == nullptr ? 0 : static_cast<int>(std::strlen(lpString));
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
  World& world = World::Get();
  sim::CallRecord args;
  args.value = static_cast<std::int32_t>(CodePage);
  const World::Call call = world.Begin("runtime", "MultiByteToWideChar", args, true);
  const UINT codePage = ResolveCodePage(CodePage);
  if (World::FailsEarly(call) || codePage == 0 || dwFlags != 0 || lpMultiByteStr == nullptr ||
      cbMultiByte == 0 || cchWideChar < 0) {
    world.Finish(call, E_FAIL);
    return 0;
  }
  const int length =
      cbMultiByte < 0 ? static_cast<int>(std::strlen(lpMultiByteStr)) + 1 : cbMultiByte;
  if (cchWideChar == 0) return length;  // the size needed
  const char16_t* upper = sim::CodePageUpperHalf(codePage);
  const int written = length < cchWideChar ? length : cchWideChar;
  for (int i = 0; i < written; ++i) {
    const auto byte = static_cast<unsigned char>(lpMultiByteStr[i]);
    lpWideCharStr[i] = byte < 0x80 ? byte : upper[byte - 0x80];
  }
  if (written < length) {  // the buffer is too small; what fitted has been written
    world.Finish(call, E_FAIL);
    return 0;
  }
  world.Finish(call, S_OK);
  return written;
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        BOOL* lpUsedDefaultChar) {
  World& world = World::Get();
  sim::CallRecord args;
  args.value = static_cast<std::int32_t>(CodePage);
  const World::Call call = world.Begin("runtime", "WideCharToMultiByte", args, true);
  const UINT codePage = ResolveCodePage(CodePage);
  if (World::FailsEarly(call) || codePage == 0 || dwFlags != 0 || lpWideCharStr == nullptr ||
      cchWideChar == 0 || cbMultiByte < 0) {
    world.Finish(call, E_FAIL);
    return 0;
  }
  const char16_t* upper = sim::CodePageUpperHalf(codePage);
  if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = FALSE;
  const char defaultChar = lpDefaultChar != nullptr ? *lpDefaultChar : '?';
  int length = cchWideChar;
  if (length < 0) {
    length = 0;
    while (lpWideCharStr[length] != 0) ++length;
    ++length;  // the terminator is converted too
  }
  int produced = 0;
  for (int i = 0; i < length; ++i) {
    const char16_t unit = lpWideCharStr[i];
    char byte = defaultChar;
    bool mapped = unit < 0x80;
    if (mapped) byte = static_cast<char>(unit);
    for (int b = 0; !mapped && b < 128; ++b)
      if (upper[b] == unit) {
        byte = static_cast<char>(0x80 + b);
        mapped = true;
      }
    if (!mapped && lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = TRUE;
    // A surrogate pair stands for one character and becomes one default character.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && lpWideCharStr[i + 1] >= 0xDC00 &&
        lpWideCharStr[i + 1] <= 0xDFFF)
      ++i;
    if (cbMultiByte != 0) {
      if (produced == cbMultiByte) {  // the buffer is too small
        world.Finish(call, E_FAIL);
        return 0;
      }
      lpMultiByteStr[produced] = byte;
    }
    ++produced;
  }
  world.Finish(call, S_OK);
  return produced;
}

void sim::edge::AttachService() {}

void* sim::edge::AllocateTaskMemory(std::size_t bytes) { return std::malloc(bytes); }

void sim::edge::FreeTaskMemory(void* block) { std::free(block); }

void* LibraryMalloc(std::size_t size) { return World::Get().AllocateHeap(size); }

void LibraryFree(void* block) {
  World::Get().Begin("runtime", "LibraryFree", {}, false);
  World::Get().FreeHeap(block);
}
