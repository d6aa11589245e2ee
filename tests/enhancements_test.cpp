// The microphone boost, the line monitor switch and the tone controls.
#include <cmath>
#include <limits>

#include "reference_cards.h"
#include "topology_test.h"

namespace {

class EnhancementsTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    sim::InstallReferenceMachine(world());
  }
  static void Open(const char* playback, const char* mic, const char* line) {
    ASSERT_EQ(OpenSoundCard(playback, mic, line), 0);
    world().ClearCalls();
  }
  static sim::Part& PartOf(const char* endpoint, const char* part) {
    return (*world().FindEndpoint(endpoint)->connectedTo->adapter)[part];
  }
  struct Details {
    int result, status, low, high, step;
  };
  static Details SliderDetails() {
    Details d{-1, -1, 7, 7, 7};
    d.result = GetMicSliderDetails(&d.status, &d.low, &d.high, &d.step);
    return d;
  }
};

TEST_F(EnhancementsTest, ABoostSwitchPassesItsStateThroughAndLeavesTheLevelExportsOut) {
  Open("", "3e7a9c12", "");  // the USB microphone: a loudness switch
  EXPECT_EQ(CallWithStatus(SetMicBoost, 2), (ExportResult{0, StatusOk}));
  EXPECT_EQ(PartOf("usb-mic", "boost").loudness, 2);
  EXPECT_EQ(world().CallsTo("usb.boost.loudness", "SetEnabled").back().nullContext, true);
  EXPECT_EQ(CallWithStatus(GetMicBoost), (ExportResult{2, StatusOk}));
  Fail("usb.boost.loudness", "*", S_FALSE);
  EXPECT_EQ(CallWithStatus(SetMicBoost, 1), (ExportResult{0, StatusFailed}));
  EXPECT_EQ(CallWithStatus(GetMicBoost), (ExportResult{0, StatusFailed}));

  const Details details = SliderDetails();
  EXPECT_EQ(details.result, 1);
  EXPECT_EQ(details.status, StatusNoControl);
  EXPECT_EQ(details.low + details.high + details.step, 21);  // untouched
  EXPECT_EQ(CallWithStatus(GetMicSliderBoost), (ExportResult{0, StatusNoControl}));
  EXPECT_EQ(CallWithStatus(SetMicSliderBoost, 10), (ExportResult{1, StatusNoControl}));
}

TEST_F(EnhancementsTest, ABoostLevelCrossesInWholeDecibels) {
  PartOf("mic-array", "boost").Volume(0.0f, 30.0f, 10.0f, 29.9f, 2);
  Open("", "8b1f2c3d", "");
  Details details = SliderDetails();
  EXPECT_EQ(details.result, 0);
  EXPECT_EQ(details.status, StatusOk);
  EXPECT_EQ(details.low, 0);
  EXPECT_EQ(details.high, 30);
  EXPECT_EQ(details.step, 10);
  EXPECT_EQ(CallWithStatus(GetMicSliderBoost), (ExportResult{29, StatusOk}));

  EXPECT_EQ(CallWithStatus(SetMicSliderBoost, 20), (ExportResult{0, StatusOk}));
  sim::LevelControl& boost = *PartOf("mic-array", "boost").volume;
  EXPECT_EQ(boost.channels[0].levelDb, 20.0f);
  EXPECT_EQ(boost.channels[1].levelDb, 29.9f);  // channel 0 only
  EXPECT_EQ(world().CallsTo("array.boost.volume", "SetLevel").back().nullContext, true);

  boost.channels[0].levelDb = -0.5f;
  EXPECT_EQ(CallWithStatus(GetMicSliderBoost), (ExportResult{0, StatusOk}));
  boost.channels[0].minDb = -12.5f;
  EXPECT_EQ(SliderDetails().low, -12);  // toward zero

  // A level out of range is handed on; the platform's refusal fails the call.
  Fail("array.boost.volume", "SetLevel", E_INVALIDARG);
  EXPECT_EQ(CallWithStatus(SetMicSliderBoost, 40), (ExportResult{1, StatusFailed}));
  EXPECT_EQ(world().CallsTo("array.boost.volume", "SetLevel").back().level, 40.0f);
  Fail("array.boost.volume", "GetLevelRange", S_FALSE);
  details = SliderDetails();
  EXPECT_EQ(details.result, 1);
  EXPECT_EQ(details.status, StatusFailed);
  EXPECT_EQ(details.low + details.high + details.step, 0);

  EXPECT_EQ(CallWithStatus(GetMicBoost), (ExportResult{0, StatusNoControl}));
  EXPECT_EQ(CallWithStatus(SetMicBoost, 1), (ExportResult{0, StatusNoControl}));
}

