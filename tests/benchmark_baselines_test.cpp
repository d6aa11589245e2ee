// The benchmarks' cases: each baseline must make exactly its export's platform
// calls, each export must reach a control that exists, the setters must change
// what they write from one call to the next, and no export may allocate.
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "control_cases.h"
#include "mixer_test.h"

// Every operator new of this program is counted. They stay out of line: inlined,
// their malloc() and free() would look to the compiler like mismatched pairs.
namespace {
std::atomic<unsigned long long> allocations{0};
}  // namespace

__attribute__((noinline)) void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new[](std::size_t size) { return operator new(size); }
__attribute__((noinline)) void operator delete(void* block) noexcept { std::free(block); }
__attribute__((noinline)) void operator delete[](void* block) noexcept { std::free(block); }
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
__attribute__((noinline)) void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}

namespace control_cases {
void PrintTo(const ControlCase& controlCase, std::ostream* out) { *out << controlCase.name; }
}  // namespace control_cases

namespace {

using control_cases::CallLog;
using control_cases::CaseCall;
using control_cases::ControlCase;

// Calls on one step, each described by every field the simulated service
// records but its position in the log.
using StepLog = std::vector<std::string>;

std::string Describe(const sim::CallRecord& call) {
  std::string text = call.object + "." + call.method;
  char field[64];
  if (call.index) text += " index=" + std::to_string(*call.index);
  if (call.iid) {
    const IID& iid = *call.iid;
    std::snprintf(field, sizeof field, " iid=%08X-%04X-%04X-", static_cast<unsigned>(iid.Data1),
                  static_cast<unsigned>(iid.Data2), static_cast<unsigned>(iid.Data3));
    text += field;
    for (unsigned char byte : iid.Data4) {
      std::snprintf(field, sizeof field, "%02X", byte);
      text += field;
    }
  }
  if (call.level) text += " level=" + FloatBits(*call.level);
  if (call.value) text += " value=" + std::to_string(*call.value);
  if (call.nullContext) text += *call.nullContext ? " context=null" : " context=given";
  if (!call.text.empty()) text += " text=" + sim::Narrow(call.text);
  text += " -> " + sim::DescribeResult(call.result);
  return text;
}

// The writes (calls given an event context) among a step's calls.
StepLog WritesOf(const std::vector<sim::CallRecord>& calls) {
  StepLog writes;
  for (const sim::CallRecord& call : calls)
    if (call.nullContext) writes.push_back(Describe(call));
  return writes;
}

struct Recording {
  std::vector<StepLog> steps;   // every call of each step
  std::vector<StepLog> writes;  // the writes of each step
  std::vector<int> results;
};

class BenchmarkBaselinesTest : public MixerTest, public ::testing::WithParamInterface<ControlCase> {
 protected:
  // Opens the case's card afresh and records `steps` calls of `call`.
  static Recording Record(CaseCall call, unsigned steps) {
    Recording recording;
    const std::string problem = control_cases::OpenCard(GetParam().card, CallLog::Kept);
    EXPECT_EQ(problem, "");
    for (unsigned step = 0; step < steps; ++step) {
      world().ClearCalls();
      recording.results.push_back(call(step));
      StepLog log;
      for (const sim::CallRecord& record : world().Calls()) log.push_back(Describe(record));
      recording.steps.push_back(log);
      recording.writes.push_back(WritesOf(world().Calls()));
    }
    control_cases::CloseCard();
    return recording;
  }

  static bool IsSetter() { return std::strncmp(GetParam().name, "Set", 3) == 0; }
};

TEST_P(BenchmarkBaselinesTest, TheBaselineMakesTheExportsCallsAndTheExportSucceeds) {
  const unsigned steps = 4;  // both values of a setter, twice
  const Recording library = Record(GetParam().library, steps);
  ExpectCleanAfterClosing("after the export's calls");
  const Recording baseline = Record(GetParam().baseline, steps);

  for (unsigned step = 0; step < steps; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    EXPECT_EQ(library.results[step], StatusOk);
    EXPECT_THAT(baseline.steps[step], ::testing::ElementsAreArray(library.steps[step]));
  }
  // A setter writes on every call, and not the same as on the call before.
  if (IsSetter()) {
    for (unsigned step = 0; step < steps; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      EXPECT_THAT(library.writes[step], ::testing::Not(::testing::IsEmpty()));
      if (step > 0) {
        EXPECT_NE(library.writes[step], library.writes[step - 1]);
      }
    }
  }
}

TEST_P(BenchmarkBaselinesTest, TheExportAllocatesNothing) {
  ASSERT_EQ(control_cases::OpenCard(GetParam().card, CallLog::Off), "");
  const CaseCall call = GetParam().library;
  call(0);
  call(1);
  const unsigned long long before = allocations.load();
  int results[4];
  for (unsigned step = 0; step < 4; ++step) results[step] = call(step);
  const unsigned long long allocated = allocations.load() - before;
  control_cases::CloseCard();
  EXPECT_EQ(allocated, 0u);
  for (int result : results) EXPECT_EQ(result, StatusOk);
}

// The counter above must see what it is meant to count.
class AllocationCounterTest : public MixerTest {};

TEST_F(AllocationCounterTest, CountsAllocationsByNew) {
  const unsigned long long before = allocations.load();
  auto text = std::make_unique<std::string>(100, 'x');
  EXPECT_GE(allocations.load() - before, 2u);  // the string and its characters
}

std::string CaseName(const ::testing::TestParamInfo<ControlCase>& info) {
  std::string name = info.param.name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryControlExport, BenchmarkBaselinesTest,
                         ::testing::ValuesIn(control_cases::ControlCases()), CaseName);

}  // namespace
