// The common frame of every simulated COM object: reference counting that
// poisons an object on its last release, QueryInterface over the interfaces it
// implements, and the call log and fault rules of the world.
#pragma once

#include <string>
#include <utility>

#include "simulated_audio.h"

namespace sim {

class SimObject {
 public:
  explicit SimObject(std::string label) : label_(std::move(label)) {}
  virtual ~SimObject() = default;
  SimObject(const SimObject&) = delete;
  SimObject& operator=(const SimObject&) = delete;

  const std::string& label() const { return label_; }
  ULONG references() const { return references_; }
  bool released() const { return released_; }

 protected:
  ULONG CountAddRef();
  ULONG CountRelease();
  // Logs the call; a call on a released object is a violation and fails.
  World::Call Begin(const char* method, CallRecord args = {});
  static HRESULT Finish(const World::Call& call, HRESULT result) {
    return World::Get().Finish(call, result);
  }
  // An injected failure ends the call before it delivers anything.
  static bool FailsEarly(const World::Call& call) { return World::FailsEarly(call); }

 private:
  std::string label_;
  ULONG references_ = 1;
  bool released_ = false;
};

template <class Interface>
const IID& IidOf() {
  return __uuidof(Interface);
}

// A COM object implementing `Interfaces`, the first of which answers for IUnknown.
template <class First, class... Others>
class ComObject : public First, public Others..., public SimObject {
 public:
  using SimObject::SimObject;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    CallRecord args;
    args.iid = riid;
    const World::Call call = Begin("QueryInterface", args);
    if (object == nullptr) return Finish(call, E_POINTER);
    *object = nullptr;
    if (FailsEarly(call)) return Finish(call, *call.injected);
    void* found = FindInterface(riid);
    if (found == nullptr) return Finish(call, E_NOINTERFACE);
    CountAddRef();
    *object = found;
    return Finish(call, S_OK);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return CountAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return CountRelease(); }

 protected:
  // Interfaces beyond the listed ones (a base interface, say) are added by overriding.
  virtual void* FindInterface(REFIID riid) {
    if (riid == IidOf<IUnknown>() || riid == IidOf<First>()) return static_cast<First*>(this);
    void* found = nullptr;
    ((found == nullptr && riid == IidOf<Others>() ? found = static_cast<Others*>(this) : nullptr),
     ...);
    return found;
  }
};

}  // namespace sim
