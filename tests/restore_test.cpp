// Writing the values saved at opening back when the card is closed.
#include "controls/level_mapping.h"
#include "reference_cards.h"
#include "topology_test.h"

namespace {

class RestoreTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    sim::InstallReferenceMachine(world());
    world().FindEndpoint("mic-array")->volume.channelCount = 2;
    (*world().FindEndpoint("mic-array")->connectedTo->adapter)["boost"].Volume(0, 30, 10, 20, 2);
  }
  // Speakers, the microphone array with its boost level, and the line input.
  static void OpenCard() {
    ASSERT_EQ(OpenSoundCard("5f3e1d2a", "8b1f2c3d", "d4b2e8f1"), 0);
    world().ClearCalls();
  }
  static float LastLevel(const std::string& object, const std::string& method) {
    const auto calls = world().CallsTo(object, method);
    return calls.empty() ? -999.0f : *calls.back().level;
  }
  static std::int32_t LastValue(const std::string& object, const std::string& method) {
    const auto calls = world().CallsTo(object, method);
    return calls.empty() ? -999 : *calls.back().value;
  }
};

TEST_F(RestoreTest, WritesTheFourteenStepsInOrder) {
  OpenCard();
  ASSERT_EQ(CloseSoundCard(1), 0);
  std::vector<std::string> writes;
  for (const sim::CallRecord& call : world().Calls()) {
    if (call.method.rfind("Set", 0) != 0) continue;
    writes.push_back(call.object + "." + call.method +
                     (call.index ? "[" + std::to_string(*call.index) + "]" : ""));
    EXPECT_EQ(call.nullContext, true) << writes.back();
  }
  EXPECT_THAT(
      writes,
      ::testing::ElementsAre(
          "speakers.volume.SetChannelVolumeLevel[0]", "speakers.volume.SetChannelVolumeLevel[1]",
          "speakers.volume.SetMute", "hda.line-volume.volume.SetLevel[0]",
          "hda.line-volume.volume.SetLevel[1]", "hda.line-mute.mute.SetMute",
          "hda.mic-volume.volume.SetLevel[0]", "hda.mic-volume.volume.SetLevel[1]",
          "hda.mic-mute.mute.SetMute", "linecap.agc.agc.SetEnabled", "hda.tone.bass.SetLevel[0]",
          "hda.tone.bass.SetLevel[1]", "hda.midrange.midrange.SetLevel[0]",
          "hda.midrange.midrange.SetLevel[1]", "hda.tone.treble.SetLevel[0]",
          "hda.tone.treble.SetLevel[1]", "mic-array.volume.SetMasterVolumeLevel",
          "line-in.volume.SetMasterVolumeLevel", "array.boost.volume.SetLevel[0]"));
  // The line input's level asks for its range first, the microphone's for its channels.
  std::vector<std::string> lineQueries, micQueries;
  for (const auto& call : world().CallsTo("hda.line-volume.volume", "Get*"))
    lineQueries.push_back(call.method);
  for (const auto& call : world().CallsTo("hda.mic-volume.volume", "Get*"))
    micQueries.push_back(call.method);
  EXPECT_THAT(lineQueries, ::testing::ElementsAre("GetLevelRange", "GetChannelCount"));
  EXPECT_THAT(micQueries, ::testing::ElementsAre("GetChannelCount", "GetLevelRange"));
}

