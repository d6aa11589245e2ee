// Every host scenario, run again with a fault at each platform call in turn:
// once (transient) and from there on (persistent), with each of a few results.
// Each run must keep every export's contract, leak nothing, release nothing
// twice, use nothing after release and leave COM as the host had it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "scenarios.h"
#include "simulated_audio.h"

namespace {

struct SweepResult {
  int runs = 0;
  std::uint64_t faults = 0;
  std::vector<std::string> failures;
};

SweepResult Sweep(const Scenario& scenario) {
  sim::World& world = sim::World::Get();
  StartHostSession();
  world.SetRecording(false);
  {
    HostContract host;
    scenario.run(host);
    EndHostSession(host);
  }
  const std::uint64_t calls = world.InjectableCalls();

  SweepResult sweep;
  const HRESULT results[] = {E_FAIL, S_FALSE, E_NOINTERFACE, E_NOTFOUND, E_OUTOFMEMORY};
  for (std::uint64_t n = 1; n <= calls; ++n) {
    for (HRESULT result : results) {
      for (bool persistent : {false, true}) {
        StartHostSession();
        world.SetRecording(false);
        sim::FaultRule fault;
        fault.fromSequence = n;
        fault.result = result;
        fault.times = persistent ? UINT32_MAX : 1;
        world.Inject(fault);
        HostContract host;
        scenario.run(host);
        const std::vector<std::string> problems = EndHostSession(host);
        ++sweep.runs;
        sweep.faults += world.FaultsInjected();
        if (!problems.empty() && sweep.failures.size() < 10)
          sweep.failures.push_back("call " + std::to_string(n) + (persistent ? " on, " : ", ") +
                                   sim::DescribeResult(result) + ": " + problems.front());
      }
    }
  }
  std::printf("fault sweep: \"%s\": %llu platform calls, %d runs, %llu faults injected\n",
              scenario.name, static_cast<unsigned long long>(calls), sweep.runs,
              static_cast<unsigned long long>(sweep.faults));
  return sweep;
}

class FaultSweep : public ::testing::TestWithParam<Scenario> {};

TEST_P(FaultSweep, KeepsEveryContractWhereverThePlatformFails) {
  const SweepResult sweep = Sweep(GetParam());
  EXPECT_GT(sweep.runs, 0);
  EXPECT_THAT(sweep.failures, ::testing::IsEmpty());
  sim::World::Get().Reset();
}

INSTANTIATE_TEST_SUITE_P(Scenarios, FaultSweep, ::testing::ValuesIn(SweptScenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& param) {
                           return "scenario" + std::to_string(param.index);
                         });

TEST(HostScenarios, RunCleanWithoutFaults) {
  for (const Scenario& scenario : HostScenarios()) {
    StartHostSession();
    HostContract host;
    scenario.run(host);
    EXPECT_THAT(EndHostSession(host), ::testing::IsEmpty()) << scenario.name;
  }
  sim::World::Get().Reset();
}

}  // namespace
