// Machines described as card files: the shipped reference machine is the one
// the tests build in code, every field reaches the simulated service, and a
// malformed file is refused with the place of its fault.
#include "card_file.h"
#include "mixer_test.h"
#include "reference_cards.h"

namespace {

using ::testing::HasSubstr;

class CardFileTest : public MixerTest {};

TEST_F(CardFileTest, ShippedReferenceMachineIsTheOneBuiltInCode) {
  sim::InstallReferenceMachine(world());
  const nlohmann::json built = sim::DescribeMachine(world());
  sim::LoadCardFile(world(), VELMORA_SOURCE_DIR "/cards/reference-machine.json");
  EXPECT_EQ(sim::DescribeMachine(world()), built);
}

TEST_F(CardFileTest, EveryFieldReachesTheService) {
  sim::LoadCard(world(), R"({
    "codePage": "1251",
    "adapters": [{
      "key": "a", "deviceId": "adapter-\u00e9",
      "parts": [
        {"key": "jack", "type": "connector", "name": "Line \u0416"},
        {"key": "gain", "name": "Gain", "volume": {"min": -10, "max": 10, "step": 0.5,
                                                 "level": [1.5, -2]},
         "bass": {"min": -6, "max": 6, "step": 1, "level": 2, "channels": 1},
         "treble": {"min": -6, "max": 6, "step": 1}, "midrange": {"min": -3, "max": 3, "step": 1},
         "mute": true, "autoGain": false, "loudness": true},
        {"key": "out", "type": "connector", "name": "Out"}
      ],
      "paths": [["jack", "gain", "out"], ["jack", "out"]]
    }],
    "endpoints": [
      {"key": "play", "id": "{p}", "flow": "render", "name": "P", "nameValue": "number",
       "state": "unplugged", "topology": false,
       "volume": {"min": -20, "max": 6, "step": 2, "channels": 3, "level": [-1, -3, -2],
                  "mute": true}},
      {"key": "rec", "id": "{r}", "flow": "capture", "connectedTo": "a.out"}
    ],
    "defaults": {"render": {"communications": "play"}, "capture": "rec"}
  })",
                "inline");
  EXPECT_EQ(world().AnsiCodePage(), 1251u);
  const sim::Adapter& adapter = *world().Adapters().at(0);
  EXPECT_EQ(adapter.deviceId, u"adapter-\u00e9");
  ASSERT_EQ(adapter.parts.size(), 3u);
  const sim::Part& jack = *adapter.parts[0];
  const sim::Part& gain = *adapter.parts[1];
  const sim::Part& out = *adapter.parts[2];
  EXPECT_EQ(jack.name, u"Line \u0416");
  EXPECT_EQ(adapter.connectors,
            (std::vector<sim::Part*>{adapter.parts[0].get(), adapter.parts[2].get()}));
  EXPECT_EQ(jack.outgoing,
            (std::vector<sim::Part*>{adapter.parts[1].get(), adapter.parts[2].get()}));
  EXPECT_EQ(out.incoming,
            (std::vector<sim::Part*>{adapter.parts[1].get(), adapter.parts[0].get()}));
  ASSERT_TRUE(gain.volume && gain.volume->channels.size() == 2);
  EXPECT_EQ(gain.volume->channels[1].levelDb, -2.0f);
  EXPECT_EQ(gain.volume->channels[0].stepDb, 0.5f);
  ASSERT_TRUE(gain.bass && gain.bass->channels.size() == 1);
  EXPECT_EQ(gain.bass->channels[0].levelDb, 2.0f);
  EXPECT_EQ(gain.treble->channels.size(), 2u);
  EXPECT_EQ(gain.mute, std::optional<BOOL>(TRUE));
  EXPECT_EQ(gain.autoGain, std::optional<BOOL>(FALSE));
  EXPECT_EQ(gain.loudness, std::optional<BOOL>(TRUE));

  const sim::Endpoint& play = *world().FindEndpoint("play");
  EXPECT_EQ(play.nameKind, sim::NameKind::OtherType);
  EXPECT_EQ(play.state, DEVICE_STATE_UNPLUGGED);
  EXPECT_FALSE(play.offersTopology);
  EXPECT_EQ(play.volume.channelDb, (std::vector<float>{-1, -3, -2}));
  EXPECT_EQ(play.volume.masterDb, -1.0f);
  EXPECT_EQ(play.volume.mute, TRUE);
  EXPECT_EQ(world().FindEndpoint("rec")->connectedTo, &out);
  EXPECT_EQ(world().DefaultKey(eRender, eConsole), nullptr);
  EXPECT_EQ(*world().DefaultKey(eRender, eCommunications), "play");
  EXPECT_EQ(*world().DefaultKey(eCapture, eMultimedia), "rec");
}

TEST_F(CardFileTest, InjectedFaultsAnswerThroughTheExports) {
  sim::LoadCardFile(world(), VELMORA_SOURCE_DIR "/cards/failing-master-volume.json");
  // The card fails the second channel's write once, then lets it through.
  EXPECT_EQ(OpenDefaultDevices(), 1);  // no default capture endpoint
  int status = -1;
  EXPECT_EQ(SetMasterVolume(50, &status), 50);
  EXPECT_EQ(status, StatusFailed);
  EXPECT_EQ(SetMasterVolume(50, &status), 50);
  EXPECT_EQ(status, StatusOk);
  EXPECT_EQ(world().FaultsInjected(), 1u);
  EXPECT_EQ(CloseSoundCard(0), 0);
}

struct MalformedCard {
  const char* text;
  const char* message;  // what the error must say, with its place
};

