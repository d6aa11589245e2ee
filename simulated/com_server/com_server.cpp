// The simulated service as an in-process COM server for Windows: the class
// factory of the device enumerator, the platform's task allocator beneath the
// service's strings, and a malloc spy through which the service hears of every
// block the library frees.
#include <atomic>
#include <cstdlib>
#include <string>
#include <utility>

#include "objects.h"
#include "reference_cards.h"
#include "service_control.h"
#include "simulated_audio.h"

namespace {

// The service is single-threaded, like the hosts that drive it: calls and
// frees on other threads of the process are none of its business.
std::atomic<DWORD> serviceThread{0};

bool OnServiceThread() { return GetCurrentThreadId() == serviceThread.load(); }

// The platform's BSTR cache keeps freed strings for reuse instead of freeing
// them; only with the cache off (OANOCACHE set) can every block allocated on
// the service's thread be required to come back.
bool watchAllTaskMemory = false;

// IUnknown of an object that lives as long as the module: nothing to count.
template <class Interface>
class StaticComObject : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = riid == __uuidof(IUnknown) || riid == __uuidof(Interface)
                  ? static_cast<Interface*>(this)
                  : nullptr;
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

// Hears of every allocation and free of the COM task allocator, passing each
// through unchanged.
class TaskMemorySpy final : public StaticComObject<IMallocSpy> {
 public:
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T cbRequest) override { return cbRequest; }
  void* STDMETHODCALLTYPE PostAlloc(void* pActual) override {
    if (pActual != nullptr && OnServiceThread())
      sim::World::Get().NoteTaskMemoryAllocated(pActual, watchAllTaskMemory);
    return pActual;
  }
  void* STDMETHODCALLTYPE PreFree(void* pRequest, BOOL fSpyed) override {
    if (pRequest != nullptr && fSpyed && OnServiceThread())
      sim::World::Get().NoteTaskMemoryFreed(pRequest);
    return pRequest;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* pRequest, SIZE_T cbRequest, void** ppNewRequest,
                                      BOOL) override {
    reallocating_ = {pRequest, cbRequest};
    *ppNewRequest = pRequest;
    return cbRequest;
  }
  // A reallocation allocates (from null), frees (to size 0), moves a block, or
  // fails and leaves it where it was.
  void* STDMETHODCALLTYPE PostRealloc(void* pActual, BOOL fSpyed) override {
    if (!fSpyed || !OnServiceThread()) return pActual;
    sim::World& world = sim::World::Get();
    const auto [from, bytes] = reallocating_;
    if (from == nullptr) {
      if (pActual != nullptr) world.NoteTaskMemoryAllocated(pActual, watchAllTaskMemory);
    } else if (bytes == 0) {
      world.NoteTaskMemoryFreed(from);
    } else if (pActual != nullptr) {
      world.NoteTaskMemoryMoved(from, pActual);
    }
    return pActual;
  }
  void* STDMETHODCALLTYPE PreGetSize(void* pRequest, BOOL) override { return pRequest; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T cbActual, BOOL) override { return cbActual; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* pRequest, BOOL) override { return pRequest; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int fActual) override { return fActual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  // The block and size of the reallocation under way.
  std::pair<void*, SIZE_T> reallocating_{nullptr, 0};
};

TaskMemorySpy taskMemorySpy;

// The enumerator's class object. CreateInstance is where CoCreateInstance
// reaches the service, so it is logged and can be made to fail like any call.
class EnumeratorFactory final : public StaticComObject<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                           void** ppvObject) override {
    sim::World& world = sim::World::Get();
    sim::CallRecord args;
    args.iid = riid;
    const sim::World::Call call = world.Begin("runtime", "CoCreateInstance", args, true);
    if (ppvObject == nullptr) return world.Finish(call, E_POINTER);
    *ppvObject = nullptr;
    if (sim::World::FailsEarly(call)) return world.Finish(call, *call.injected);
    if (pUnkOuter != nullptr) return world.Finish(call, CLASS_E_NOAGGREGATION);
    return world.Finish(call, sim::CreateDeviceEnumerator(riid, ppvObject));
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

EnumeratorFactory enumeratorFactory;

// A host that never loads a card (an unmodified application) gets the card
// file that VELMORA_SIMULATED_CARD names, or the reference machine.
void InstallFirstCard() {
  const char* path = std::getenv("VELMORA_SIMULATED_CARD");
  if (path == nullptr || *path == 0) {
    sim::World::Get().Reset();
    sim::InstallReferenceMachine(sim::World::Get());
    return;
  }
  char error[512];
  if (VelmoraSimLoadCard(path, error, sizeof error) != 0)
    OutputDebugStringA((std::string("simulated Core Audio service: ") + error + "\n").c_str());
}

}  // namespace

namespace sim::edge {

void AttachService() {
  DWORD none = 0;
  if (!serviceThread.compare_exchange_strong(none, GetCurrentThreadId())) return;
  watchAllTaskMemory = GetEnvironmentVariableA("OANOCACHE", nullptr, 0) != 0;
  CoRegisterMallocSpy(&taskMemorySpy);
  InstallFirstCard();
}

void* AllocateTaskMemory(std::size_t bytes) { return CoTaskMemAlloc(bytes); }

void FreeTaskMemory(void* block) { CoTaskMemFree(block); }

}  // namespace sim::edge

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (rclsid != __uuidof(MMDeviceEnumerator)) return CLASS_E_CLASSNOTAVAILABLE;
  sim::edge::AttachService();
  return enumeratorFactory.QueryInterface(riid, ppv);
}

// The world outlives every apartment: the service stays loaded for the
// process's lifetime, as the real one keeps running.
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
