// The capture devices' record levels: their endpoints' master levels.
#include "reference_cards.h"
#include "topology_test.h"

namespace {

class RecordLevelsTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    sim::InstallReferenceMachine(world());
    for (const char* key : {"usb-mic", "line-in"}) {
      world().FindEndpoint(key)->volume.minDb = -12.0f;
      world().FindEndpoint(key)->volume.maxDb = 30.0f;
    }
    ASSERT_EQ(OpenSoundCard("", "3e7a9c12", "d4b2e8f1"), 0);
    world().ClearCalls();
  }
  static float MasterOf(const char* key) { return world().FindEndpoint(key)->volume.masterDb; }
};

TEST_F(RecordLevelsTest, ZeroIsTheBottomForTheMicrophoneAndOnePercentForTheLine) {
  EXPECT_EQ(CallWithStatus(SetMicRecordVolume, 0), (ExportResult{0, StatusOk}));
  EXPECT_EQ(MasterOf("usb-mic"), -12.0f);
  EXPECT_EQ(CallWithStatus(SetLineRecordVolume, 0), (ExportResult{0, StatusOk}));
  EXPECT_EQ(MasterOf("line-in"), -10.0f);
  EXPECT_EQ(CallWithStatus(SetLineRecordVolume, 1), (ExportResult{1, StatusOk}));
  EXPECT_EQ(MasterOf("line-in"), -10.0f);

  EXPECT_EQ(CallWithStatus(SetMicRecordVolume, 50), (ExportResult{50, StatusOk}));
  EXPECT_EQ(CallWithStatus(SetLineRecordVolume, 50), (ExportResult{50, StatusOk}));
  EXPECT_NEAR(MasterOf("usb-mic"), 23.9794f, 0.00005f);
  EXPECT_EQ(MasterOf("line-in"), MasterOf("usb-mic"));
  EXPECT_EQ(CallWithStatus(GetMicRecordVolume), (ExportResult{50, StatusOk}));
  EXPECT_EQ(CallWithStatus(GetLineRecordVolume), (ExportResult{50, StatusOk}));
  // Only the master level is written.
  EXPECT_EQ(CallCount("*", "SetChannelVolumeLevel"), 0u);
  EXPECT_EQ(world().CallsTo("*", "SetMasterVolumeLevel").back().nullContext, true);
}

TEST_F(RecordLevelsTest, RefusedLevelsFailButStillEchoThePercentage) {
  EXPECT_EQ(CallWithStatus(SetMicRecordVolume, 200), (ExportResult{200, StatusFailed}));
  EXPECT_EQ(CallWithStatus(SetLineRecordVolume, 200), (ExportResult{200, StatusFailed}));
  // A range of less than 40 dB: 1 % lies below its bottom and the platform refuses.
  world().FindEndpoint("line-in")->volume.minDb = 0.0f;
  EXPECT_EQ(CallWithStatus(SetLineRecordVolume, 0), (ExportResult{0, StatusFailed}));
  for (HRESULT result : {S_FALSE, E_FAIL}) {
    world().ClearFaults();
    Fail("*", "SetMasterVolumeLevel", result);
    Fail("*", "GetMasterVolumeLevel", result);
    EXPECT_EQ(CallWithStatus(SetMicRecordVolume, 30), (ExportResult{30, StatusFailed}));
    EXPECT_EQ(CallWithStatus(GetLineRecordVolume), (ExportResult{0, StatusFailed}));
  }
}

}  // namespace
