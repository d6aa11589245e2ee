// Every sound-card control export stops at its guards with its own return value.
#include <functional>

#include "reference_cards.h"
#include "state/endpoint_lookup.h"
#include "topology_test.h"

namespace {

struct GuardCase {
  const char* name;
  std::function<ExportResult()> call;
  int stoppedReturn;  // what the export returns when a guard stops it
};

std::vector<GuardCase> ControlExports() {
  double level = 0.0;
  int a = 7, b = 7, c = 7;
  return {
      {"GetMasterVolume", [] { return CallWithStatus(GetMasterVolume); }, 0},
      {"SetMasterVolume", [] { return CallWithStatus(SetMasterVolume, 50); }, 0},
      {"GetMasterMute", [] { return CallWithStatus(GetMasterMute); }, 0},
      {"SetMasterMute", [] { return CallWithStatus(SetMasterMute, (unsigned char)1); }, 0},
      {"GetLinePlayBack", [] { return CallWithStatus(GetLinePlayBack); }, 0},
      {"SetLinePlayBack", [] { return CallWithStatus(SetLinePlayBack, 50); }, 0},
      {"GetLinePlayBackMute", [] { return CallWithStatus(GetLinePlayBackMute); }, 0},
      {"SetLinePlayBackMute", [] { return CallWithStatus(SetLinePlayBackMute, 1); }, 0},
      {"GetMicPlayBack", [] { return CallWithStatus(GetMicPlayBack); }, 0},
      {"SetMicPlayBack", [] { return CallWithStatus(SetMicPlayBack, 50); }, 0},
      {"GetMicPlayBackMute", [] { return CallWithStatus(GetMicPlayBackMute); }, 0},
      {"SetMicPlayBackMute", [] { return CallWithStatus(SetMicPlayBackMute, 1); }, 0},
      {"GetMicRecordVolume", [] { return CallWithStatus(GetMicRecordVolume); }, 0},
      {"SetMicRecordVolume", [] { return CallWithStatus(SetMicRecordVolume, 50); }, 0},
      {"GetLineRecordVolume", [] { return CallWithStatus(GetLineRecordVolume); }, 0},
      {"SetLineRecordVolume", [] { return CallWithStatus(SetLineRecordVolume, 50); }, 0},
      {"GetMicBoost", [] { return CallWithStatus(GetMicBoost); }, 0},
      {"SetMicBoost", [] { return CallWithStatus(SetMicBoost, 1); }, 0},
      {"GetMicSliderDetails",
       [a, b, c]() mutable {
         int status = -1;
         const int value = GetMicSliderDetails(&status, &a, &b, &c);
         EXPECT_EQ(a + b + c, 21) << "outputs left as they were";
         return ExportResult{value, status};
       },
       1},
      {"GetMicSliderBoost", [] { return CallWithStatus(GetMicSliderBoost); }, 0},
      {"SetMicSliderBoost", [] { return CallWithStatus(SetMicSliderBoost, 20); }, 1},
      {"GetNoMonitor", [] { return CallWithStatus(GetNoMonitor); }, 0},
      {"SetNoMonitor", [] { return CallWithStatus(SetNoMonitor, 1); }, 0},
      {"SetBass", [] { return CallWithStatus(SetBass, 3.0); }, 1},
      {"GetBass",
       [level]() mutable {
         level = 9.0;
         const ExportResult result = CallWithStatus(GetBass, &level);
         EXPECT_EQ(level, 0.0);
         return result;
       },
       1},
      {"SetTreble", [] { return CallWithStatus(SetTreble, 3.0); }, 1},
      {"GetTreble", [level]() mutable { return CallWithStatus(GetTreble, &level); }, 1},
      {"SetMidRange", [] { return CallWithStatus(SetMidRange, 3.0); }, 1},
      {"GetMidRange", [level]() mutable { return CallWithStatus(GetMidRange, &level); }, 1},
  };
}

using ControlGuardsTest = TopologyTest;

TEST_F(ControlGuardsTest, NoCardOpenThenNoControlHeld) {
  sim::InstallReferenceMachine(world());
  for (const GuardCase& c : ControlExports())
    EXPECT_EQ(c.call(), (ExportResult{c.stoppedReturn, StatusNotOpen})) << c.name;
  double low = 9, high = 9, step = 9;
  EXPECT_EQ(GetEQRange(&low, &high, &step), StatusNotOpen);
  EXPECT_EQ(low + high + step, 0.0);

  ASSERT_EQ(FindEndpointById("speakers", eRender), -1);
  ASSERT_EQ(FindEndpointById("5f3e1d2a", eRender), 0);  // open, with no control
  world().ClearCalls();
  for (const GuardCase& c : ControlExports())
    EXPECT_EQ(c.call(), (ExportResult{c.stoppedReturn, StatusNoControl})) << c.name;
  EXPECT_EQ(GetEQRange(&low, &high, &step), StatusNoControl);
  EXPECT_EQ(low + high + step, 0.0);
  // Not one platform call was made.
  EXPECT_THAT(world().Calls(), ::testing::IsEmpty());
}

}  // namespace
