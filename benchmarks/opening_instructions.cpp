// Instructions of one opening of each generated graph, under callgrind: for
// every shape and size, a warm-up opening, then `Openings` openings bracketed
// by callgrind client requests, so that one run of
//
//   valgrind --tool=callgrind velmora_opening_instructions
//
// leaves one dump per graph, described "<shape>/<parts>/<openings>".
// tools/pictures/plot_opening.py runs it and plots instructions per part.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <string>

#include "VelmoraSound.h"
#include "generated_cards.h"

int main() {
  constexpr int Openings = 4;
  sim::World& world = sim::World::Get();
  for (bench::GraphShape shape : {bench::GraphShape::WideInputs, bench::GraphShape::ManyConnectors,
                                  bench::GraphShape::LongChain})
    for (int size : {10, 100, 1000, 10000}) {
      world.Reset();
      const int parts = bench::InstallGraph(world, shape, size);
      world.SetRecording(false);
      bench::OpenGraph(shape);
      CALLGRIND_ZERO_STATS;
      for (int opening = 0; opening < Openings; ++opening) bench::OpenGraph(shape);
      const std::string label = std::string(bench::ShapeName(shape)) + "/" + std::to_string(parts) +
                                "/" + std::to_string(Openings);
      CALLGRIND_DUMP_STATS_AT(label.c_str());
      CloseSoundCard(0);
      if (!world.Problems().empty()) {
        std::fprintf(stderr, "%s: %s\n", label.c_str(), world.Problems().front().c_str());
        return 1;
      }
      std::printf("%s\n", label.c_str());
    }
  return 0;
}
