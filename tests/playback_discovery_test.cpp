// Finding the playback device's controls in its topology.
#include "reference_cards.h"
#include "topology/discovery.h"
#include "topology/part_search.h"
#include "topology_test.h"

namespace {

class PlaybackDiscoveryTest : public TopologyTest {
 protected:
  // A speakers endpoint led to the "out" connector of an adapter "card".
  sim::Adapter& Card() {
    sim::Adapter& card = world().AddAdapter("card", u"{card}");
    card.Connector("out", u"Speaker");
    AddConnected(eRender, "spk", card, "out");
    return card;
  }
  // An input of `sum`: a jack, then a volume, then the input part with a mute.
  static void AddInput(sim::Adapter& card, const std::string& name, const char16_t* jackName,
                       const char16_t* volumeName = u"Volume", bool withVolume = true) {
    card.Connector(name + "-jack", jackName);
    sim::Part& volume = card.Subunit(name + "-volume", volumeName);
    if (withVolume) volume.Volume(-34.5f, 12.0f, 1.5f, -9.0f);
    card.Subunit(name, u"Input").Mute(TRUE);
    card.Path({(name + "-jack").c_str(), (name + "-volume").c_str(), name.c_str(), "sum"});
  }
  static std::string Labels() {
    return LabelOf(Mixer.LinePlaybackLevel) + " " + LabelOf(Mixer.LinePlaybackMute) + " " +
           LabelOf(Mixer.MicPlaybackLevel) + " " + LabelOf(Mixer.MicPlaybackMute);
  }
};

TEST_F(PlaybackDiscoveryTest, FindsEveryControlOfTheReferenceCodec) {
  sim::InstallHdAudioCodec(world());
  world().FindEndpoint("speakers")->volume.masterDb = -20.0f;
  world().FindEndpoint("speakers")->volume.mute = TRUE;
  ASSERT_EQ(DiscoverPlaybackTopology("5F3E1D2A"), 0);

  EXPECT_EQ(LabelOf(Mixer.PlaybackEndpointVolume), "speakers.volume");
  EXPECT_EQ(LabelOf(Mixer.BassControl), "hda.tone.bass");
  EXPECT_EQ(LabelOf(Mixer.TrebleControl), "hda.tone.treble");
  EXPECT_EQ(LabelOf(Mixer.MidrangeControl), "hda.midrange.midrange");
  EXPECT_EQ(Labels(),
            "hda.line-volume.volume hda.line-mute.mute hda.mic-volume.volume hda.mic-mute.mute");
  const OpenSnapshot& saved = Mixer.Snapshot;
  EXPECT_EQ(saved.SavedMasterLevel, -20.0f);
  EXPECT_EQ(saved.SavedMasterMute, TRUE);
  EXPECT_EQ(saved.SavedBassLevel, 3.0f);
  EXPECT_EQ(saved.SavedTrebleLevel, -1.5f);
  EXPECT_EQ(saved.SavedMidrangeLevel, 0.0f);
  EXPECT_EQ(saved.SavedLinePlaybackLevel, -10.0f);
  EXPECT_EQ(saved.SavedMicPlaybackLevel, -10.0f);
  EXPECT_EQ(saved.SavedLinePlaybackMute, FALSE);
  // The adapter connector part itself is never asked for a tone control.
  EXPECT_EQ(CallCount("hda.speaker-jack", "Activate"), 0u);
  // Every reference obtained along the walk was let go (checked at the end),
  // and the sound card counts as open from the lookup on.
  EXPECT_NE(Mixer.CurrentDeviceId, nullptr);
}

TEST_F(PlaybackDiscoveryTest, TheNearestToneControlOnTheChainWinsAndStays) {
  sim::Adapter& card = Card();
  card.Subunit("near", u"Near").Bass(-12, 12, 1.5f, 6.0f);
  card.Subunit("far", u"Far").Bass(-12, 12, 1.5f, -6.0f).Treble(-12, 12, 1.5f, 1.5f);
  card.Subunit("sum", u"Sum").Midrange(-12, 12, 1.5f, 4.5f);  // the branch part is asked too
  card.Path({"sum", "far", "near", "out"});
  AddInput(card, "a", u"Line In");
  AddInput(card, "b", u"CD");
  ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0);
  EXPECT_EQ(LabelOf(Mixer.BassControl), "card.near.bass");
  EXPECT_EQ(LabelOf(Mixer.TrebleControl), "card.far.treble");
  EXPECT_EQ(LabelOf(Mixer.MidrangeControl), "card.sum.midrange");
  EXPECT_EQ(Mixer.Snapshot.SavedBassLevel, 6.0f);

  // Again without emptying the slots: tone slots stay, their fields are not read again.
  card["near"].bass->channels[0].levelDb = 9.0f;
  world().ClearCalls();
  ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0);
  EXPECT_EQ(Mixer.Snapshot.SavedBassLevel, 6.0f);
  EXPECT_EQ(CallCount("*", "Activate"), 4u);  // the endpoint's two, then the two mutes
  EXPECT_THAT(world().CallsTo("*", "Activate"),
              ::testing::Each(::testing::Field(&sim::CallRecord::object,
                                               ::testing::Not(::testing::HasSubstr("near")))));
}