TEST_F(RestoreTest, LevelsComeBackThroughThePercentageScale) {
  OpenCard();
  OpenSnapshot& saved = Mixer.Snapshot;
  saved.SavedMasterLevel = -3.0f;         // 70 % of a 0 dB top
  saved.SavedLinePlaybackLevel = -10.0f;  // 7 % of a +12 dB top
  saved.SavedMicPlaybackLevel = -60.0f;   // under 1 %: the bottom
  saved.SavedMicRecordLevel = -17.25f;    // under 1 %: the bottom
  saved.SavedLineRecordLevel = -40.0f;    // under 1 %: yet 40 dB below the top
  saved.SavedBassLevel = 4.5f;
  saved.SavedMidrangeLevel = -1.5f;
  saved.SavedTrebleLevel = 10.5f;
  saved.SavedMicBoostLevel = 12.5f;
  saved.SavedMasterMute = 7;
  saved.SavedLinePlaybackMute = 2;
  saved.SavedMicPlaybackMute = 0;
  saved.SavedLineMonitorEnabled = 5;
  ASSERT_EQ(CloseSoundCard(1), 0);

  EXPECT_NEAR(LastLevel("speakers.volume", "SetChannelVolumeLevel"), -3.0980f, 0.0001f);
  EXPECT_EQ(LastLevel("speakers.volume", "SetChannelVolumeLevel"),
            PercentToDecibels(70, -65.25f, 0));
  EXPECT_NEAR(LastLevel("hda.line-volume.volume", "SetLevel"), -11.0980f, 0.0001f);
  EXPECT_EQ(LastLevel("hda.mic-volume.volume", "SetLevel"), -34.5f);
  EXPECT_EQ(LastLevel("mic-array.volume", "SetMasterVolumeLevel"), -17.25f);
  EXPECT_EQ(LastLevel("line-in.volume", "SetMasterVolumeLevel"), -28.0f);
  EXPECT_EQ(LastLevel("hda.tone.bass", "SetLevel"), 4.5f);
  EXPECT_EQ(LastLevel("hda.midrange.midrange", "SetLevel"), -1.5f);
  EXPECT_EQ(LastLevel("hda.tone.treble", "SetLevel"), 10.5f);
  EXPECT_EQ(LastLevel("array.boost.volume", "SetLevel"), 12.0f);
  EXPECT_EQ(LastValue("speakers.volume", "SetMute"), 1);
  EXPECT_EQ(LastValue("hda.line-mute.mute", "SetMute"), 2);
  EXPECT_EQ(LastValue("hda.mic-mute.mute", "SetMute"), 0);
  EXPECT_EQ(LastValue("linecap.agc.agc", "SetEnabled"), 5);
}

TEST_F(RestoreTest, TopLevelsAndNegativeBoostsComeBackExactlyOrTruncated) {
  OpenCard();
  Mixer.Snapshot.SavedMasterLevel = 0.0f;
  Mixer.Snapshot.SavedMicBoostLevel = -2.5f;
  ASSERT_EQ(CloseSoundCard(1), 0);
  EXPECT_EQ(LastLevel("speakers.volume", "SetChannelVolumeLevel"), 0.0f);
  EXPECT_EQ(LastLevel("array.boost.volume", "SetLevel"), -2.0f);
}

TEST_F(RestoreTest, ANarrowRangeWritesSlightlyBelowItsBottomAndThePlatformDecides) {
  sim::EndpointVolumeModel& array = world().FindEndpoint("mic-array")->volume;
  array.minDb = 0.0f;
  array.maxDb = 30.0f;
  array.masterDb = 0.0f;  // saved at the bottom: 3 %
  OpenCard();
  ASSERT_EQ(CloseSoundCard(1), 0);
  EXPECT_NEAR(LastLevel("mic-array.volume", "SetMasterVolumeLevel"), -0.4576f, 0.0001f);
  EXPECT_EQ(world().CallsTo("mic-array.volume", "SetMasterVolumeLevel").back().result,
            E_INVALIDARG);
  EXPECT_EQ(array.masterDb, 0.0f);  // refused: unchanged
}

TEST_F(RestoreTest, MissingSlotsAndFailingCallsSkipOnlyTheirOwnStep) {
  ASSERT_EQ(OpenSoundCard("5f3e1d2a", "", ""), 0);  // playback only
  world().ClearCalls();
  Fail("speakers.volume", "GetVolumeRange", E_FAIL);
  Fail("speakers.volume", "SetChannelVolumeLevel", E_FAIL);
  Fail("hda.line-volume.volume", "GetChannelCount", E_FAIL);  // no channel known: no write
  Mixer.Snapshot.SavedMasterLevel = -6.0f;
  ASSERT_EQ(CloseSoundCard(1), 0);
  // Without the range, the level is taken against zeroes: 50 % of a 0 dB top.
  EXPECT_EQ(LastLevel("speakers.volume", "SetChannelVolumeLevel"), PercentToDecibels(50, 0, 0));
  EXPECT_EQ(CallCount("speakers.volume", "SetMute"), 1u);
  EXPECT_EQ(CallCount("hda.line-volume.volume", "SetLevel"), 0u);
  EXPECT_EQ(CallCount("hda.line-mute.mute", "SetMute"), 1u);
  EXPECT_EQ(CallCount("hda.tone.treble", "SetLevel"), 2u);
  EXPECT_EQ(CallCount("*", "SetMasterVolumeLevel"), 0u);
  EXPECT_EQ(CallCount("*", "SetEnabled"), 0u);
}

}  // namespace
