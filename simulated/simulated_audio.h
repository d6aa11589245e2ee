// The simulated Core Audio service: the platform's stand-in on builds without
// Windows. It implements the platform interfaces over a model of endpoints that
// keeps what is written, and it is built for testing:
//  - every platform call is recorded with its object, method and arguments;
//  - any call can be made to answer any HRESULT (FaultRule);
//  - every reference, CoTaskMem block, BSTR and library heap block is counted,
//    released objects are poisoned, and misuse is recorded as a problem;
//  - each thread's COM apartment and initialisation depth is modelled.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/platform.h"
#include "topology_model.h"

namespace sim {

// How an endpoint answers for its friendly name.
enum class NameKind {
  Text,       // VT_LPWSTR holding `friendlyName`
  Empty,      // VT_EMPTY
  NullText,   // VT_LPWSTR with a null pointer
  OtherType,  // VT_UI4
};

struct EndpointVolumeModel {
  UINT channelCount = 2;
  float minDb = -65.25f;
  float maxDb = 0.0f;
  float stepDb = 0.75f;
  float masterDb = 0.0f;
  std::vector<float> channelDb;  // sized to channelCount when the endpoint is added
  BOOL mute = FALSE;             // the 32-bit value as written
};

struct Endpoint {
  std::string key;  // names the endpoint's objects in the call log and in fault rules
  std::u16string id;
  EDataFlow flow = eRender;
  DWORD state = DEVICE_STATE_ACTIVE;
  std::u16string friendlyName;
  NameKind nameKind = NameKind::Text;
  EndpointVolumeModel volume;
  bool offersTopology = true;  // whether IDeviceTopology can be activated
  // The adapter connector that the endpoint's connector 0 leads to, if any.
  Part* connectedTo = nullptr;
};

// One platform call. Fields a method does not take stay empty.
struct CallRecord {
  std::uint64_t sequence = 0;  // position among injectable calls; 0 for AddRef/Release/frees
  std::string object;          // "runtime", "enumerator", "collection", or the endpoint key[.part]
  std::string method;
  std::optional<UINT> index;  // channel, item or connector index
  std::optional<IID> iid;     // the interface asked for (Activate, QueryInterface, creation)
  std::optional<float> level;
  std::optional<std::int32_t> value;  // Boolean, flow, role, state mask, count...
  std::optional<bool> nullContext;    // for writes: whether the event context was null
  std::u16string text;
  HRESULT result = S_OK;
};

// Makes matching calls answer `result`. A failure result delivers no outputs; a
// success code (such as S_FALSE) delivers them as usual. For the allocation
// calls ("CoTaskMemAlloc", "SysAllocString", "SysAllocStringLen",
// "LibraryMalloc") and the text conversions, any failure result means "no memory"
// or "cannot convert".
struct FaultRule {
  std::string object = "*";  // exact, or a pattern with '*'
  std::string method = "*";
  HRESULT result = E_FAIL;
  std::optional<UINT> index;                  // only calls on this channel or index
  std::optional<IID> iid;                     // only calls asking for this interface
  std::optional<std::uint64_t> fromSequence;  // only calls at or after this position
  std::uint32_t skip = 0;                     // matching calls let through before the first fault
  std::uint32_t times = UINT32_MAX;           // faults to inject, then the rule is spent
  // Only calls that the service answers on Windows too (World::ServiceCalls);
  // `fromSequence` then counts those calls alone.
  bool serviceCallsOnly = false;
};

class SimObject;

class World {
 public:
  static World& Get();

  // Forgets everything: endpoints, defaults, rules, the log, the accounting.
  // The calling thread's COM state is reset too.
  void Reset();

  Endpoint& AddEndpoint(Endpoint endpoint);
  Endpoint* FindEndpoint(const std::string& key);
  void SetDefault(EDataFlow flow, ERole role, const std::string& key);
  const std::string* DefaultKey(EDataFlow flow, ERole role) const;
  const std::vector<std::unique_ptr<Endpoint>>& Endpoints() const { return endpoints_; }
  Adapter& AddAdapter(std::string key, std::u16string deviceId);
  const std::vector<std::unique_ptr<Adapter>>& Adapters() const { return adapters_; }

  // Windows-1252 by default; 1251 is also known.
  void SetAnsiCodePage(UINT codePage) { ansiCodePage_ = codePage; }
  UINT AnsiCodePage() const { return ansiCodePage_; }

  void Inject(FaultRule rule);
  void ClearFaults() { rules_.clear(); }
  std::uint64_t FaultsInjected() const { return faultsInjected_; }

  const std::vector<CallRecord>& Calls() const { return calls_; }
  std::vector<CallRecord> CallsTo(const std::string& object, const std::string& method) const;
  std::uint64_t InjectableCalls() const { return sequence_; }
  // The injectable calls that the service answers on every platform: those on
  // its objects, the enumerator's creation and its own allocations.
  std::uint64_t ServiceCalls() const { return serviceSequence_; }
  void ClearCalls() { calls_.clear(); }
  void SetRecording(bool recording) { recording_ = recording; }