TEST_F(PlaybackDiscoveryTest, AnAdapterPartWithSeveralInputsIsTheBranch) {
  sim::Adapter& card = world().AddAdapter("card", u"{card}");
  card.Connector("out", u"Speaker").Bass(-12, 12, 1.5f);
  card.Subunit("sum", u"Unused");
  AddConnected(eRender, "spk", card, "out");
  card.Connector("line-jack", u"Line In");
  card.Subunit("line-volume", u"Volume").Volume(-34.5f, 12.0f, 1.5f);
  card.Subunit("line", u"Input").Mute();
  card.Path({"line-jack", "line-volume", "line", "out"});
  card.Connector("mic-jack", u"Mic");
  card.Subunit("mic-volume", u"Volume").Volume(-34.5f, 12.0f, 1.5f);
  card.Subunit("mic", u"Input").Mute();
  card.Path({"mic-jack", "mic-volume", "mic", "out"});
  ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0);
  EXPECT_EQ(Mixer.BassControl, nullptr);
  EXPECT_EQ(Labels(),
            "card.line-volume.volume card.line.mute card.mic-volume.volume card.mic.mute");
}

TEST_F(PlaybackDiscoveryTest, InputsAreTakenByTheNamesUpstreamOfThem) {
  const struct {
    const char* description;
    std::vector<std::pair<const char16_t*, const char16_t*>> inputs;  // jack and volume names
    const char* expected;
  } cases[] = {
      {"the lower index wins",
       {{u"Line In 1", u"Vol"}, {u"Line In 2", u"Vol"}},
       "card.i0-volume.volume card.i0.mute (none) (none)"},
      {"gree and pin in any case",
       {{u"Rear GrEeN", u"Vol"}, {u"Front PINK", u"Vol"}},
       "card.i0-volume.volume card.i0.mute card.i1-volume.volume card.i1.mute"},
      {"one input can be both",
       {{u"CD", u"Vol"}, {u"Line/Mic Combo", u"Vol"}},
       "card.i1-volume.volume card.i1.mute card.i1-volume.volume card.i1.mute"},
      {"a name above the level counts as well as one below",
       {{u"Aux", u"Line Volume"}, {u"Jack", u"Microphone Volume"}},
       "card.i0-volume.volume card.i0.mute card.i1-volume.volume card.i1.mute"},
      {"no keyword, no input", {{u"CD", u"Vol"}, {u"Aux", u"Vol"}}, "(none) (none) (none) (none)"},
  };
  for (const auto& c : cases) {
    sim::Adapter& card = Card();
    card.Subunit("sum", u"Sum");
    card.Path({"sum", "out"});
    int index = 0;
    for (const auto& input : c.inputs)
      AddInput(card, "i" + std::to_string(index++), input.first, input.second);
    ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0) << c.description;
    EXPECT_EQ(Labels(), c.expected) << c.description;
    StartOver(c.description);
  }
}

TEST_F(PlaybackDiscoveryTest, AnInputsOwnNameIsNeverTested) {
  sim::Adapter& card = Card();
  card.Subunit("sum", u"Sum");
  card.Path({"sum", "out"});
  AddInput(card, "i0", u"CD");
  AddInput(card, "i1", u"Aux");
  card["i0"].name = u"Line Mute";
  ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0);
  EXPECT_EQ(Labels(), "(none) (none) (none) (none)");
}

TEST_F(PlaybackDiscoveryTest, ANamedInputWithoutALevelLeavesTheWayToALaterOne) {
  sim::Adapter& card = Card();
  card.Subunit("sum", u"Sum");
  card.Path({"sum", "out"});
  AddInput(card, "i0", u"Line In", u"Vol", /*withVolume=*/false);
  AddInput(card, "i1", u"Line In", u"Vol");
  ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0);
  EXPECT_EQ(Labels(), "card.i1-volume.volume card.i1.mute (none) (none)");
}

TEST_F(PlaybackDiscoveryTest, AnUnreadableLineLevelKeepsLookingButAMicrophoneLevelNeedNotRead) {
  sim::Adapter& card = Card();
  card.Subunit("sum", u"Sum");
  card.Path({"sum", "out"});
  AddInput(card, "i0", u"Line/Mic");
  AddInput(card, "i1", u"CD");  // a sum of one input would be part of the chain
  Fail("card.i0-volume.volume", "GetLevel", E_FAIL);
  ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0);
  // The line level stays in its slot without its mute; the microphone is taken.
  EXPECT_EQ(Labels(), "card.i0-volume.volume (none) card.i0-volume.volume card.i0.mute");

  // A later line input replaces the level with its own.
  StartOver("one input");
  sim::Adapter& second = Card();
  second.Subunit("sum", u"Sum");
  second.Path({"sum", "out"});
  AddInput(second, "i0", u"Line In");
  AddInput(second, "i1", u"Line In");
  Fail("card.i0-volume.volume", "GetLevel", S_FALSE);
  ASSERT_EQ(DiscoverPlaybackTopology("spk"), 0);
  EXPECT_EQ(Labels(), "card.i1-volume.volume card.i1.mute (none) (none)");
}

