// Each control export beside its baseline (the same platform calls made
// directly), over the simulated service with its call log off and no fault
// rules. `allocs_per_call` counts every heap allocation of the process during
// the timed calls: the library's, the simulated service's and the C++
// runtime's; `platform_allocs_per_call` counts those among them that went
// through the platform (CoTaskMem blocks, BSTRs and the library's own heap).
// The exports must read 0 on both.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "VelmoraSound.h"
#include "control_cases.h"
#include "simulated_audio.h"

// --- counting every allocation ---
//
// malloc and its relatives are replaced for the whole process and forward to
// the C library's own allocator, so that operator new (which allocates through
// malloc), the simulated service's blocks and the library's heap are all
// counted. Functions not replaced here still allocate from the same heap, so
// whatever they hand out is freed correctly below.

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {
std::atomic<unsigned long long> allocations{0};
void Count() { allocations.fetch_add(1, std::memory_order_relaxed); }
}  // namespace

extern "C" {
void* malloc(std::size_t size) noexcept {
  Count();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
  Count();
  return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) noexcept {
  Count();
  return __libc_realloc(block, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
  Count();
  return __libc_memalign(alignment, size);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept {
  Count();
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** block, std::size_t alignment, std::size_t size) noexcept {
  if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
  Count();
  void* result = __libc_memalign(alignment, size);
  if (result == nullptr) return ENOMEM;
  *block = result;
  return 0;
}
void free(void* block) noexcept { __libc_free(block); }
}

namespace {

using control_cases::CallLog;
using control_cases::CaseCall;
using control_cases::ControlCase;

// The counter must see both kinds of allocation, or the figures mean nothing.
bool CounterSeesAllocations() {
  const unsigned long long before = allocations.load();
  void* block = std::malloc(16);
  benchmark::DoNotOptimize(block);
  std::free(block);
  auto* object = new std::string(64, 'x');
  benchmark::DoNotOptimize(object);
  delete object;
  return allocations.load() - before >= 2;
}

unsigned long long PlatformAllocations() {
  const sim::World::AllocationTotals& totals = sim::World::Get().Allocations();
  return totals.coTaskMem + totals.bstrs + totals.heap;
}

void Measure(benchmark::State& state, const ControlCase& controlCase, CaseCall call, bool library) {
  const std::string problem = control_cases::OpenCard(controlCase.card, CallLog::Off);
  if (!problem.empty()) {
    state.SkipWithError(problem.c_str());
    control_cases::CloseCard();
    return;
  }
  // Two calls first: the export must reach its control, and the alternating
  // values start again from the first.
  for (unsigned step = 0; step < 2; ++step) {
    const int result = call(step);
    if (library && result != StatusOk) {
      state.SkipWithError(("the export reported status " + std::to_string(result)).c_str());
      control_cases::CloseCard();
      return;
    }
  }

  unsigned step = 0;
  const unsigned long long platformBefore = PlatformAllocations();
  const unsigned long long before = allocations.load(std::memory_order_relaxed);
  for (auto _ : state) benchmark::DoNotOptimize(call(step++));
  const unsigned long long after = allocations.load(std::memory_order_relaxed);
  const unsigned long long platformAfter = PlatformAllocations();
  state.counters["allocs_per_call"] =
      benchmark::Counter(static_cast<double>(after - before), benchmark::Counter::kAvgIterations);
  state.counters["platform_allocs_per_call"] = benchmark::Counter(
      static_cast<double>(platformAfter - platformBefore), benchmark::Counter::kAvgIterations);
  control_cases::CloseCard();
}

const bool registered = [] {
  if (!CounterSeesAllocations()) {
    std::fprintf(stderr, "the allocation counter does not see allocations\n");
    std::abort();
  }
  for (const ControlCase& controlCase : control_cases::ControlCases()) {
    const std::string name = controlCase.name;
    benchmark::RegisterBenchmark((name + "/library").c_str(), [&controlCase](benchmark::State& s) {
      Measure(s, controlCase, controlCase.library, true);
    });
    benchmark::RegisterBenchmark((name + "/baseline").c_str(), [&controlCase](benchmark::State& s) {
      Measure(s, controlCase, controlCase.baseline, false);
    });
  }
  return true;
}();

}  // namespace
