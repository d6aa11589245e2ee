// The playback master volume and mute.
#include "controls/level_mapping.h"
#include "mixer_test.h"
#include "state/endpoint_lookup.h"

namespace {

class MasterVolumeTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    sim::Endpoint& speakers = AddPlayback("spk", u"{render-speakers}");
    speakers.volume.minDb = -96.0f;
    speakers.volume.maxDb = 0.0f;
  }

  // Opens the playback endpoint as the sound card's opening does first.
  void OpenPlayback() {
    ComPtr<IDeviceTopology> topology;
    ASSERT_EQ(ActivateEndpointControls("speakers", eRender, topology.put(),
                                       &Mixer.PlaybackEndpointVolume),
              0);
    world().ClearCalls();
  }

  sim::EndpointVolumeModel& volume() { return world().FindEndpoint("spk")->volume; }
};

TEST_F(MasterVolumeTest, GuardsReportANotOpenCardThenAMissingControl) {
  const auto exportsWithStatus = [] {
    return std::vector<ExportResult>{
        CallWithStatus(GetMasterVolume), CallWithStatus(SetMasterVolume, 50),
        CallWithStatus(GetMasterMute), CallWithStatus(SetMasterMute, (unsigned char)1)};
  };
  for (const ExportResult& result : exportsWithStatus())
    EXPECT_EQ(result, (ExportResult{0, StatusNotOpen}));

  ASSERT_EQ(FindEndpointById("speakers", eRender), 0);  // open, but no control held
  for (const ExportResult& result : exportsWithStatus())
    EXPECT_EQ(result, (ExportResult{0, StatusNoControl}));
  EXPECT_EQ(CallCount("spk.volume", "*"), 0u);
}

TEST_F(MasterVolumeTest, SetsEveryChannelAndReadsChannelZero) {
  OpenPlayback();
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 50), (ExportResult{50, StatusOk}));
  const auto writes = world().CallsTo("spk.volume", "SetChannelVolumeLevel");
  ASSERT_EQ(writes.size(), 2u);
  for (UINT channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(writes[channel].index, channel);
    EXPECT_EQ(FloatBits(*writes[channel].level), "0xC0C0A8C1");  // -6.0206 dB
    EXPECT_EQ(writes[channel].nullContext, true);
  }
  EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{50, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 75), (ExportResult{75, StatusOk}));
  EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{74, StatusOk}));

  volume().channelDb[1] = -20.0f;
  volume().channelDb[0] = -3.0f;
  EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{70, StatusOk}));

  // The order of the platform calls.
  std::vector<std::string> methods;
  world().ClearCalls();
  SetMasterVolume(10, nullptr);
  for (const auto& call : world().CallsTo("spk.volume", "*")) methods.push_back(call.method);
  EXPECT_THAT(methods, ::testing::ElementsAre("GetVolumeRange", "GetChannelCount",
                                              "SetChannelVolumeLevel", "SetChannelVolumeLevel"));
}

TEST_F(MasterVolumeTest, ZeroPercentIsTheMinimumAndLevelsAboveTheRangeAreRefused) {
  OpenPlayback();
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 0), (ExportResult{0, StatusOk}));
  EXPECT_EQ(volume().channelDb[1], -96.0f);
  EXPECT_EQ(volume().mute, FALSE);
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 150), (ExportResult{150, StatusFailed}));
  EXPECT_EQ(*world().CallsTo("spk.volume", "SetChannelVolumeLevel").back().level,
            PercentToDecibels(150, -96.0f, 0.0f));
}

TEST_F(MasterVolumeTest, TheLastChannelDecides) {
  const struct {
    UINT channel;
    HRESULT result;
    int status;
  } cases[] = {
      {0, E_FAIL, StatusOk},
      {1, E_FAIL, StatusFailed},
      {1, S_FALSE, StatusFailed},
      {1, static_cast<HRESULT>(0x80070001u), StatusFailed},
  };
  OpenPlayback();
  for (const auto& c : cases) {
    world().ClearFaults();
    sim::FaultRule rule;
    rule.method = "SetChannelVolumeLevel";
    rule.index = c.channel;
    rule.result = c.result;
    world().Inject(rule);
    EXPECT_EQ(CallWithStatus(SetMasterVolume, 40), (ExportResult{40, c.status}))
        << c.channel << " " << sim::DescribeResult(c.result);
  }
}