TEST_F(CardFileTest, MalformedCardsAreRefusedWithThePlaceOfTheFault) {
  const MalformedCard cases[] = {
      {"{\n  \"endpoints\": [\n    {\"key\": \"a\",, }\n  ]\n}", "card.json:3:17: syntax error"},
      {"", "card.json:1:1: "},
      {"[]", "card.json: /: expected an object, found array"},
      {R"({"endpoint": []})", "card.json: /endpoint: unknown field"},
      {R"({"endpoints": [{"id": "x", "flow": "render"}]})",
       "card.json: /endpoints/0: missing field \"key\""},
      {R"({"endpoints": [{"key": "k", "id": 7, "flow": "render"}]})",
       "card.json: /endpoints/0/id: expected a string, found number"},
      {R"({"endpoints": [{"key": "k", "id": "x", "flow": "output"}]})",
       "card.json: /endpoints/0/flow: expected one of \"render\", \"capture\", found \"output\""},
      {R"({"endpoints": [{"key": "k", "id": "x", "flow": "render"},
                         {"key": "k", "id": "y", "flow": "render"}]})",
       "card.json: /endpoints/1/key: \"k\" again"},
      {R"({"endpoints": [{"key": "k", "id": "x", "flow": "render", "connectedTo": "a.b"}]})",
       "card.json: /endpoints/0/connectedTo: no part \"a.b\""},
      {R"({"adapters": [{"key": "a", "deviceId": "d", "parts": [{"key": "s", "name": "S"}]}],
           "endpoints": [{"key": "k", "id": "x", "flow": "render", "connectedTo": "a.s"}]})",
       "card.json: /endpoints/0/connectedTo: \"a.s\" is not a connector"},
      {R"({"endpoints": [{"key": "k", "id": "x", "flow": "render",
                          "volume": {"channels": 2, "level": [1, 2, 3]}}]})",
       "card.json: /endpoints/0/volume/level: gives 3 levels for 2 channels"},
      {R"({"endpoints": [{"key": "k", "id": "x", "flow": "render",
                          "volume": {"channels": -1}}]})",
       "card.json: /endpoints/0/volume/channels: expected a whole number of 0 or more"},
      {R"({"adapters": [{"key": "a", "deviceId": "d",
                        "parts": [{"key": "s", "name": "S", "volume": {"min": 0, "max": 1}}]}]})",
       "card.json: /adapters/0/parts/0/volume: missing field \"step\""},
      {R"({"adapters": [{"key": "a", "deviceId": "d",
                        "parts": [{"key": "s", "name": "S", "bass": {"min": 0, "max": 1e39, "step": 1}}]}]})",
       "card.json: /adapters/0/parts/0/bass/max: out of the float range"},
      {R"({"adapters": [{"key": "a", "deviceId": "d", "parts": [{"key": "s", "name": "S"}],
                        "paths": [["s", "t"]]}]})",
       "card.json: /adapters/0/paths/0/1: no part \"t\" in adapter \"a\""},
      {R"({"adapters": [{"key": "a", "deviceId": "d", "parts": [{"key": "s", "name": "S"}],
                        "paths": [["s"]]}]})",
       "card.json: /adapters/0/paths/0: a path links two parts or more"},
      {R"({"endpoints": [{"key": "k", "id": "x", "flow": "capture"}], "defaults": {"render": "k"}})",
       "card.json: /defaults/render: \"k\" is not a render endpoint"},
      {R"({"defaults": {"capture": {"console": "nobody"}}})",
       "card.json: /defaults/capture/console: no endpoint \"nobody\""},
      {R"({"faults": [{"result": "E_SOMETIMES"}]})",
       "card.json: /faults/0/result: unknown result \"E_SOMETIMES\""},
      {R"({"faults": [{"iid": "IAudioVolume"}]})",
       "card.json: /faults/0/iid: unknown interface \"IAudioVolume\""},
      {"{\"endpoints\": [{\"key\": \"k\", \"id\": \"\xC3\x28\", \"flow\": \"render\"}]}",
       "card.json:1:"},  // the parser refuses text that is not UTF-8
      {R"({"endpoints": [{"key": "k", "id": "\ud800", "flow": "render"}]})", "card.json:1:"},
  };
  for (const MalformedCard& card : cases) {
    try {
      sim::LoadCard(world(), card.text, "card.json");
      ADD_FAILURE() << "accepted: " << card.text;
    } catch (const sim::CardError& error) {
      EXPECT_THAT(error.what(), HasSubstr(card.message)) << card.text;
    }
    // Nothing of a refused card stays behind.
    EXPECT_TRUE(world().Endpoints().empty() && world().Adapters().empty()) << card.text;
  }
}

TEST_F(CardFileTest, MissingFileIsNamed) {
  EXPECT_THROW(
      try {
        sim::LoadCardFile(world(), "/nonexistent/card.json");
      } catch (const sim::CardError& error) {
        EXPECT_STREQ(error.what(), "/nonexistent/card.json: cannot be read");
        throw;
      },
      sim::CardError);
}

TEST(Utf8Test, RoundTripsAndRefusesMalformedSequences) {
  const std::u16string wide = u"A\u00e9\u0416\u20ac\U0001F3B5";
  EXPECT_EQ(sim::ToUtf8(wide), "A\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x8E\xB5");
  EXPECT_EQ(sim::FromUtf8(sim::ToUtf8(wide), "/x"), wide);
  for (const char* bad :
       {"\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xE2\x82"})
    EXPECT_THROW(sim::FromUtf8(bad, "/x"), sim::CardError) << bad;
}

}  // namespace
