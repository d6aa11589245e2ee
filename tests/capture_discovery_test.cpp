// Finding the microphone's boost and the line input's gain control.
#include "reference_cards.h"
#include "topology/discovery.h"
#include "topology_test.h"

namespace {

class CaptureDiscoveryTest : public TopologyTest {
 protected:
  // An adapter "card", which lists its connectors in the order they are added,
  // and a capture endpoint "cap" that Output() leads to its "out" connector.
  sim::Adapter& Card() {
    capture_ = &AddCapture("cap", u"{endpoint}.cap");
    capture_->volume.masterDb = 6.0f;
    return world().AddAdapter("card", u"{card}");
  }
  void Output(sim::Adapter& card) {
    card.Connector("out", u"Capture");
    capture_->connectedTo = &card["out"];
  }

  sim::Endpoint* capture_ = nullptr;
};

TEST_F(CaptureDiscoveryTest, TheReferenceCardsOfferTheirBoostAndGainControls) {
  sim::InstallUsbMicrophone(world());
  sim::InstallBoostLevelMicrophone(world());
  sim::InstallLineCapture(world());

  ASSERT_EQ(DiscoverMicTopology("3e7a9c12"), 0);
  EXPECT_EQ(LabelOf(Mixer.MicEndpointVolume), "usb-mic.volume");
  EXPECT_EQ(LabelOf(Mixer.MicBoostSwitch), "usb.boost.loudness");
  EXPECT_TRUE(Mixer.MicBoostSwitchIsLoudness);
  EXPECT_EQ(Mixer.MicBoostLevel, nullptr);
  EXPECT_EQ(Mixer.Snapshot.SavedMicBoostEnabled, FALSE);

  ReleaseSoundCardSlots();
  ASSERT_EQ(DiscoverMicTopology("8b1f2c3d"), 0);
  EXPECT_EQ(Mixer.MicBoostSwitch, nullptr);
  EXPECT_EQ(LabelOf(Mixer.MicBoostLevel), "array.boost.volume");
  EXPECT_EQ(Mixer.Snapshot.SavedMicBoostLevel, 20.0f);

  ASSERT_EQ(DiscoverLineTopology("d4b2e8f1"), 0);
  EXPECT_EQ(LabelOf(Mixer.LineEndpointVolume), "line-in.volume");
  EXPECT_EQ(LabelOf(Mixer.LineMonitorSwitch), "linecap.agc.agc");
  EXPECT_EQ(Mixer.Snapshot.SavedLineMonitorEnabled, TRUE);
}

TEST_F(CaptureDiscoveryTest, MicrophoneConnectorsWithoutABoostArePassedOver) {
  sim::Adapter& card = Card();
  card.Connector("mic1", u"Mic 1");  // no outgoing parts
  card.Connector("mic2", u"Mic 2");
  card.Subunit("plain", u"Volume").Volume(0, 30, 10);
  card.Connector("cd", u"CD");
  card.Subunit("cd-boost", u"Boost").AutoGain();
  card.Connector("mic3", u"Front Mic");
  card.Subunit("switch", u"Mic Boost").AutoGain(TRUE);
  card.Subunit("level", u"Boost Level").Volume(0, 30, 10, 10.0f, 1);
  Output(card);
  card.Path({"mic2", "plain", "out"});
  card.Path({"cd", "cd-boost", "out"});
  card.Path({"mic3", "switch", "level", "out"});
  ASSERT_EQ(DiscoverMicTopology("cap"), 0);
  // A switch ends the search: the level further downstream is not taken.
  EXPECT_EQ(LabelOf(Mixer.MicBoostSwitch), "card.switch.agc");
  EXPECT_EQ(Mixer.MicBoostLevel, nullptr);
  EXPECT_EQ(Mixer.Snapshot.SavedMicBoostEnabled, TRUE);
  EXPECT_EQ(Mixer.Snapshot.SavedMicRecordLevel, 6.0f);
  EXPECT_EQ(CallCount("card.cd-boost", "Activate"), 0u);
}

TEST_F(CaptureDiscoveryTest, NoMicrophoneConnectorIsStillASuccess) {
  sim::Adapter& card = Card();
  card.Connector("line", u"Line In");
  Output(card);
  EXPECT_EQ(DiscoverMicTopology("cap"), 0);
  EXPECT_NE(Mixer.MicEndpointVolume, nullptr);
  EXPECT_EQ(Mixer.Snapshot.SavedMicRecordLevel, 6.0f);
  EXPECT_EQ(Mixer.MicBoostSwitch, nullptr);
  EXPECT_EQ(Mixer.MicBoostLevel, nullptr);
}

TEST_F(CaptureDiscoveryTest, TheLastLineConnectorDecidesTheMonitorSwitch) {
  sim::Adapter& card = Card();
  // One step down is not two: this connector's control is never asked for.
  card.Connector("line-c", u"Line 3");
  card.Subunit("one-step", u"AGC").AutoGain();
  card.Subunit("one-step-next", u"Next");
  card.Path({"line-c", "one-step", "one-step-next"});
  for (const char* name : {"a", "b"}) {
    const std::string jack = std::string("line-") + name;
    card.Connector(jack, u"Line In");
    card.Subunit(jack + "-1", u"Step One");
    card.Subunit(jack + "-2", u"Step Two");
    card.Path({jack.c_str(), (jack + "-1").c_str(), (jack + "-2").c_str()});
  }
  card["line-a-2"].AutoGain(TRUE);
  Output(card);

  ASSERT_EQ(DiscoverLineTopology("cap"), 0);
  // Connector a's control was taken and read, then b's part offered none.
  EXPECT_EQ(Mixer.LineMonitorSwitch, nullptr);
  EXPECT_EQ(Mixer.Snapshot.SavedLineMonitorEnabled, TRUE);
  EXPECT_EQ(CallCount("card.line-a-2.agc", "GetEnabled"), 1u);
  EXPECT_EQ(CallCount("card.one-step", "Activate"), 0u);

  card["line-b-2"].AutoGain(FALSE);
  ReleaseSoundCardSlots();
  ASSERT_EQ(DiscoverLineTopology("cap"), 0);
  EXPECT_EQ(LabelOf(Mixer.LineMonitorSwitch), "card.line-b-2.agc");
  EXPECT_EQ(Mixer.Snapshot.SavedLineMonitorEnabled, FALSE);
}

TEST_F(CaptureDiscoveryTest, AFirstStepWithoutOutgoingPartsFailsTheLineDiscovery) {
  sim::Adapter& card = Card();
  card.Connector("line-a", u"Line In");
  card.Subunit("a1", u"One");
  card.Subunit("a2", u"Two").AutoGain(TRUE);
  card.Path({"line-a", "a1", "a2"});
  card.Connector("line-b", u"Line In 2");
  card.Subunit("b1", u"Dead End");
  card.Path({"line-b", "b1"});
  card.Connector("line-c", u"Line In 3");  // no outgoing parts: passed over
  Output(card);
  EXPECT_EQ(DiscoverLineTopology("cap"), 1);
  EXPECT_EQ(LabelOf(Mixer.LineMonitorSwitch), "card.a2.agc");  // stays
}

TEST_F(CaptureDiscoveryTest, StepsThatCountFailTheCaptureDiscoveries) {
  const struct {
    Fault fault;
    int mic;
    int line;
  } cases[] = {
      {{"cap.topology", "GetConnector", E_FAIL}, 1, 1},
      {{"cap.connector0", "GetConnectedTo", E_NOTFOUND}, 1, 1},
      {{"card.out", "QueryInterface", E_NOINTERFACE}, 1, 1},
      {{"card.out", "GetTopologyObject", E_FAIL}, 1, 1},
      {{"card", "GetConnectorCount", E_FAIL}, 1, 1},
      {{"card", "GetConnector", E_INVALIDARG}, 1, 1},
      {{"card.jack", "QueryInterface", E_NOINTERFACE}, 1, 1},  // the connector's IPart
      {{"card.jack.outgoing", "GetPart", E_FAIL}, 0, 1},       // the line's first step; the
                                                               // boost search passes over it
      {{"card.step.outgoing", "GetPart", E_FAIL}, 0, 1},
      // Not examined, or only passing over a connector:
      {{"cap.volume", "GetMasterVolumeLevel", E_FAIL}, 0, 0},
      {{"card.jack", "GetName", E_FAIL}, 0, 0},
      {{"card.jack", "EnumPartsOutgoing", E_NOTFOUND}, 0, 0},
      {{"card.gain.agc", "GetEnabled", E_FAIL}, 0, 0},
  };
  for (const auto& c : cases) {
    for (const bool mic : {true, false}) {
      sim::Adapter& card = Card();
      card.Connector("jack", u"Line/Mic In");
      card.Subunit("step", u"Boost Step");
      card.Subunit("gain", u"AGC").AutoGain();
      Output(card);
      card.Path({"jack", "step", "gain", "out"});
      c.fault.InjectAlone();
      const int result = mic ? DiscoverMicTopology("cap") : DiscoverLineTopology("cap");
      EXPECT_EQ(result, mic ? c.mic : c.line)
          << (mic ? "microphone: " : "line: ") << c.fault.Describe();
      StartOver(c.fault.Describe());
    }
  }
}

}  // namespace