TEST_F(MasterVolumeTest, UnexaminedQueriesLeaveZeroes) {
  volume().maxDb = 12.0f;
  OpenPlayback();
  // Without the range the level is taken against a maximum of 0 dB.
  Fail("spk.volume", "GetVolumeRange", E_FAIL);
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 50), (ExportResult{50, StatusOk}));
  EXPECT_EQ(FloatBits(volume().channelDb[0]), "0xC0C0A8C1");
  // Without the channel count nothing is written.
  world().ClearFaults();
  world().ClearCalls();
  Fail("spk.volume", "GetChannelCount", E_FAIL);
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 50), (ExportResult{50, StatusFailed}));
  EXPECT_EQ(CallCount("spk.volume", "SetChannelVolumeLevel"), 0u);
}

TEST_F(MasterVolumeTest, NoChannelsMeansNothingWrittenAndAFailure) {
  volume().channelCount = 0;
  OpenPlayback();
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 60), (ExportResult{60, StatusFailed}));
  EXPECT_EQ(CallCount("spk.volume", "SetChannelVolumeLevel"), 0u);
}

TEST_F(MasterVolumeTest, FailedReadsReportFailureAndZero) {
  OpenPlayback();
  volume().mute = TRUE;
  for (HRESULT result : {E_FAIL, S_FALSE}) {
    world().ClearFaults();
    Fail("spk.volume", "GetChannelVolumeLevel", result);
    Fail("spk.volume", "GetMute", result);
    EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{0, StatusFailed}));
    EXPECT_EQ(CallWithStatus(GetMasterMute), (ExportResult{0, StatusFailed}));
  }
  world().ClearFaults();
  volume().mute = 7;
  EXPECT_EQ(CallWithStatus(GetMasterMute), (ExportResult{7, StatusOk}));  // as the platform gave it
}

TEST_F(MasterVolumeTest, MuteTakesTheLowByteAndReportsFailureAsNoControl) {
  OpenPlayback();
  EXPECT_EQ(CallWithStatus(SetMasterMute, (unsigned char)1), (ExportResult{0, StatusOk}));
  EXPECT_EQ(volume().mute, TRUE);
  const int wide = 256;  // a host passing 256 in the 32-bit slot: only the low byte counts
  EXPECT_EQ(CallWithStatus(SetMasterMute, static_cast<unsigned char>(wide)),
            (ExportResult{0, StatusOk}));
  EXPECT_EQ(volume().mute, FALSE);
  EXPECT_EQ(CallWithStatus(SetMasterMute, (unsigned char)2), (ExportResult{0, StatusOk}));
  EXPECT_EQ(world().CallsTo("spk.volume", "SetMute").back().value, 2);
  EXPECT_EQ(world().CallsTo("spk.volume", "SetMute").back().nullContext, true);
  // The platform answers S_FALSE for an unchanged state: reported as no control.
  EXPECT_EQ(CallWithStatus(SetMasterMute, (unsigned char)1), (ExportResult{0, StatusNoControl}));
  Fail("spk.volume", "SetMute", E_FAIL);
  EXPECT_EQ(CallWithStatus(SetMasterMute, (unsigned char)0), (ExportResult{0, StatusNoControl}));
}

TEST_F(MasterVolumeTest, ANullStatusIsNotWritten) {
  EXPECT_EQ(GetMasterVolume(nullptr), 0);
  OpenPlayback();
  EXPECT_EQ(SetMasterVolume(25, nullptr), 25);
  EXPECT_EQ(GetMasterVolume(nullptr), 25);
  EXPECT_EQ(SetMasterMute(1, nullptr), 0);
  EXPECT_EQ(GetMasterMute(nullptr), TRUE);
}

}  // namespace
