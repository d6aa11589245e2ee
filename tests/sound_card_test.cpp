// Opening and closing the sound card, and the names of its devices.
#include <cstring>

#include "reference_cards.h"
#include "topology_test.h"

namespace {

constexpr const char* kSpeakers = "5f3e1d2a";
constexpr const char* kUsbMic = "3e7a9c12";
constexpr const char* kLineIn = "d4b2e8f1";

class SoundCardTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    sim::InstallReferenceMachine(world());
  }
  struct Names {
    char playback[256];
    char line[256];
    char mic[256];
  };
  static Names ReadNames() {
    Names names;
    std::memset(&names, 'Z', sizeof names);
    for (char* name : {names.playback, names.line, names.mic}) name[255] = 0;
    GetDeviceNames(names.playback, names.line, names.mic);
    return names;
  }
  static std::string Untouched() { return std::string(255, 'Z'); }
};

TEST_F(SoundCardTest, TheResultTellsWhichPartsFailed) {
  const char* none = "no such endpoint";
  const struct {
    const char* playback;
    const char* mic;
    const char* line;
    int result;
  } cases[] = {
      {kSpeakers, kUsbMic, kLineIn, 0},
      {none, kUsbMic, kLineIn, 1},
      {none, none, kLineIn, 2},
      {kSpeakers, none, kLineIn, 3},
      {none, none, none, 4},
      {kSpeakers, none, none, 5},
      {kSpeakers, kUsbMic, none, 6},
      {none, kUsbMic, none, 7},
      {"", "", "", 0},
      {"", none, "", 3},
      {none, "", "", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OpenSoundCard(c.playback, c.mic, c.line), c.result)
        << c.playback << " / " << c.mic << " / " << c.line;
  }
}

TEST_F(SoundCardTest, OpensEachDeviceAndNamesItInItsBuffer) {
  ASSERT_EQ(OpenSoundCard(kSpeakers, kUsbMic, kLineIn), 0);
  EXPECT_NE(Mixer.PlaybackEndpointVolume, nullptr);
  EXPECT_NE(Mixer.MicBoostSwitch, nullptr);
  EXPECT_NE(Mixer.LineMonitorSwitch, nullptr);
  const Names names = ReadNames();
  EXPECT_STREQ(names.playback, "Speakers (High Definition Audio Device)");
  EXPECT_STREQ(names.line, "Line In (High Definition Audio Device)");  // second parameter
  EXPECT_STREQ(names.mic, "Microphone (USB Audio Device)");
  EXPECT_EQ(CallWithStatus(SetMasterVolume, 50), (ExportResult{50, StatusOk}));

  // A failed part leaves its name as it was; empty texts release every slot.
  EXPECT_EQ(OpenSoundCard("", "nothing", ""), 3);
  EXPECT_STREQ(ReadNames().mic, "Microphone (USB Audio Device)");
  EXPECT_EQ(OpenSoundCard("", "", ""), 0);
  EXPECT_NE(Mixer.CurrentDeviceId, nullptr);  // still open
  EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{0, StatusNoControl}));

  // After closing, a failed microphone part leaves no name behind.
  EXPECT_EQ(CloseSoundCard(0), 0);
  EXPECT_EQ(ReadNames().mic, Untouched());
  EXPECT_EQ(OpenSoundCard(kSpeakers, "nothing", ""), 3);
  const Names after = ReadNames();
  EXPECT_STREQ(after.playback, "Speakers (High Definition Audio Device)");
  EXPECT_EQ(after.mic, Untouched());
  EXPECT_EQ(after.line, Untouched());
}

TEST_F(SoundCardTest, ALongFriendlyNameIsCutAndTerminated) {
  world().FindEndpoint("speakers")->friendlyName = std::u16string(300, u'x');
  ASSERT_EQ(OpenSoundCard(kSpeakers, "", ""), 0);
  EXPECT_EQ(std::string(ReadNames().playback), std::string(254, 'x'));
}

