// Many open, set and close cycles on a reference card: the process's memory
// and the simulated service's live objects must stay flat. The number of
// cycles comes from VELMORA_SOAK_CYCLES (100,000 for the full soak).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "VelmoraSound.h"
#include "scenarios.h"
#include "simulated_audio.h"

namespace {

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

int Cycles() {
  const char* text = std::getenv("VELMORA_SOAK_CYCLES");
  return text != nullptr ? std::atoi(text) : 5000;
}

TEST(Soak, OpenSetCloseCyclesStayFlat) {
  const int cycles = Cycles();
  ASSERT_GT(cycles, 1000);
  sim::World& world = sim::World::Get();
  StartHostSession();
  world.SetRecording(false);
  long residentAtThousand = 0;
  for (int cycle = 0; cycle < cycles; ++cycle) {
    int status = -1;
    ASSERT_EQ(OpenSoundCard("5f3e1d2a", "8b1f2c3d", "d4b2e8f1"), 0);
    SetMasterVolume(cycle % 101, &status);
    SetLinePlayBack(cycle % 57, &status);
    SetMicSliderBoost(cycle % 31, &status);
    SetBass((cycle % 17) - 8.0, &status);
    GetMasterVolume(&status);
    ASSERT_EQ(status, StatusOk);
    CloseSoundCard(static_cast<unsigned char>(cycle % 2));
    world.CollectReleased();
    ASSERT_EQ(world.LiveObjects(), 0u) << "cycle " << cycle;
    ASSERT_EQ(
        world.OutstandingHeapBlocks() + world.OutstandingCoTaskMem() + world.OutstandingBstrs(), 0u)
        << "cycle " << cycle;
    if (cycle == 999) residentAtThousand = ResidentBytes();
  }
  const long residentAtEnd = ResidentBytes();
  std::printf("soak: %d cycles, resident memory %ld KiB after 1,000 cycles, %ld KiB at the end\n",
              cycles, residentAtThousand / 1024, residentAtEnd / 1024);
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer holds freed memory back on purpose
  EXPECT_LE(residentAtEnd - residentAtThousand, 256 * 1024);
#endif
  EXPECT_TRUE(world.Problems().empty());
  world.Reset();
}

}  // namespace
