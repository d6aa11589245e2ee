// Basic types of the platform's COM world, declared for builds without the
// Windows SDK. Sizes and values are the platform's own so that results, IDs
// and layouts agree between the two builds.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using HRESULT = std::int32_t;
using VARTYPE = std::uint16_t;
using WCHAR = char16_t;  // 16-bit, as on the platform; never wchar_t here
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPSTR = char*;
using LPCSTR = const char*;
using BSTR = WCHAR*;
using LPVOID = void*;

#define STDMETHODCALLTYPE
#define WINAPI

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Result codes, with the platform's values.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_NOTFOUND = static_cast<HRESULT>(0x80070490u);  // from ERROR_NOT_FOUND
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT AUDCLNT_E_DEVICE_INVALIDATED = static_cast<HRESULT>(0x88890004u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16, "GUID must match the platform layout");

constexpr bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
constexpr bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;
using LPCGUID = const GUID*;

// The IID of an interface type: the SDK's compilers offer __uuidof; here a
// specialisation per interface carries it.
template <class Interface>
struct InterfaceIdOf;

#define VELMORA_DECLARE_IID(Type, d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7)     \
  struct Type;                                                                    \
  template <>                                                                     \
  struct InterfaceIdOf<Type> {                                                    \
    static constexpr GUID value = {d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}}; \
  };

#define __uuidof(Type) (InterfaceIdOf<Type>::value)

VELMORA_DECLARE_IID(IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x46)

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

// Property values: only the members the library and its stand-in use are named,
// but the union has the platform's size.
constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_UI4 = 19;
constexpr VARTYPE VT_LPWSTR = 31;

struct BLOB {
  ULONG cbSize;
  BYTE* pBlobData;
};

struct PROPVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONG lVal;
    ULONG ulVal;
    LPWSTR pwszVal;
    BSTR bstrVal;
    BLOB blob;
  };
};
static_assert(sizeof(PROPVARIANT) == 8 + 2 * sizeof(void*) || sizeof(PROPVARIANT) == 16,
              "PROPVARIANT must match the platform layout");
using REFPROPVARIANT = const PROPVARIANT&;

struct PROPERTYKEY {
  GUID fmtid;
  DWORD pid;
};
using REFPROPERTYKEY = const PROPERTYKEY&;

constexpr bool operator==(const PROPERTYKEY& a, const PROPERTYKEY& b) {
  return a.fmtid == b.fmtid && a.pid == b.pid;
}

// COM runtime and text constants.
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_ALL =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD STGM_READ = 0x0;
constexpr UINT CP_ACP = 0;