TEST_F(SoundCardTest, ClosingReleasesEverythingAndRestoresOnlyWhenAsked) {
  EXPECT_EQ(CloseSoundCard(1), 0);  // nothing open: nothing written
  EXPECT_EQ(CallCount("*", "Set*"), 0u);

  ASSERT_EQ(OpenSoundCard(kSpeakers, kUsbMic, kLineIn), 0);
  ASSERT_EQ(OpenVirtual_1("a81b44c0"), 0);  // the headphones
  world().ClearCalls();
  EXPECT_EQ(CloseSoundCard(static_cast<unsigned char>(256 & 0xFF)), 0);  // low byte 0
  EXPECT_EQ(CallCount("*", "Set*"), 0u);
  EXPECT_EQ(Mixer.CurrentDeviceId, nullptr);
  EXPECT_EQ(Mixer.PlaybackEndpointVolume, nullptr);
  EXPECT_EQ(CallWithStatus(GetMasterVolume), (ExportResult{0, StatusNotOpen}));
  EXPECT_EQ(CallWithStatus(SetVirtualVolume, 30), (ExportResult{30, StatusOk}));

  ASSERT_EQ(OpenSoundCard(kSpeakers, kUsbMic, kLineIn), 0);
  world().ClearCalls();
  EXPECT_EQ(CloseSoundCard(1), 0);
  EXPECT_GT(CallCount("*", "Set*"), 0u);
  // The slots go in their fixed order, after the restore.
  std::vector<std::string> released;
  for (const auto& call : world().CallsTo("*", "Release")) released.push_back(call.object);
  EXPECT_THAT(released, ::testing::ElementsAre(
                            "speakers.volume", "usb-mic.volume", "line-in.volume",
                            "hda.line-volume.volume", "hda.line-mute.mute", "hda.mic-volume.volume",
                            "hda.mic-mute.mute", "usb.boost.loudness", "linecap.agc.agc",
                            "hda.tone.bass", "hda.tone.treble", "hda.midrange.midrange"));
}

TEST_F(SoundCardTest, TheSnapshotOutlivesClosingAndIsReplacedOnlyWhereFoundAgain) {
  ASSERT_EQ(OpenSoundCard(kSpeakers, kUsbMic, kLineIn), 0);
  ASSERT_EQ(CloseSoundCard(0), 0);
  EXPECT_EQ(Mixer.Snapshot.SavedBassLevel, 3.0f);
  world().FindEndpoint("speakers")->volume.masterDb = -30.0f;
  world().FindEndpoint("line-in")->volume.masterDb = -3.0f;
  ASSERT_EQ(OpenSoundCard(kSpeakers, "", ""), 0);
  EXPECT_EQ(Mixer.Snapshot.SavedMasterLevel, -30.0f);
  EXPECT_EQ(Mixer.Snapshot.SavedLineRecordLevel, 0.0f);  // the earlier opening's
  EXPECT_EQ(Mixer.Snapshot.SavedLineMonitorEnabled, TRUE);
}

TEST_F(SoundCardTest, TheDefaultCaptureDeviceIsTheMicrophoneWhenItsNameSaysMic) {
  const struct {
    const char16_t* name;
    bool microphone;
  } cases[] = {
      {u"Microphone (USB Audio Device)", true},
      {u"Line In", false},
      {u"Dynamic Input", true},  // "DYNAMIC" holds "MIC"
      {u"Mikrofon", false},
  };
  for (const auto& c : cases) {
    world().FindEndpoint("usb-mic")->friendlyName = c.name;
    EXPECT_EQ(OpenDefaultDevices(), 0) << sim::Narrow(c.name);
    const Names names = ReadNames();
    EXPECT_STREQ(names.playback, "Speakers (High Definition Audio Device)");
    const std::string expected = sim::Narrow(c.name);
    EXPECT_EQ(std::string(c.microphone ? names.mic : names.line), expected);
    EXPECT_EQ(std::string(c.microphone ? names.line : names.mic), Untouched());
    EXPECT_EQ(Mixer.MicBoostSwitch != nullptr, c.microphone);
    StartOver(expected);
    sim::InstallReferenceMachine(world());
  }
}

TEST_F(SoundCardTest, AMicrophoneThatFailsIsTriedAsALineInput) {
  sim::FaultRule onceForTheMicrophone;
  onceForTheMicrophone.object = "usb.mic-jack";
  onceForTheMicrophone.method = "QueryInterface";
  onceForTheMicrophone.result = E_NOINTERFACE;
  onceForTheMicrophone.times = 1;
  world().Inject(onceForTheMicrophone);
  EXPECT_EQ(OpenDefaultDevices(), 0);
  EXPECT_EQ(ReadNames().mic, Untouched());
  EXPECT_STREQ(ReadNames().line, "Microphone (USB Audio Device)");
  EXPECT_NE(Mixer.LineEndpointVolume, nullptr);
  // It returns 0 whether or not the line discovery succeeds too.
  StartOver("first");
  sim::InstallReferenceMachine(world());
  Fail("usb.mic-jack", "QueryInterface", E_NOINTERFACE);
  EXPECT_EQ(OpenDefaultDevices(), 0);
  EXPECT_EQ(ReadNames().line, Untouched());
}

