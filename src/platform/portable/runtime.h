// The COM runtime, OLE Automation string, property value and text conversion
// functions the library calls, declared for builds without the Windows SDK. The
// simulated Core Audio service provides them.
#pragma once

#include <cstddef>
#include <cstring>

#include "com_types.h"

HRESULT CoInitialize(LPVOID pvReserved);
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv);
LPVOID CoTaskMemAlloc(std::size_t cb);
void CoTaskMemFree(LPVOID pv);

BSTR SysAllocString(const WCHAR* psz);
BSTR SysAllocStringLen(const WCHAR* strIn, UINT ui);
void SysFreeString(BSTR bstrString);
UINT SysStringLen(BSTR pbstr);

HRESULT PropVariantClear(PROPVARIANT* pvar);
inline void PropVariantInit(PROPVARIANT* pvar) { std::memset(pvar, 0, sizeof(PROPVARIANT)); }

int lstrlenA(LPCSTR lpString);
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        BOOL* lpUsedDefaultChar);

// The library's own heap blocks (narrow names). On Windows they are the C
// heap's; here the simulated service counts them and can make them fail.
void* LibraryMalloc(std::size_t size);
void LibraryFree(void* block);
