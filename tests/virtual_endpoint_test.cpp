// The auxiliary endpoint, opened and driven apart from the sound card.
#include "mixer_test.h"
#include "state/endpoint_lookup.h"

namespace {

class VirtualEndpointTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    AddPlayback("spk", u"{render-speakers}");
    AddPlayback("hp", u"{render-headphones}");
    AddCapture("mic", u"{capture-mic}");
  }
  static std::vector<ExportResult> AllControls() {
    return {CallWithStatus(GetVirtualVolume), CallWithStatus(SetVirtualVolume, 50),
            CallWithStatus(GetVirtualMute), CallWithStatus(SetVirtualMute, 1)};
  }
  sim::EndpointVolumeModel& volume(const char* key) { return world().FindEndpoint(key)->volume; }
};

TEST_F(VirtualEndpointTest, WithoutAnEndpointEveryControlHasNoControl) {
  for (const ExportResult& result : AllControls())
    EXPECT_EQ(result, (ExportResult{0, StatusNoControl}));
  ASSERT_EQ(FindEndpointById("speakers", eRender), 0);  // a card counts as open
  for (const ExportResult& result : AllControls())
    EXPECT_EQ(result, (ExportResult{0, StatusNoControl}));
}

TEST_F(VirtualEndpointTest, OpensByIdTextAndDrivesTheEndpoint) {
  EXPECT_EQ(OpenVirtual_1("HEADPHONES"), 0);
  EXPECT_EQ(CallWithStatus(SetVirtualVolume, 50), (ExportResult{50, StatusOk}));
  for (float level : volume("hp").channelDb) EXPECT_EQ(FloatBits(level), "0xC0C0A8C1");
  EXPECT_EQ(CallWithStatus(GetVirtualVolume), (ExportResult{50, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetVirtualMute, 1), (ExportResult{0, StatusOk}));
  EXPECT_EQ(CallWithStatus(GetVirtualMute), (ExportResult{1, StatusOk}));

  // The lookup made the sound card count as open, without a master control.
  EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{0, StatusNoControl}));
  ReleaseSoundCard();
  EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{0, StatusNotOpen}));
  EXPECT_EQ(CallWithStatus(GetVirtualVolume), (ExportResult{50, StatusOk}));
}

TEST_F(VirtualEndpointTest, MuteIsPassedOnAsAWholeBoolean) {
  ASSERT_EQ(OpenVirtual_1("speakers"), 0);
  EXPECT_EQ(CallWithStatus(SetVirtualMute, 256), (ExportResult{0, StatusOk}));
  EXPECT_EQ(volume("spk").mute, 256);
  EXPECT_EQ(CallWithStatus(SetVirtualMute, 1), (ExportResult{0, StatusNoControl}));  // S_FALSE
  EXPECT_EQ(CallWithStatus(SetVirtualVolume, 100), (ExportResult{100, StatusOk}));
  Fail("spk.volume", "SetChannelVolumeLevel", E_FAIL);
  EXPECT_EQ(CallWithStatus(SetVirtualVolume, 30), (ExportResult{30, StatusFailed}));
  EXPECT_EQ(CallWithStatus(GetVirtualVolume), (ExportResult{100, StatusOk}));
}

TEST_F(VirtualEndpointTest, OpeningAgainLetsThePreviousEndpointGoFirst) {
  ASSERT_EQ(OpenVirtual_1("speakers"), 0);
  world().ClearCalls();
  ASSERT_EQ(OpenVirtual_1("headphones"), 0);
  const auto& calls = world().Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().object, "spk.volume");
  EXPECT_EQ(calls.front().method, "Release");
  EXPECT_EQ(CallWithStatus(SetVirtualVolume, 10), (ExportResult{10, StatusOk}));
  EXPECT_EQ(volume("hp").channelDb[0], -20.0f);
  EXPECT_EQ(volume("spk").channelDb[0], 0.0f);

  // A text that matches nothing lets the held endpoint go too.
  EXPECT_EQ(OpenVirtual_1("mic"), 1);
  EXPECT_EQ(Mixer.VirtualEndpointVolume, nullptr);
}

TEST_F(VirtualEndpointTest, ClosingReleasesOnce) {
  EXPECT_EQ(CloseVirtual_1(), 0);
  ASSERT_EQ(OpenVirtual_1("speakers"), 0);
  EXPECT_EQ(CloseVirtual_1(), 0);
  EXPECT_EQ(CloseVirtual_1(), 0);
  EXPECT_EQ(CallCount("spk.volume", "Release"), 1u);
  EXPECT_NE(Mixer.CurrentDeviceId, nullptr);  // closing the endpoint leaves the lookup's ID
}

TEST_F(VirtualEndpointTest, WithoutATopologyTheOpeningFailsButTheVolumeWorks) {
  world().FindEndpoint("spk")->offersTopology = false;
  EXPECT_EQ(OpenVirtual_1("speakers"), 1);
  EXPECT_EQ(CallWithStatus(SetVirtualVolume, 10), (ExportResult{10, StatusOk}));
}

TEST_F(VirtualEndpointTest, FailedOpeningsHoldNothing) {
  const Fault faults[] = {
      {"spk", "Activate", E_NOINTERFACE, 1},  // the endpoint volume; the topology was delivered
      {"spk", "Activate", S_FALSE, 1},
      {"runtime", "CoCreateInstance", E_FAIL},
      {"runtime", "CoCreateInstance", E_FAIL, 1},
      {"runtime", "LibraryMalloc", E_OUTOFMEMORY},
      {"enumerator", "GetDevice", E_NOTFOUND},
  };
  for (const auto& fault : faults) {
    const std::string context =
        std::string(fault.object) + "." + fault.method + " " + sim::DescribeResult(fault.result);
    ASSERT_EQ(OpenVirtual_1("headphones"), 0);
    world().ClearFaults();
    sim::FaultRule rule;
    rule.object = fault.object;
    rule.method = fault.method;
    rule.result = fault.result;
    rule.skip = fault.skip;
    world().Inject(rule);
    EXPECT_EQ(OpenVirtual_1("speakers"), 1) << context;
    EXPECT_EQ(Mixer.VirtualEndpointVolume, nullptr) << context;
    EXPECT_EQ(CallWithStatus(GetVirtualVolume), (ExportResult{0, StatusNoControl})) << context;
    world().ClearFaults();
    ExpectCleanAfterClosing(context);
  }
}

}  // namespace
