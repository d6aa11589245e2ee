// The line and microphone inputs on the playback path, on the reference codec.
#include "controls/level_mapping.h"
#include "reference_cards.h"
#include "topology_test.h"

namespace {

constexpr HRESULT kInvalidFunction = static_cast<HRESULT>(0x80070001u);

class PlaybackInputsTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    codec_ = &sim::InstallHdAudioCodec(world());
  }
  void Open() {
    ASSERT_EQ(OpenSoundCard("5f3e1d2a", "", ""), 0);
    world().ClearCalls();
  }
  sim::LevelControl& LineLevel() { return *(*codec_)["line-volume"].volume; }
  sim::Adapter* codec_ = nullptr;
};

TEST_F(PlaybackInputsTest, LevelsMapOnChannelZerosRange) {
  Open();
  EXPECT_EQ(CallWithStatus(SetLinePlayBack, 50), (ExportResult{50, StatusOk}));
  const auto writes = world().CallsTo("hda.line-volume.volume", "SetLevel");
  ASSERT_EQ(writes.size(), 2u);
  for (UINT channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(writes[channel].index, channel);
    EXPECT_NEAR(*writes[channel].level, 5.9794f, 0.00005f);
    EXPECT_EQ(writes[channel].nullContext, true);
  }
  EXPECT_EQ(CallWithStatus(GetLinePlayBack), (ExportResult{50, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetLinePlayBack, 0), (ExportResult{0, StatusOk}));
  EXPECT_EQ(LineLevel().channels[1].levelDb, -34.5f);
  EXPECT_EQ(CallWithStatus(GetLinePlayBack), (ExportResult{0, StatusOk}));  // 46.5 dB down

  // Channel 1's own range does not matter: channel 0's decides for every channel.
  LineLevel().channels[1].maxDb = 0.0f;
  LineLevel().channels[1].minDb = -60.0f;
  EXPECT_EQ(CallWithStatus(SetMicPlayBack, 75), (ExportResult{75, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetLinePlayBack, 10), (ExportResult{10, StatusOk}));
  EXPECT_EQ(LineLevel().channels[1].levelDb, PercentToDecibels(10, -34.5f, 12.0f));
}

TEST_F(PlaybackInputsTest, TheLineAsksForItsRangeFirstTheMicrophoneForItsChannels) {
  Open();
  SetLinePlayBack(20, nullptr);
  SetMicPlayBack(20, nullptr);
  std::vector<std::string> line, mic;
  for (const auto& call : world().CallsTo("hda.line-volume.volume", "*"))
    line.push_back(call.method);
  for (const auto& call : world().CallsTo("hda.mic-volume.volume", "*")) mic.push_back(call.method);
  EXPECT_THAT(line,
              ::testing::ElementsAre("GetLevelRange", "GetChannelCount", "SetLevel", "SetLevel"));
  EXPECT_THAT(mic,
              ::testing::ElementsAre("GetChannelCount", "GetLevelRange", "SetLevel", "SetLevel"));
}

TEST_F(PlaybackInputsTest, OnlyTheMicrophoneSettersAlsoAcceptInvalidFunction) {
  Open();
  const struct {
    const char* object;
    const char* method;
    HRESULT result;
    UINT channel;
    ExportResult line;  // for SetLinePlayBack(40) / SetLinePlayBackMute(2)
    ExportResult mic;
  } cases[] = {
      {"*-volume.volume", "SetLevel", kInvalidFunction, 1, {0, StatusFailed}, {40, StatusOk}},
      {"*-volume.volume", "SetLevel", S_FALSE, 1, {0, StatusFailed}, {0, StatusFailed}},
      {"*-volume.volume", "SetLevel", E_FAIL, 1, {0, StatusFailed}, {0, StatusFailed}},
      {"*-volume.volume", "SetLevel", E_FAIL, 0, {40, StatusOk}, {40, StatusOk}},  // last decides
      {"*-mute.mute", "SetMute", kInvalidFunction, 0, {0, StatusFailed}, {0, StatusOk}},
      {"*-mute.mute", "SetMute", S_FALSE, 0, {0, StatusFailed}, {0, StatusFailed}},
  };
  for (const auto& c : cases) {
    world().ClearFaults();
    sim::FaultRule rule;
    rule.object = c.object;
    rule.method = c.method;
    rule.result = c.result;
    if (std::string(c.method) == "SetLevel") rule.index = c.channel;
    world().Inject(rule);
    const bool level = std::string(c.method) == "SetLevel";
    const ExportResult line =
        level ? CallWithStatus(SetLinePlayBack, 40) : CallWithStatus(SetLinePlayBackMute, 2);
    const ExportResult mic =
        level ? CallWithStatus(SetMicPlayBack, 40) : CallWithStatus(SetMicPlayBackMute, 2);
    EXPECT_EQ(line, c.line) << c.method << " " << sim::DescribeResult(c.result);
    EXPECT_EQ(mic, c.mic) << c.method << " " << sim::DescribeResult(c.result);
  }
}

TEST_F(PlaybackInputsTest, ReadsFailOnAnythingButSOk) {
  Open();
  (*codec_)["mic-mute"].mute = 2;
  EXPECT_EQ(CallWithStatus(GetMicPlayBackMute), (ExportResult{2, StatusOk}));
  for (HRESULT result : {E_FAIL, S_FALSE, kInvalidFunction}) {
    world().ClearFaults();
    Fail("*", "GetLevel", result);
    Fail("*", "GetMute", result);
    EXPECT_EQ(CallWithStatus(GetLinePlayBack), (ExportResult{0, StatusFailed}));
    EXPECT_EQ(CallWithStatus(GetMicPlayBack), (ExportResult{0, StatusFailed}));
    EXPECT_EQ(CallWithStatus(GetLinePlayBackMute), (ExportResult{0, StatusFailed}));
    EXPECT_EQ(CallWithStatus(GetMicPlayBackMute), (ExportResult{0, StatusFailed}));
  }
}

TEST_F(PlaybackInputsTest, MutesPassTheWholeBoolean) {
  Open();
  EXPECT_EQ(CallWithStatus(SetLinePlayBackMute, 2), (ExportResult{0, StatusOk}));
  EXPECT_EQ((*codec_)["line-mute"].mute, 2);
  EXPECT_EQ(world().CallsTo("hda.line-mute.mute", "SetMute").back().nullContext, true);
  EXPECT_EQ(CallWithStatus(GetLinePlayBackMute), (ExportResult{2, StatusOk}));
}

TEST_F(PlaybackInputsTest, NoChannelsMeansNothingWrittenAndAFailure) {
  LineLevel().channels.clear();
  Open();
  EXPECT_EQ(CallWithStatus(SetLinePlayBack, 60), (ExportResult{0, StatusFailed}));
  EXPECT_EQ(CallCount("hda.line-volume.volume", "SetLevel"), 0u);
}

TEST_F(PlaybackInputsTest, WithoutAMicrophoneInputOnlyTheLineWorks) {
  (*codec_)["mic-jack"].name = u"Aux";
  (*codec_)["mic-volume"].name = u"Aux Volume";
  (*codec_)["front-jack"].name = u"Front In";
  Open();
  EXPECT_EQ(CallWithStatus(SetMicPlayBack, 50), (ExportResult{0, StatusNoControl}));
  EXPECT_EQ(CallWithStatus(GetMicPlayBackMute), (ExportResult{0, StatusNoControl}));
  EXPECT_EQ(CallWithStatus(SetLinePlayBack, 50), (ExportResult{50, StatusOk}));
}

}  // namespace
