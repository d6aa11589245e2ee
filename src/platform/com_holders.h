// Small owners for what the platform hands out: interface references, platform
// strings, BSTRs, property values, the library's own heap blocks and one
// CoInitialize. Each releases what it holds exactly once. put() releases what is
// held before handing out the address for an out-parameter; attach() takes
// ownership without AddRef; detach() gives ownership up.
#pragma once

#include <utility>

#include "platform/platform.h"

template <class Traits>
class UniqueHandle {
 public:
  using Value = typename Traits::Value;

  UniqueHandle() = default;
  explicit UniqueHandle(Value value) : value_(value) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.detach()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) attach(other.detach());
    return *this;
  }

  Value get() const { return value_; }
  explicit operator bool() const { return value_ != nullptr; }
  Value* put() {
    reset();
    return &value_;
  }
  void attach(Value value) {
    reset();
    value_ = value;
  }
  Value detach() { return std::exchange(value_, nullptr); }
  void reset() {
    if (value_ != nullptr) Traits::Free(std::exchange(value_, nullptr));
  }

 private:
  Value value_ = nullptr;
};

template <class Interface>
struct ComReleaseTraits {
  using Value = Interface*;
  static void Free(Interface* object) { object->Release(); }
};

template <class Interface>
class ComPtr : public UniqueHandle<ComReleaseTraits<Interface>> {
 public:
  using UniqueHandle<ComReleaseTraits<Interface>>::UniqueHandle;
  Interface* operator->() const { return this->get(); }
  // For Activate-style out-parameters typed void**.
  void** put_void() { return reinterpret_cast<void**>(this->put()); }
};

struct CoTaskMemTraits {
  using Value = WCHAR*;
  static void Free(WCHAR* text) { CoTaskMemFree(text); }
};
using CoTaskMemText = UniqueHandle<CoTaskMemTraits>;

struct BstrTraits {
  using Value = BSTR;
  static void Free(BSTR text) { SysFreeString(text); }
};
using Bstr = UniqueHandle<BstrTraits>;

struct LibraryHeapTraits {
  using Value = char*;
  static void Free(char* text) { LibraryFree(text); }
};
using HeapText = UniqueHandle<LibraryHeapTraits>;

// A PROPVARIANT that starts empty and is cleared once.
class PropVariantValue {
 public:
  PropVariantValue() { PropVariantInit(&value_); }
  ~PropVariantValue() { PropVariantClear(&value_); }
  PropVariantValue(const PropVariantValue&) = delete;
  PropVariantValue& operator=(const PropVariantValue&) = delete;
  PROPVARIANT* put() { return &value_; }
  const PROPVARIANT& get() const { return value_; }
  void clear() { PropVariantClear(&value_); }

 private:
  PROPVARIANT value_;
};

// CoInitialize for the length of one export's work. CoUninitialize follows only
// when CoInitialize succeeded: a host thread already in the multithreaded
// apartment gets RPC_E_CHANGED_MODE, and its COM must stay as the host left it.
class ComApartment {
 public:
  ComApartment() {
    const HRESULT hr = CoInitialize(nullptr);
    entered_ = hr == S_OK || hr == S_FALSE;
  }
  ~ComApartment() {
    if (entered_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_ = false;
};

// Releases a slot of the mixer state and empties it.
template <class Interface>
void ReleaseSlot(Interface*& slot) {
  if (slot != nullptr) std::exchange(slot, nullptr)->Release();
}