  // Everything wrong so far: references still held, blocks not freed, misuse,
  // and the calling thread's COM initialisation left unbalanced.
  std::vector<std::string> Problems() const;
  std::size_t LiveReferences() const;
  std::size_t LiveObjects() const;
  // The labels of the objects still referenced ("hda.master.volume"): after an
  // opening, the controls the mixer holds.
  std::vector<std::string> LiveObjectLabels() const;
  // Frees the objects released so far. Until then a released object stays,
  // poisoned, so that a later use is caught; long runs collect now and then.
  void CollectReleased();
  std::size_t OutstandingCoTaskMem() const { return coTaskMem_.size(); }
  std::size_t OutstandingBstrs() const { return bstrs_.size(); }
  std::size_t OutstandingHeapBlocks() const { return heap_.size(); }
  // Every block handed out since the last Reset, freed or not.
  struct AllocationTotals {
    std::uint64_t coTaskMem = 0;  // platform strings and CoTaskMemAlloc
    std::uint64_t bstrs = 0;
    std::uint64_t heap = 0;  // the library's own heap
  };
  const AllocationTotals& Allocations() const { return allocations_; }
  int ComDepth() const;

  // --- used by the simulated objects and runtime ---
  struct Call {
    std::size_t record = SIZE_MAX;
    std::optional<HRESULT> injected;
  };
  Call Begin(const std::string& object, const char* method, CallRecord args, bool injectable);
  HRESULT Finish(const Call& call, HRESULT result);
  void Violation(std::string what);
  static bool FailsEarly(const Call& call) { return call.injected && FAILED(*call.injected); }

  // CoInitialize(Ex) and CoUninitialize on the calling thread.
  HRESULT EnterApartment(bool multithreaded);
  void LeaveApartment();

  void* AllocateCoTaskMem(std::size_t bytes);
  bool FreeCoTaskMem(void* block);
  // Where the platform's own task allocator frees the service's blocks
  // (Windows), the world only hears of it: every block allocated and freed on
  // the service's thread. With `watchOthers`, blocks that others allocate there
  // (the BSTRs of the platform's string functions, say) must be freed by the
  // end too.
  void NoteTaskMemoryAllocated(void* block, bool watchOthers);
  void NoteTaskMemoryFreed(void* block);
  void NoteTaskMemoryMoved(void* from, void* to);  // reallocated elsewhere
  BSTR AllocateBstr(const WCHAR* text, UINT length, const char* method);
  bool FreeBstr(BSTR text);
  void* AllocateHeap(std::size_t bytes);
  bool FreeHeap(void* block);

  template <class Object, class... Args>
  Object* Create(Args&&... args) {
    auto object = std::make_unique<Object>(std::forward<Args>(args)...);
    Object* raw = object.get();
    objects_.push_back(std::move(object));
    return raw;
  }

 private:
  World() = default;
  ~World();

  // Logs an allocation call; false when a fault makes it fail.
  bool AllocationAllowed(const char* method);
  void* AllocateBlock(std::unordered_set<void*>& blocks, const char* method, std::size_t bytes);
  // Forgets a block being freed; a block not held is a recorded problem.
  bool Untrack(std::unordered_set<void*>& blocks, void* block, const char* freer);

  struct ActiveRule {
    FaultRule rule;
    std::uint32_t seen = 0;
    std::uint32_t fired = 0;
  };
  std::vector<std::unique_ptr<Endpoint>> endpoints_;
  std::vector<std::unique_ptr<Adapter>> adapters_;
  std::map<std::pair<int, int>, std::string> defaults_;
  std::vector<ActiveRule> rules_;
  std::vector<CallRecord> calls_;
  std::vector<std::string> violations_;
  std::vector<std::unique_ptr<SimObject>> objects_;
  std::unordered_set<void*> coTaskMem_;
  std::unordered_set<void*> freedTaskMemory_;  // ours, freed and not handed out again
  std::unordered_set<void*> otherTaskMemory_;  // others', allocated and not yet freed
  std::unordered_set<void*> bstrs_;
  std::unordered_set<void*> heap_;
  static bool AnsweredEverywhere(const std::string& object, const char* method);

  std::uint64_t sequence_ = 0;
  std::uint64_t serviceSequence_ = 0;
  std::uint64_t faultsInjected_ = 0;
  AllocationTotals allocations_;
  UINT ansiCodePage_ = 1252;
  bool recording_ = true;
};

// Where the service meets its platform. On Windows the first call makes the
// calling thread the service's, starts watching the task allocator and installs
// the first card; on Linux there is nothing to do. The service's CoTaskMem
// blocks come from the C heap on Linux and the task allocator on Windows.
namespace edge {
void AttachService();
void* AllocateTaskMemory(std::size_t bytes);
void FreeTaskMemory(void* block);
}  // namespace edge

// A short description of an HRESULT for messages.
std::string DescribeResult(HRESULT hr);
std::string Narrow(const std::u16string& text);
// The model keeps UTF-16 texts; the platform's WCHAR is char16_t here and
// wchar_t on Windows, of the same width.
std::u16string FromWide(const WCHAR* text);

}  // namespace sim
