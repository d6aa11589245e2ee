#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "com_object.h"
#include "simulated_audio.h"

namespace sim {

namespace {

// The calling thread's COM apartment, as CoInitialize(Ex) left it.
enum class Apartment { None, SingleThreaded, MultiThreaded };
struct ThreadCom {
  Apartment apartment = Apartment::None;
  int depth = 0;
};
thread_local ThreadCom threadCom;

bool GlobMatches(const char* pattern, const char* text) {
  if (*pattern == 0) return *text == 0;
  if (*pattern == '*') {
    for (const char* rest = text;; ++rest) {
      if (GlobMatches(pattern + 1, rest)) return true;
      if (*rest == 0) return false;
    }
  }
  return *pattern == *text && GlobMatches(pattern + 1, text + 1);
}

}  // namespace

// The runtime's own functions (COM initialisation, text conversion, the
// library's heap) are the service's on Linux only; on Windows the platform
// answers them. Creating the enumerator and the service's own allocations
// happen on both.
bool World::AnsweredEverywhere(const std::string& object, const char* method) {
  // Cheap for the object calls, which are most: their labels are not 7 long
  // or do not start with 'r' ("runtime").
  if (object.size() != 7 || object[0] != 'r' || object != "runtime") return true;
  return std::strcmp(method, "CoCreateInstance") == 0 || std::strcmp(method, "CoTaskMemAlloc") == 0;
}

World& World::Get() {
  static World world;
  return world;
}

World::~World() = default;

void World::Reset() {
  objects_.clear();  // before the models they point to
  endpoints_.clear();
  adapters_.clear();
  defaults_.clear();
  rules_.clear();
  calls_.clear();
  violations_.clear();
  const std::unordered_set<void*> outstanding = std::move(coTaskMem_);
  coTaskMem_.clear();
  for (void* block : outstanding) edge::FreeTaskMemory(block);
  freedTaskMemory_.clear();
  otherTaskMemory_.clear();
  for (void* text : bstrs_) std::free(static_cast<char*>(text) - sizeof(std::uint32_t));
  for (void* block : heap_) std::free(block);
  bstrs_.clear();
  heap_.clear();
  sequence_ = 0;
  serviceSequence_ = 0;
  faultsInjected_ = 0;
  allocations_ = {};
  ansiCodePage_ = 1252;
  recording_ = true;
  threadCom = {};
}

Endpoint& World::AddEndpoint(Endpoint endpoint) {
  endpoint.volume.channelDb.resize(endpoint.volume.channelCount, endpoint.volume.masterDb);
  endpoints_.push_back(std::make_unique<Endpoint>(std::move(endpoint)));
  return *endpoints_.back();
}

Adapter& World::AddAdapter(std::string key, std::u16string deviceId) {
  auto adapter = std::make_unique<Adapter>();
  adapter->key = std::move(key);
  adapter->deviceId = std::move(deviceId);
  adapters_.push_back(std::move(adapter));
  return *adapters_.back();
}

Endpoint* World::FindEndpoint(const std::string& key) {
  for (auto& endpoint : endpoints_)
    if (endpoint->key == key) return endpoint.get();
  return nullptr;
}

void World::SetDefault(EDataFlow flow, ERole role, const std::string& key) {
  defaults_[{flow, role}] = key;
}

const std::string* World::DefaultKey(EDataFlow flow, ERole role) const {
  const auto found = defaults_.find({flow, role});
  return found == defaults_.end() ? nullptr : &found->second;
}

void World::Inject(FaultRule rule) { rules_.push_back({std::move(rule)}); }

std::vector<CallRecord> World::CallsTo(const std::string& object, const std::string& method) const {
  std::vector<CallRecord> matching;
  for (const CallRecord& call : calls_)
    if (GlobMatches(object.c_str(), call.object.c_str()) &&
        GlobMatches(method.c_str(), call.method.c_str()))
      matching.push_back(call);
  return matching;
}

World::Call World::Begin(const std::string& object, const char* method, CallRecord args,
                         bool injectable) {
  Call call;
  if (injectable) {
    args.sequence = ++sequence_;
    const bool serviceCall = AnsweredEverywhere(object, method);
    if (serviceCall) ++serviceSequence_;
    for (ActiveRule& active : rules_) {
      const FaultRule& rule = active.rule;
      if (rule.serviceCallsOnly && !serviceCall) continue;
      const std::uint64_t position = rule.serviceCallsOnly ? serviceSequence_ : args.sequence;
      if (!GlobMatches(rule.object.c_str(), object.c_str()) ||
          !GlobMatches(rule.method.c_str(), method))
        continue;
      if (rule.index && args.index != rule.index) continue;
      if (rule.iid && !(args.iid && *args.iid == *rule.iid)) continue;
      if (rule.fromSequence && position < *rule.fromSequence) continue;
      ++active.seen;
      if (active.seen <= rule.skip || active.fired >= rule.times) continue;
      ++active.fired;
      ++faultsInjected_;
      call.injected = rule.result;
      break;
    }
  }
  if (recording_) {
    args.object = object;
    args.method = method;
    calls_.push_back(std::move(args));
    call.record = calls_.size() - 1;
  }
  return call;
}

HRESULT World::Finish(const Call& call, HRESULT result) {
  // An injected failure stands whatever the method did; an injected success
  // code replaces S_OK once the outputs are delivered.
  HRESULT answered = result;
  if (call.injected && (FAILED(*call.injected) || result == S_OK)) answered = *call.injected;
  if (call.record < calls_.size()) calls_[call.record].result = answered;
  return answered;
}

void World::Violation(std::string what) {
  violations_.push_back(std::move(what));
  if (std::getenv("SIM_ABORT_ON_VIOLATION") != nullptr) {
    std::fprintf(stderr, "simulated audio: %s\n", violations_.back().c_str());
    std::abort();
  }
}

std::size_t World::LiveReferences() const {
  std::size_t references = 0;
  for (const auto& object : objects_)
    if (!object->released()) references += object->references();
  return references;
}

std::size_t World::LiveObjects() const {
  std::size_t live = 0;
  for (const auto& object : objects_)
    if (!object->released()) ++live;
  return live;
}

std::vector<std::string> World::LiveObjectLabels() const {
  std::vector<std::string> labels;
  for (const auto& object : objects_)
    if (!object->released()) labels.push_back(object->label());
  return labels;
}

void World::CollectReleased() {
  objects_.erase(std::remove_if(objects_.begin(), objects_.end(),
                                [](const auto& object) { return object->released(); }),
                 objects_.end());
}

int World::ComDepth() const { return threadCom.depth; }

HRESULT World::EnterApartment(bool multithreaded) {
  const Apartment wanted = multithreaded ? Apartment::MultiThreaded : Apartment::SingleThreaded;
  if (threadCom.apartment != Apartment::None && threadCom.apartment != wanted)
    return RPC_E_CHANGED_MODE;
  threadCom.apartment = wanted;
  return ++threadCom.depth == 1 ? S_OK : S_FALSE;
}

void World::LeaveApartment() {
  if (threadCom.depth == 0) {
    Violation("CoUninitialize without a matching successful CoInitialize");
    return;
  }
  if (--threadCom.depth == 0) threadCom.apartment = Apartment::None;
}

std::vector<std::string> World::Problems() const {
  std::vector<std::string> problems;
  for (const auto& object : objects_)
    if (!object->released())
      problems.push_back("reference leaked: " + object->label() + " (" +
                         std::to_string(object->references()) + " held)");
  if (!coTaskMem_.empty())
    problems.push_back(std::to_string(coTaskMem_.size()) + " CoTaskMem block(s) not freed");
  if (!bstrs_.empty()) problems.push_back(std::to_string(bstrs_.size()) + " BSTR(s) not freed");
  if (!otherTaskMemory_.empty())
    problems.push_back(std::to_string(otherTaskMemory_.size()) +
                       " block(s) of the platform's task allocator not freed (BSTRs, strings)");
  if (!heap_.empty())
    problems.push_back(std::to_string(heap_.size()) + " library heap block(s) not freed");
  problems.insert(problems.end(), violations_.begin(), violations_.end());
  if (threadCom.depth != 0)
    problems.push_back("COM left initialised " + std::to_string(threadCom.depth) +
                       " time(s) on this thread");
  return problems;
}

bool World::AllocationAllowed(const char* method) {
  const Call call = Begin("runtime", method, {}, true);
  Finish(call, FailsEarly(call) ? *call.injected : S_OK);
  return !FailsEarly(call);
}

void* World::AllocateBlock(std::unordered_set<void*>& blocks, const char* method,
                           std::size_t bytes) {
  if (!AllocationAllowed(method)) return nullptr;
  void* block = &blocks == &coTaskMem_ ? edge::AllocateTaskMemory(bytes == 0 ? 1 : bytes)
                                       : std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) return nullptr;
  otherTaskMemory_.erase(block);
  blocks.insert(block);
  ++(&blocks == &heap_ ? allocations_.heap : allocations_.coTaskMem);
  return block;
}

