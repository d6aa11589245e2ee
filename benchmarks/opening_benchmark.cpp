// How the opening and enumeration exports scale with the card: endpoints per
// flow (the lookup's cost) and parts per adapter (the discovery's cost). Each
// case reports its time per endpoint or per part, the platform calls and the
// allocations of one opening: the library's own heap blocks and the platform
// strings (CoTaskMem, BSTR) it has the platform allocate.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "VelmoraSound.h"
#include "generated_cards.h"
#include "simulated_audio.h"

namespace {

sim::World& World() { return sim::World::Get(); }

// A fresh world with the call log off; `install` builds the machine.
template <class Install>
void Prepare(Install install) {
  World().Reset();
  install(World());
  World().SetRecording(false);
}

// Released simulated objects stay until collected; long runs collect now and
// then (its cost is the simulation's, spread thinly over the iterations).
void CollectNowAndThen(std::int64_t iteration) {
  if (iteration % 256 == 255) World().CollectReleased();
}

// Counters per iteration of `calls`, `heap`, `coTaskMem`, `bstrs` measured
// over one more run of `body` outside the timed loop.
template <class Body>
void CountOneRun(benchmark::State& state, Body body) {
  const std::uint64_t calls = World().InjectableCalls();
  const sim::World::AllocationTotals before = World().Allocations();
  body();
  const sim::World::AllocationTotals& after = World().Allocations();
  state.counters["platform_calls"] = double(World().InjectableCalls() - calls);
  state.counters["library_heap_blocks"] = double(after.heap - before.heap);
  state.counters["platform_strings"] =
      double(after.coTaskMem - before.coTaskMem + after.bstrs - before.bstrs);
}

// Times `body`, counts one more run of it, and reports the time per `unit`;
// then closes the card and checks that nothing leaked.
template <class Body>
void Measure(benchmark::State& state, Body body, double units, const char* unit) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(body());
    CollectNowAndThen(state.iterations());
  }
  CountOneRun(state, body);
  state.counters[std::string("per_") + unit] = benchmark::Counter(
      units, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  CloseSoundCard(0);
  World().CollectReleased();
  if (!World().Problems().empty()) state.SkipWithError(World().Problems().front().c_str());
}

void OpenSoundCardByEndpoints(benchmark::State& state) {
  const int perFlow = static_cast<int>(state.range(0));
  Prepare([perFlow](sim::World& world) { bench::InstallManyEndpoints(world, perFlow); });
  const std::string play = bench::PlaybackTarget(perFlow);
  const std::string mic = bench::CaptureTarget(perFlow);
  auto open = [&] { return OpenSoundCard(play.c_str(), mic.c_str(), ""); };
  if (open() != 0) state.SkipWithError("the generated card did not open");
  Measure(state, open, perFlow, "endpoint");
}

void OpenDefaultDevicesByEndpoints(benchmark::State& state) {
  const int perFlow = static_cast<int>(state.range(0));
  Prepare([perFlow](sim::World& world) { bench::InstallManyEndpoints(world, perFlow); });
  // Each opening starts from a closed card, as a host's would.
  auto open = [] {
    CloseSoundCard(0);
    return OpenDefaultDevices();
  };
  if (open() != 0) state.SkipWithError("the generated defaults did not open");
  Measure(state, open, perFlow, "endpoint");
}

void EnumerateEndpoints(benchmark::State& state) {
  const int perFlow = static_cast<int>(state.range(0));
  Prepare([perFlow](sim::World& world) { bench::InstallManyEndpoints(world, perFlow); });
  // What a host's device list does: count, then describe the last endpoint.
  auto list = [perFlow] {
    unsigned count = 0;
    char name[256], id[256];
    GetNumberPlayDevices(&count);
    GetPlayBackDevice(static_cast<unsigned>(perFlow - 1), name, id);
    GetNumberRecordDevices(&count);
    return GetRecordDevice(static_cast<unsigned>(perFlow - 1), name, id);
  };
  if (list() != 0) state.SkipWithError("the last endpoint could not be described");
  Measure(state, list, perFlow, "endpoint");
}

template <bench::GraphShape Shape>
void DiscoverGraph(benchmark::State& state) {
  int parts = 0;
  Prepare([&](sim::World& world) {
    parts = bench::InstallGraph(world, Shape, static_cast<int>(state.range(0)));
  });
  const bool capture = Shape == bench::GraphShape::ManyConnectors;
  auto open = [] { return bench::OpenGraph(Shape); };
  const int result = open();
  // Whether the discovery found what the card offers.
  int status = -1;
  if (capture) {
    GetMicSliderBoost(&status);
  } else {
    GetLinePlayBack(&status);
    if (status == StatusOk) GetMicPlayBack(&status);
  }
  state.counters["open_result"] = result;
  state.counters["inputs_found"] = status == StatusOk;
  state.counters["parts"] = parts;
  Measure(state, open, parts, "part");
}

void EndpointCounts(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("endpoints_per_flow")->Arg(1)->Arg(10)->Arg(100)->Arg(1000);
}

void PartCounts(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("parts")->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);
}

BENCHMARK(OpenSoundCardByEndpoints)->Apply(EndpointCounts);
BENCHMARK(OpenDefaultDevicesByEndpoints)->Apply(EndpointCounts);
BENCHMARK(EnumerateEndpoints)->Apply(EndpointCounts);
BENCHMARK(DiscoverGraph<bench::GraphShape::WideInputs>)
    ->Name("Discover/wide_inputs")
    ->Apply(PartCounts);
BENCHMARK(DiscoverGraph<bench::GraphShape::ManyConnectors>)
    ->Name("Discover/many_connectors")
    ->Apply(PartCounts);
BENCHMARK(DiscoverGraph<bench::GraphShape::LongChain>)
    ->Name("Discover/long_chain_adversarial")
    ->Apply(PartCounts);

}  // namespace