TEST_F(SoundCardTest, MissingDefaultsSkipTheirPartAndReportOne) {
  world().SetDefault(eRender, eConsole, "no-such-endpoint");
  EXPECT_EQ(OpenDefaultDevices(), 1);
  EXPECT_EQ(ReadNames().playback, Untouched());
  EXPECT_STREQ(ReadNames().mic, "Microphone (USB Audio Device)");
  StartOver("no default playback");

  sim::InstallReferenceMachine(world());
  world().SetDefault(eCapture, eConsole, "no-such-endpoint");
  EXPECT_EQ(OpenDefaultDevices(), 1);
  EXPECT_STREQ(ReadNames().playback, "Speakers (High Definition Audio Device)");
  EXPECT_EQ(Mixer.MicEndpointVolume, nullptr);
  StartOver("no default capture");

  sim::InstallReferenceMachine(world());
  Fail("runtime", "CoCreateInstance", REGDB_E_CLASSNOTREG);
  EXPECT_EQ(OpenDefaultDevices(), 1);
  EXPECT_EQ(Mixer.CurrentDeviceId, nullptr);
  StartOver("no enumerator");

  // A default whose ID is empty: its text would match any endpoint.
  sim::InstallReferenceMachine(world());
  AddCapture("nameless", u"", u"Microphone");
  world().SetDefault(eCapture, eConsole, "nameless");
  EXPECT_EQ(OpenDefaultDevices(), 1);
  EXPECT_EQ(Mixer.MicEndpointVolume, nullptr);
  StartOver("a default without an ID");

  // The capture device cannot be found again by its ID.
  sim::InstallReferenceMachine(world());
  sim::FaultRule lookup;
  lookup.object = "collection";
  lookup.method = "GetCount";
  lookup.skip = 1;  // the playback lookup's count passes
  world().Inject(lookup);
  EXPECT_EQ(OpenDefaultDevices(), 1);
  EXPECT_STREQ(ReadNames().playback, "Speakers (High Definition Audio Device)");
}

TEST_F(SoundCardTest, AFailedPlaybackLookupOnAClosedCardLeavesNoName) {
  sim::FaultRule lookups;
  lookups.object = "runtime";
  lookups.method = "CoCreateInstance";
  lookups.skip = 1;  // the defaults are read; every lookup after fails
  world().Inject(lookups);
  EXPECT_EQ(OpenDefaultDevices(), 1);
  EXPECT_EQ(Mixer.CurrentDeviceId, nullptr);
  EXPECT_EQ(Mixer.PlaybackDeviceName, nullptr);  // closed: nothing to free later
  EXPECT_EQ(ReadNames().playback, Untouched());
}

TEST_F(SoundCardTest, OpeningTheDefaultsAgainLeaksNothing) {
  ASSERT_EQ(OpenDefaultDevices(), 0);
  IAudioBass* bass = Mixer.BassControl;
  ASSERT_EQ(OpenDefaultDevices(), 0);
  EXPECT_EQ(Mixer.BassControl, bass);  // tone slots are searched only while empty
  EXPECT_EQ(CallCount("speakers.volume", "Release"), 1u);
  // Checked at the end of the test: every other reference was let go.
}

TEST_F(SoundCardTest, ALongDefaultIdIsCutToItsBuffer) {
  world().Reset();
  sim::Endpoint& speakers = AddPlayback("spk", u"{" + std::u16string(300, u'7') + u"}");
  speakers.offersTopology = false;
  AddCapture("mic", u"{0.0.1}.{mic}", u"Line");
  world().SetDefault(eRender, eConsole, "spk");
  world().SetDefault(eCapture, eConsole, "mic");
  EXPECT_EQ(OpenDefaultDevices(), 0);
  // The cut text still finds the endpoint it came from.
  const auto lookups = world().CallsTo("enumerator", "GetDevice");
  ASSERT_FALSE(lookups.empty());
  EXPECT_EQ(lookups.front().text, speakers.id);
}

}  // namespace