bool World::Untrack(std::unordered_set<void*>& blocks, void* block, const char* freer) {
  if (blocks.erase(block) != 0) return true;
  Violation(std::string(freer) + " of a block that is not allocated (freed twice?)");
  return false;
}

void* World::AllocateCoTaskMem(std::size_t bytes) {
  return AllocateBlock(coTaskMem_, "CoTaskMemAlloc", bytes);
}

bool World::FreeCoTaskMem(void* block) {
  if (block == nullptr) return true;
  if (!Untrack(coTaskMem_, block, "CoTaskMemFree")) return false;
  edge::FreeTaskMemory(block);
  return true;
}

void World::NoteTaskMemoryAllocated(void* block, bool watchOthers) {
  freedTaskMemory_.erase(block);
  // Until AllocateBlock claims it as the service's.
  if (watchOthers) otherTaskMemory_.insert(block);
}

void World::NoteTaskMemoryMoved(void* from, void* to) {
  freedTaskMemory_.erase(to);
  if (coTaskMem_.erase(from) != 0) {
    coTaskMem_.insert(to);
  } else if (otherTaskMemory_.erase(from) != 0) {
    otherTaskMemory_.insert(to);
  }
}

void World::NoteTaskMemoryFreed(void* block) {
  if (otherTaskMemory_.erase(block) != 0) return;
  if (coTaskMem_.erase(block) != 0) {
    freedTaskMemory_.insert(block);
  } else if (freedTaskMemory_.count(block) != 0) {
    Violation("CoTaskMemFree of a block that is not allocated (freed twice?)");
  }
}

