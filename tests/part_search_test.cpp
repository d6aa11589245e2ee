// Part-name matching and the upstream and downstream searches.
#include "topology/part_search.h"
#include "state/mixer_state.h"
#include "topology_test.h"

namespace {

using PartSearchTest = TopologyTest;

TEST_F(PartSearchTest, MatchesKeywordsFoldingOnlyAToZ) {
  sim::Adapter& card = world().AddAdapter("card", u"{card}");
  const struct {
    const char16_t* name;
    std::initializer_list<const char*> keywords;
    bool matches;
  } cases[] = {
      {u"LINE IN", {"line"}, true},
      {u"Rear GREEN Jack", {"line", "gree"}, true},
      {u"Spinner", {"mic", "pin"}, true},  // inside a longer word
      {u"Mic Boost (+20dB)", {"boost", "+2", "agc"}, true},
      {u"Gain +24 dB", {"boost", "+2", "agc"}, true},
      {u"AGC", {"boost", "+2", "agc"}, true},
      {u"M\u0130C", {"mic"}, false},  // a capital I with a dot is no I
      {u"\u039CIC", {"mic"}, false},  // a Greek capital M is no M
      {u"", {"line"}, false},
      {u"Headphone", {"line", "mic"}, false},
  };
  for (const auto& c : cases) {
    sim::Part& part = card.Subunit("p", c.name);
    EXPECT_EQ(MatchPartName(PartOf(part).get(), c.keywords), c.matches) << sim::Narrow(c.name);
  }
  // A name that cannot be read matches nothing; the string is freed either way.
  sim::Part& named = card.Subunit("named", u"Line In");
  Fail("card.named", "GetName", E_FAIL);
  EXPECT_FALSE(MatchPartName(PartOf(named).get(), {"line"}));
  world().ClearFaults();
  Fail("card.named", "GetName", S_FALSE);
  EXPECT_FALSE(MatchPartName(PartOf(named).get(), {"line"}));
}

TEST_F(PartSearchTest, UpstreamSearchTakesTheNearestVolumeLevel) {
  sim::Adapter& card = world().AddAdapter("card", u"{card}");
  card.Connector("jack", u"Line In");
  card.Subunit("far", u"Far Volume").Volume(-10.0f, 10.0f, 1.0f);
  card.Subunit("mid", u"Mute").Mute();
  card.Subunit("near", u"Near Volume").Volume(-20.0f, 0.0f, 1.0f);
  card.Subunit("side", u"Side Volume").Volume(-30.0f, 0.0f, 1.0f);
  card.Subunit("input", u"Input");
  card.Path({"jack", "far", "mid", "near", "input"});
  card.Path({"side", "near"});  // only index 0 of each list is followed

  ComPtr<IPartsList> list = ListOf({&card["mid"], &card["side"]});
  EXPECT_EQ(FindUpstreamVolumeLevel(list.get(), Mixer.LinePlaybackLevel), 0);
  ASSERT_NE(Mixer.LinePlaybackLevel, nullptr);
  float minimum = 0, maximum = 0, step = 0;
  Mixer.LinePlaybackLevel->GetLevelRange(0, &minimum, &maximum, &step);
  EXPECT_EQ(minimum, -10.0f);  // "far": past the mute, the first that offers a level

  list = ListOf({&card["near"]});
  EXPECT_EQ(FindUpstreamVolumeLevel(list.get(), Mixer.LinePlaybackLevel), 0);
  Mixer.LinePlaybackLevel->GetLevelRange(0, &minimum, &maximum, &step);
  EXPECT_EQ(minimum, -20.0f);                              // the list's first part itself
  EXPECT_EQ(CallCount("card.far.volume", "Release"), 1u);  // the slot's old control let go

  list = ListOf({&card["mid"]});
  card["far"].volume.reset();
  EXPECT_EQ(FindUpstreamVolumeLevel(list.get(), Mixer.LinePlaybackLevel), 1);
  EXPECT_EQ(Mixer.LinePlaybackLevel, nullptr);
}

TEST_F(PartSearchTest, DownstreamSearchFollowsOnlyTheLastMember) {
  sim::Adapter& card = world().AddAdapter("card", u"{card}");
  card.Subunit("a", u"Boost A");                        // named, but no switch
  card.Subunit("b", u"Boost B").AutoGain().Loudness();  // both: the gain control wins
  card.Subunit("hidden", u"Boost Hidden").AutoGain();
  card.Subunit("after", u"After");
  card.Subunit("deep", u"Deep AGC").Loudness();
  card.Path({"a", "hidden"});
  card.Path({"b", "after", "deep"});

  ComPtr<IPartsList> list = ListOf({&card["a"], &card["b"]});
  EXPECT_EQ(FindBoostSwitch(list.get()), 0);
  EXPECT_EQ(world().CallsTo("card.b", "Activate").size(), 1u);
  EXPECT_FALSE(Mixer.MicBoostSwitchIsLoudness);
  EXPECT_EQ(CallCount("card.b.agc", "*"), 0u);  // not yet used

  // Only through the last member: "hidden" behind "a" is never reached.
  card["b"].autoGain.reset();
  card["b"].loudness.reset();
  EXPECT_EQ(FindBoostSwitch(list.get()), 0);
  EXPECT_TRUE(Mixer.MicBoostSwitchIsLoudness);
  BOOL enabled = TRUE;
  EXPECT_EQ(GetMicBoostSwitchEnabled(&enabled), S_OK);
  EXPECT_EQ(CallCount("card.deep.loudness", "GetEnabled"), 1u);
  EXPECT_EQ(CallCount("card.hidden", "*"), 0u);

  card["deep"].loudness.reset();
  EXPECT_EQ(FindBoostSwitch(list.get()), 1);
  EXPECT_EQ(Mixer.MicBoostSwitch, nullptr);

  card["deep"].Volume(0.0f, 30.0f, 10.0f);
  EXPECT_EQ(FindBoostLevel(list.get()), 0);
  EXPECT_NE(Mixer.MicBoostLevel, nullptr);
}

TEST_F(PartSearchTest, DownstreamSearchPassesOverPartsThatCannotBeFetched) {
  sim::Adapter& card = world().AddAdapter("card", u"{card}");
  card.Subunit("first", u"Boost").AutoGain();
  card.Subunit("second", u"Boost").AutoGain();
  ComPtr<IPartsList> list = ListOf({&card["first"], &card["second"]});
  sim::FaultRule firstPart;
  firstPart.method = "GetPart";
  firstPart.index = 0u;
  world().Inject(firstPart);
  EXPECT_EQ(FindBoostSwitch(list.get()), 0);
  EXPECT_EQ(CallCount("card.second", "Activate"), 1u);
  // A count that cannot be read ends the search.
  world().ClearFaults();
  Fail("test.list", "GetCount", E_FAIL);
  EXPECT_EQ(FindBoostSwitch(list.get()), 1);
}

TEST_F(PartSearchTest, WalksAroundACycleEndAtTheirCap) {
  sim::Adapter& card = world().AddAdapter("card", u"{card}");
  card.Subunit("a", u"Part A");
  card.Subunit("b", u"Part B");
  card.Path({"a", "b", "a"});  // a -> b -> a: each the other's only link
  ComPtr<IPartsList> list = ListOf({&card["a"]});
  EXPECT_EQ(FindUpstreamVolumeLevel(list.get(), Mixer.LinePlaybackLevel), 1);
  EXPECT_EQ(CallCount("*", "EnumPartsIncoming"), static_cast<std::size_t>(MaxWalkSteps));
  EXPECT_EQ(FindBoostLevel(list.get()), 1);
  EXPECT_EQ(CallCount("*", "EnumPartsOutgoing"), static_cast<std::size_t>(MaxWalkSteps));
  card.Subunit("self", u"Self");
  card.Path({"self", "self"});
  list = ListOf({&card["self"]});
  EXPECT_EQ(FindBoostSwitch(list.get()), 1);
}

}  // namespace