TEST_F(EnhancementsTest, TheMonitorSwitchIsTheGainControlsOwnState) {
  Open("", "", "d4b2e8f1");
  EXPECT_EQ(CallWithStatus(GetNoMonitor), (ExportResult{1, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetNoMonitor, 0), (ExportResult{0, StatusOk}));
  EXPECT_EQ(CallWithStatus(GetNoMonitor), (ExportResult{0, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetNoMonitor, 5), (ExportResult{0, StatusOk}));
  EXPECT_EQ(PartOf("line-in", "agc").autoGain, 5);
  Fail("linecap.agc.agc", "*", S_FALSE);
  EXPECT_EQ(CallWithStatus(GetNoMonitor), (ExportResult{0, StatusFailed}));
  EXPECT_EQ(CallWithStatus(SetNoMonitor, 1), (ExportResult{0, StatusFailed}));
}

TEST_F(EnhancementsTest, ToneRangeComesFromTheFirstToneControlHeld) {
  Open("5f3e1d2a", "", "");
  double low = 9, high = 9, step = 9;
  EXPECT_EQ(GetEQRange(&low, &high, &step), StatusOk);
  EXPECT_EQ(low, -12.0);
  EXPECT_EQ(high, 12.0);
  EXPECT_EQ(step, 1.5);
  EXPECT_EQ(CallCount("hda.tone.bass", "GetLevelRange"), 1u);
  EXPECT_EQ(CallCount("hda.tone.treble", "*"), 0u);

  // Then the midrange, then the treble.
  ReleaseSlot(Mixer.BassControl);
  PartOf("speakers", "midrange").midrange->channels[0].minDb = -9.0f;
  PartOf("speakers", "tone").treble->channels[0].minDb = -6.0f;
  EXPECT_EQ(GetEQRange(&low, &high, &step), StatusOk);
  EXPECT_EQ(low, -9.0);
  ReleaseSlot(Mixer.MidrangeControl);
  EXPECT_EQ(GetEQRange(&low, &high, &step), StatusOk);
  EXPECT_EQ(low, -6.0);
  Fail("hda.tone.treble", "GetLevelRange", E_FAIL);  // not examined
  EXPECT_EQ(GetEQRange(&low, &high, &step), StatusOk);
  EXPECT_EQ(low + high + step, 0.0);
  ReleaseSlot(Mixer.TrebleControl);
  EXPECT_EQ(GetEQRange(&low, &high, &step), StatusNoControl);
}

TEST_F(EnhancementsTest, ToneLevelsGoToEveryChannelAndComeFromChannelZero) {
  Open("5f3e1d2a", "", "");
  EXPECT_EQ(CallWithStatus(SetTreble, 3.25), (ExportResult{0, StatusOk}));
  const auto writes = world().CallsTo("hda.tone.treble", "SetLevel");
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].index, 0u);
  EXPECT_EQ(writes[1].index, 1u);
  EXPECT_EQ(writes[1].level, 3.25f);
  double level = 0.0;
  EXPECT_EQ(CallWithStatus(GetTreble, &level), (ExportResult{0, StatusOk}));
  EXPECT_EQ(level, 3.25);
  // A double reaches the platform as its nearest float, and back widened exactly.
  EXPECT_EQ(CallWithStatus(SetBass, 0.1), (ExportResult{0, StatusOk}));
  EXPECT_EQ(CallWithStatus(GetBass, &level), (ExportResult{0, StatusOk}));
  EXPECT_EQ(level, static_cast<double>(0.1f));
  SetBass(1e300, nullptr);
  EXPECT_EQ(world().CallsTo("hda.tone.bass", "SetLevel").back().level,
            std::numeric_limits<float>::infinity());
  // The midrange answers 1 on every path.
  EXPECT_EQ(CallWithStatus(SetMidRange, -1.5), (ExportResult{1, StatusOk}));
  EXPECT_EQ(CallWithStatus(GetMidRange, &level), (ExportResult{1, StatusOk}));
  EXPECT_EQ(level, -1.5);
}

TEST_F(EnhancementsTest, ToneResultsFollowTheLastChannelOrTheCountQuery) {
  Open("5f3e1d2a", "", "");
  const struct {
    Fault fault;
    std::optional<UINT> channel;
    ExportResult bass;
  } cases[] = {
      {{"hda.tone.bass", "SetLevel", E_INVALIDARG}, 0u, {0, StatusOk}},
      {{"hda.tone.bass", "SetLevel", E_INVALIDARG}, 1u, {1, StatusFailed}},
      {{"hda.tone.bass", "SetLevel", S_FALSE}, 1u, {1, StatusFailed}},
      {{"hda.tone.bass", "GetChannelCount", E_FAIL}, std::nullopt, {1, StatusFailed}},
  };
  for (const auto& c : cases) {
    world().ClearFaults();
    sim::FaultRule rule;
    rule.object = c.fault.object;
    rule.method = c.fault.method;
    rule.result = c.fault.result;
    rule.index = c.channel;
    world().Inject(rule);
    EXPECT_EQ(CallWithStatus(SetBass, 6.0), c.bass) << c.fault.Describe();
  }
  world().ClearFaults();
  world().ClearCalls();
  Fail("hda.tone.treble", "GetLevel", E_FAIL);
  double level = 9.0;
  EXPECT_EQ(CallWithStatus(GetTreble, &level), (ExportResult{1, StatusFailed}));
  EXPECT_EQ(level, 0.0);
  EXPECT_EQ(CallCount("hda.tone.bass", "SetLevel"), 0u);

  // No channel: nothing is written and the count query's success decides.
  PartOf("speakers", "tone").bass->channels.clear();
  PartOf("speakers", "midrange").midrange->channels.clear();
  EXPECT_EQ(CallWithStatus(SetBass, 6.0), (ExportResult{0, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetMidRange, 6.0), (ExportResult{1, StatusOk}));
  EXPECT_EQ(CallCount("hda.tone.bass", "SetLevel"), 0u);
}

}  // namespace