TEST_F(PlaybackDiscoveryTest, AChainEndingWithoutIncomingPartsFails) {
  sim::Adapter& card = Card();
  card.Subunit("tone", u"Tone").Treble(-12, 12, 1.5f);
  card.Subunit("end", u"End");
  card.Path({"end", "tone", "out"});
  EXPECT_EQ(DiscoverPlaybackTopology("spk"), 1);
  EXPECT_EQ(LabelOf(Mixer.TrebleControl), "card.tone.treble");
  EXPECT_EQ(Mixer.LinePlaybackLevel, nullptr);
}

TEST_F(PlaybackDiscoveryTest, ACycleOnTheChainEndsTheWalk) {
  sim::Adapter& card = Card();
  card.Subunit("a", u"A");
  card.Subunit("b", u"B");
  card.Path({"a", "b", "a", "out"});  // b's only input is a, a's only input is b
  card["a"].outgoing.pop_back();
  card["out"].incoming = {&card["a"]};
  EXPECT_EQ(DiscoverPlaybackTopology("spk"), 1);
  EXPECT_LE(CallCount("*", "EnumPartsIncoming"), static_cast<std::size_t>(MaxWalkSteps) + 1);
}

TEST_F(PlaybackDiscoveryTest, ManyInputsInACycleShareOneBoundOnTheWalks) {
  sim::Adapter& card = Card();
  card.Subunit("sum", u"Sum");
  card.Path({"sum", "out"});
  card.Subunit("loop", u"Loop");
  card.Path({"loop", "loop"});  // every input's upstream chain circles here
  for (int i = 0; i < 100; ++i) {
    const std::string input = "i" + std::to_string(i);
    card.Subunit(input, u"Input");
    card.Path({"loop", input.c_str(), "sum"});
  }
  EXPECT_EQ(DiscoverPlaybackTopology("spk"), 0);
  // The 100 inputs and at most 4,096 + 16 per input parts on their walks;
  // without the shared bound, each input's two name walks would circle for
  // 256 parts.
  EXPECT_LE(CallCount("*", "GetPart"), 100u + 4096u + 16u * 100u);
}

TEST_F(PlaybackDiscoveryTest, TheBoundOnTheWalksGrowsWithTheCard) {
  // 3,000 inputs each cost two name walks of two parts before the line and
  // microphone inputs at the end are reached: far more than 4,096 steps, yet
  // within the allowance the inputs bring.
  sim::Adapter& card = Card();
  card.Subunit("sum", u"Sum");
  card.Path({"sum", "out"});
  for (int i = 0; i < 3000; ++i) AddInput(card, "aux" + std::to_string(i), u"Aux");
  AddInput(card, "line", u"Line In");
  AddInput(card, "mic", u"Mic In");
  world().SetRecording(false);
  EXPECT_EQ(DiscoverPlaybackTopology("spk"), 0);
  EXPECT_EQ(Labels(),
            "card.line-volume.volume card.line.mute card.mic-volume.volume card.mic.mute");
}

TEST_F(PlaybackDiscoveryTest, StepsThatCountFailTheDiscovery) {
  const struct {
    Fault fault;
    int result;
  } cases[] = {
      {{"spk.volume", "GetMasterVolumeLevel", E_FAIL}, 1},
      {{"spk.volume", "GetMute", S_FALSE}, 1},
      {{"spk.topology", "GetConnector", E_FAIL}, 1},
      {{"spk.connector0", "GetConnectedTo", E_NOTFOUND}, 1},
      {{"card.out", "QueryInterface", E_NOINTERFACE}, 1},
      {{"card.out", "EnumPartsIncoming", E_NOTFOUND}, 1},
      {{"card.out.incoming", "GetPart", E_FAIL}, 1},
      {{"card.tone", "EnumPartsIncoming", E_FAIL}, 1},
      {{"card.tone.incoming", "GetCount", E_FAIL}, 1},
      {{"card.sum.incoming", "GetPart", E_FAIL, 1}, 1},  // the second input
      // Not examined, or only passing over an input:
      {{"card.tone.bass", "GetLevel", E_FAIL}, 0},
      {{"card.i0", "GetMute", E_FAIL}, 0},
      {{"card.i0", "Activate", E_NOINTERFACE}, 0},
      {{"card.i0-volume", "GetName", E_FAIL}, 0},
      {{"card.i0", "EnumPartsIncoming", E_FAIL}, 0},
      {{"card.out.incoming", "GetCount", E_FAIL}, 0},  // no count: no input to examine
  };
  for (const auto& c : cases) {
    sim::Adapter& card = Card();
    card.Subunit("tone", u"Tone").Bass(-12, 12, 1.5f);
    card.Subunit("sum", u"Sum");
    card.Path({"sum", "tone", "out"});
    AddInput(card, "i0", u"Line In");
    AddInput(card, "i1", u"Microphone");
    c.fault.InjectAlone();
    EXPECT_EQ(DiscoverPlaybackTopology("spk"), c.result) << c.fault.Describe();
    StartOver(c.fault.Describe());
  }
}

}  // namespace