BSTR World::AllocateBstr(const WCHAR* text, UINT length, const char* method) {
  if (!AllocationAllowed(method)) return nullptr;
  const std::uint32_t bytes = length * sizeof(WCHAR);
  auto* block = static_cast<char*>(std::calloc(1, sizeof(std::uint32_t) + bytes + sizeof(WCHAR)));
  std::memcpy(block, &bytes, sizeof bytes);
  auto* result = reinterpret_cast<BSTR>(block + sizeof(std::uint32_t));
  if (text != nullptr) std::memcpy(result, text, bytes);
  bstrs_.insert(result);
  ++allocations_.bstrs;
  return result;
}

bool World::FreeBstr(BSTR text) {
  if (text == nullptr) return true;
  if (!Untrack(bstrs_, text, "SysFreeString")) return false;
  std::free(reinterpret_cast<char*>(text) - sizeof(std::uint32_t));
  return true;
}

void* World::AllocateHeap(std::size_t bytes) {
  return AllocateBlock(heap_, "LibraryMalloc", bytes);
}

bool World::FreeHeap(void* block) {
  if (block == nullptr) return true;
  if (!Untrack(heap_, block, "LibraryFree")) return false;
  std::free(block);
  return true;
}

// --- SimObject ---

World::Call SimObject::Begin(const char* method, CallRecord args) {
  World& world = World::Get();
  if (released_) {
    world.Violation("call to " + label_ + "." + method + " after its last release");
    World::Call call = world.Begin(label_, method, std::move(args), false);
    call.injected = E_UNEXPECTED;
    return call;
  }
  return world.Begin(label_, method, std::move(args), true);
}

ULONG SimObject::CountAddRef() {
  World& world = World::Get();
  world.Begin(label_, "AddRef", {}, false);
  if (released_) {
    world.Violation("AddRef on " + label_ + " after its last release");
    return 0;
  }
  return ++references_;
}

ULONG SimObject::CountRelease() {
  World& world = World::Get();
  world.Begin(label_, "Release", {}, false);
  if (released_) {
    world.Violation("Release of " + label_ + " past zero");
    return 0;
  }
  if (--references_ == 0) released_ = true;  // poisoned: any later call is a violation
  return references_;
}

// --- descriptions ---

std::string DescribeResult(HRESULT hr) {
  switch (hr) {
    case S_OK:
      return "S_OK";
    case S_FALSE:
      return "S_FALSE";
    case E_FAIL:
      return "E_FAIL";
    case E_NOINTERFACE:
      return "E_NOINTERFACE";
    case E_NOTIMPL:
      return "E_NOTIMPL";
    case E_POINTER:
      return "E_POINTER";
    case E_INVALIDARG:
      return "E_INVALIDARG";
    case E_OUTOFMEMORY:
      return "E_OUTOFMEMORY";
    case E_NOTFOUND:
      return "E_NOTFOUND";
    case E_UNEXPECTED:
      return "E_UNEXPECTED";
    case RPC_E_CHANGED_MODE:
      return "RPC_E_CHANGED_MODE";
    case CO_E_NOTINITIALIZED:
      return "CO_E_NOTINITIALIZED";
    default: {
      char text[16];
      std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
      return text;
    }
  }
}

std::string Narrow(const std::u16string& text) {
  std::string narrow;
  for (char16_t unit : text) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
  return narrow;
}

std::u16string FromWide(const WCHAR* text) {
  static_assert(sizeof(WCHAR) == sizeof(char16_t));
  std::u16string wide;
  for (; *text != 0; ++text) wide += static_cast<char16_t>(*text);
  return wide;
}

}  // namespace sim
