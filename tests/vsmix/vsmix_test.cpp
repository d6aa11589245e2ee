// vsmix run as a user runs it: a process with arguments, standard input and
// card files, judged by its output and exit code. vsmix checks the simulated
// service's accounting when it ends and exits with 3 on any leak or misuse, so
// every expected exit code here also says that nothing leaked.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using ::testing::HasSubstr;
using ::testing::Not;

struct Outcome {
  int exit = -1;
  std::string out, err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string TempPath(const char* name) {
  return std::string(::testing::TempDir()) + "vsmix-" + std::to_string(getpid()) + "-" + name;
}

// Runs vsmix with `args`, feeding it `input` on standard input.
Outcome Vsmix(std::vector<std::string> args, const std::string& input = "") {
  const std::string in = TempPath("in"), out = TempPath("out"), err = TempPath("err");
  std::ofstream(in) << input;
  const pid_t child = fork();
  if (child == 0) {
    auto redirect = [](const std::string& path, int flags, int target) {
      const int fd = open(path.c_str(), flags, 0600);
      if (fd < 0 || dup2(fd, target) < 0) _exit(125);
      close(fd);
    };
    redirect(in, O_RDONLY, 0);
    redirect(out, O_WRONLY | O_CREAT | O_TRUNC, 1);
    redirect(err, O_WRONLY | O_CREAT | O_TRUNC, 2);
    std::vector<char*> argv{const_cast<char*>(VSMIX_PATH)};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(VSMIX_PATH, argv.data());
    _exit(126);
  }
  int status = 0;
  waitpid(child, &status, 0);
  Outcome run;
  run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  return run;
}

std::string WriteCard(const char* name, const std::string& text) {
  const std::string path = TempPath(name);
  std::ofstream(path) << text;
  return path;
}

std::string CardPath(const char* name) {
  return std::string(VELMORA_SOURCE_DIR) + "/cards/" + name;
}

// The controls of a --json answer by name.
std::map<std::string, json> ByName(const json& controls) {
  std::map<std::string, json> byName;
  for (const json& control : controls) byName[control.at("name")] = control;
  return byName;
}

const char* const Speakers = "5f3e1d2a";
const char* const MicArray = "8b1f2c3d";
const char* const LineIn = "d4b2e8f1";

TEST(VsmixDevices, ListsEveryActiveEndpointAsTextAndJson) {
  const Outcome text = Vsmix({"devices"});
  EXPECT_EQ(text.exit, 0) << text.err;
  EXPECT_THAT(text.out, HasSubstr("Playback endpoints: 2"));
  EXPECT_THAT(text.out, HasSubstr("Record endpoints: 3"));
  EXPECT_THAT(text.out, HasSubstr("Speakers (High Definition Audio Device)"));
  EXPECT_THAT(text.out, Not(HasSubstr("HDMI")));  // disabled

  const Outcome run = Vsmix({"devices", "--json"});
  ASSERT_EQ(run.exit, 0) << run.err;
  const json devices = json::parse(run.out);
  ASSERT_EQ(devices.at("playback").at("endpoints").size(), 2u);
  EXPECT_EQ(devices["playback"]["endpoints"][1]["name"], "Headphones (USB Audio Device)");
  EXPECT_EQ(devices["record"]["endpoints"][2]["id"],
            "{0.0.1.00000000}.{d4b2e8f1-6a93-4c57-8b0e-71f3a5c9d268}");
}

TEST(VsmixShow, DefaultDevicesOfTheEmbeddedCardGiveTheFullTable) {
  const Outcome run = Vsmix({"show", "--default"});
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("OpenDefaultDevices returned 0"));
  for (const char* row :
       {"master           100 %      0..100 %", "line             7 %", "mic-record       3 %",
        "mic-boost        off", "line-record      -                                     not found",
        "bass             3 dB       -12..12 dB, step 1.5", "treble           -1.5 dB"})
    EXPECT_THAT(run.out, HasSubstr(row));
}

TEST(VsmixShow, JsonGivesEveryControlWithItsUnitRangeAndStatus) {
  const Outcome run = Vsmix({"show", "--json", "--play", Speakers, "--mic", MicArray, "--line",
                             LineIn, "--aux", "a81b44c0"});
  ASSERT_EQ(run.exit, 0) << run.err;
  const json shown = json::parse(run.out);
  EXPECT_EQ(shown["opening"]["function"], "OpenSoundCard");
  EXPECT_EQ(shown["opening"]["result"], 0);
  EXPECT_EQ(shown["opening"]["microphone"], "Microphone Array (Realtek Audio)");
  auto controls = ByName(shown.at("controls"));
  EXPECT_EQ(controls.size(), 16u);
  EXPECT_EQ(controls["line-record"]["value"], 25);  // 0 dB of a 12 dB range
  EXPECT_EQ(controls["mic-boost-level"]["value"], 20);
  EXPECT_EQ(controls["mic-boost-level"]["range"],
            (json{{"min", 0.0}, {"max", 30.0}, {"step", 10.0}}));
  EXPECT_EQ(controls["mic-boost"]["found"], false);
  EXPECT_EQ(controls["mic-boost"]["statusText"], "not found");
  EXPECT_EQ(controls["monitor"]["value"], true);
  EXPECT_EQ(controls["treble"]["value"], -1.5);
  EXPECT_EQ(controls["aux"]["unit"], "percent");
  EXPECT_EQ(controls["aux"]["value"], 100);
}

TEST(VsmixShow, ExplainsWhichPartsFailedToOpen) {
  const struct {
    std::vector<std::string> args;
    const char* explanation;
  } cases[] = {
      {{"--mic", "nomatch"}, "OpenSoundCard returned 3: microphone could not be opened"},
      {{"--play", "nomatch", "--line", "nomatch"},
       "OpenSoundCard returned 7: playback and line could not be opened"},
      {{"--play", Speakers, "--mic", LineIn, "--line", MicArray},
       "OpenSoundCard returned 0"},  // both capture devices open whatever they are
      {{"--aux", "nomatch"}, "OpenVirtual_1 returned 1: no such playback endpoint"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"show"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome run = Vsmix(args);
    EXPECT_THAT(run.out, HasSubstr(c.explanation)) << c.explanation;
    EXPECT_EQ(run.exit, std::string(c.explanation) == "OpenSoundCard returned 0" ? 0 : 1)
        << c.explanation << run.err;
  }
}

TEST(VsmixSet, SetsByNameAndShowsTheResult) {
  const Outcome run = Vsmix({"set", "--default", "master=50", "master-mute=on", "bass=4.5",
                             "mic-boost=on", "midrange=-3"});
  EXPECT_EQ(run.exit, 0) << run.err;
  for (const char* line :
       {"set master=50: ok", "set bass=4.5: ok", "master           50 %", "master-mute      on",
        "bass             4.5 dB", "mic-boost        on", "midrange         -3 dB"})
    EXPECT_THAT(run.out, HasSubstr(line));
}

TEST(VsmixSet, RestoreShowsWhatTheRestorePutBack) {
  const Outcome run = Vsmix({"set", "--json", "--default", "--restore", "master=20", "line=90",
                             "bass=-6", "mic-boost=on"});
  ASSERT_EQ(run.exit, 0) << run.err;
  const json result = json::parse(run.out);
  auto set = ByName(result.at("controls"));
  EXPECT_EQ(set["master"]["value"], 20);
  EXPECT_EQ(set["line"]["value"], 90);
  auto restored = ByName(result.at("restored").at("controls"));
  EXPECT_EQ(restored["master"]["value"], 100);
  // The line's saved level goes back through the percent scale: 7 % read at
  // opening becomes -11.1 dB, which reads as 6 %.
  EXPECT_EQ(restored["line"]["value"], 6);
  EXPECT_EQ(restored["bass"]["value"], 3.0);
  EXPECT_EQ(restored["mic-boost"]["value"], false);
}

TEST(VsmixSet, BadSettingsAreUsageErrorsAndNothingIsSet) {
  for (const char* setting : {"master=101", "master=-1", "master=5.5", "bass=loud", "bass=nan",
                              "mic-boost=maybe", "volume=3", "master"}) {
    const Outcome run = Vsmix({"set", "--default", "line=90", setting});
    EXPECT_EQ(run.exit, 2) << setting;
    EXPECT_THAT(run.err, HasSubstr("vsmix: ")) << setting;
    EXPECT_THAT(run.out, Not(HasSubstr("set line=90"))) << setting;
  }
}

TEST(VsmixSet, AFailingPlatformCallIsAMixerFailure) {
  const Outcome run =
      Vsmix({"--card", CardPath("failing-master-volume.json"), "set", "--default", "master=40"});
  EXPECT_EQ(run.exit, 1) << run.err;
  EXPECT_THAT(run.out, HasSubstr("set master=40: the platform call failed"));
}

TEST(VsmixUsage, CommandLineMistakesAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {{},
                                                       {"bogus"},
                                                       {"show"},
                                                       {"set", "master=5"},
                                                       {"devices", "--play", "x"},
                                                       {"-s", "devices"},
                                                       {"--card"}};
  for (const auto& args : cases) {
    const Outcome run = Vsmix(args);
    EXPECT_EQ(run.exit, 2) << (args.empty() ? "(none)" : args[0]) << run.out;
    EXPECT_THAT(run.err, HasSubstr("vsmix: "));
  }
  const Outcome help = Vsmix({"--help"});
  EXPECT_EQ(help.exit, 0);
  EXPECT_THAT(help.out, HasSubstr("topology"));
}

TEST(VsmixSession, KeepsTheCardOpenAndGoesOnAfterAFailedCommand) {
  const Outcome run = Vsmix({"-s"},
                            "# a session\n"
                            "open --play 5f3e --mic 8b1f --line d4b2\n"
                            "set master=30 mic-boost-level=10\n"
                            "set master=300\n"
                            "frobnicate\n"
                            "\n"
                            "show --json\n"
                            "close --restore\n"
                            "show\n"
                            "open --default\n"
                            "quit\n"
                            "show\n");
  EXPECT_EQ(run.exit, 2);  // the worst of its commands
  EXPECT_THAT(run.err, HasSubstr("vsmix: line 4: master=300: expected a whole percentage"));
  EXPECT_THAT(run.err, HasSubstr("vsmix: line 5: "));
  EXPECT_THAT(run.err, HasSubstr("vsmix: line 9: no card is open"));
  EXPECT_THAT(run.out, HasSubstr("set mic-boost-level=10: ok"));
  // The card stayed open between the commands: the JSON table shows the values set.
  const std::size_t start = run.out.find("{\n");
  const std::size_t end = run.out.find("\n}\n", start);
  ASSERT_NE(end, std::string::npos);
  auto controls = ByName(json::parse(run.out.substr(start, end + 2 - start)).at("controls"));
  EXPECT_EQ(controls["master"]["value"], 29);  // read back truncated
  EXPECT_EQ(controls["mic-boost-level"]["value"], 10);
  EXPECT_THAT(run.out, HasSubstr("closed with the restore"));
  EXPECT_THAT(run.out, HasSubstr("OpenDefaultDevices returned 0"));
  EXPECT_EQ(run.out.find("OpenDefaultDevices", run.out.find("OpenDefaultDevices") + 1),
            std::string::npos);  // nothing after quit
}

TEST(VsmixCards, MalformedCardFilesAreRefusedWithThePlace) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"{\"endpoints\": [", ":1:16: "},
      {R"({"endpoints": [{"key": "k", "id": "x", "flow": "sideways"}]})",
       ": /endpoints/0/flow: expected one of \"render\", \"capture\""},
      {R"({"adapters": [{"key": "a", "deviceId": "d", "parts": [], "paths": [["x", "y"]]}]})",
       ": /adapters/0/paths/0/0: no part \"x\""},
  };
  for (const auto& c : cases) {
    const std::string path = WriteCard("bad.json", c.text);
    const Outcome run = Vsmix({"--card", path, "devices"});
    EXPECT_EQ(run.exit, 2) << c.text;
    EXPECT_THAT(run.err, HasSubstr("vsmix: " + path + c.message)) << c.text;
    EXPECT_EQ(run.out, "") << c.text;
  }
  const Outcome missing = Vsmix({"--card", "/nonexistent.json", "devices"});
  EXPECT_EQ(missing.exit, 2);
  EXPECT_THAT(missing.err, HasSubstr("/nonexistent.json: cannot be read"));
}

TEST(VsmixCards, ACardFromAFileReplacesTheEmbeddedOne) {
  const std::string path = WriteCard("one.json", R"({
    "endpoints": [{"key": "out", "id": "{x}.{only-output}", "flow": "render",
                   "name": "Caf\u00e9 Speakers", "volume": {"level": -20}}],
    "defaults": {"render": "out"}})");
  const Outcome devices = Vsmix({"--card", path, "devices", "--json"});
  ASSERT_EQ(devices.exit, 0) << devices.err;
  const json listed = json::parse(devices.out);
  ASSERT_EQ(listed["playback"]["endpoints"].size(), 1u);
  // The name crosses the exports in the ANSI code page and comes back as UTF-8.
  EXPECT_EQ(listed["playback"]["endpoints"][0]["name"], "Caf\u00e9 Speakers");
  EXPECT_EQ(listed["record"]["endpoints"].size(), 0u);

  // Without --card, the card that VELMORA_SIMULATED_CARD names, as the
  // simulated COM server does on Windows.
  setenv("VELMORA_SIMULATED_CARD", path.c_str(), 1);
  const Outcome fromEnvironment = Vsmix({"devices", "--json"});
  unsetenv("VELMORA_SIMULATED_CARD");
  EXPECT_EQ(fromEnvironment.exit, 0) << fromEnvironment.err;
  EXPECT_EQ(fromEnvironment.out, devices.out);

  // No topology behind the endpoint: the playback part fails after its lookup,
  // and the master volume still answers through the endpoint.
  const Outcome shown = Vsmix({"--card", path, "show", "--play", "only-output"});
  EXPECT_EQ(shown.exit, 1) << shown.err;
  EXPECT_THAT(shown.out, HasSubstr("OpenSoundCard returned 1: playback could not be opened"));
  EXPECT_THAT(shown.out, HasSubstr("master           10 %"));
}

TEST(VsmixTopology, ShowsPartsLinksKeywordsAndTheControlsTheMixerHolds) {
  const Outcome run = Vsmix({"topology", "--play", Speakers, "--mic", "3e7a9c12"});
  EXPECT_EQ(run.exit, 0) << run.err;
  for (const char* line :
       {"volume   0 dB (-65.25..0 dB, step 0.75), not muted, 2 channels",
        "adapter  {1}.HDAUDIO\\FUNC_01&VEN_10EC&DEV_0887, reached at part 0",
        "\"Tone\"                   3         1         -         IAudioBass* 3 dB, IAudioTreble* "
        "-1.5 dB",
        "\"CD Volume\"              11        13        -         IAudioVolumeLevel -10 dB",
        "\"Sum\"                    7,10,13,16 3",
        "\"Mic Boost (+20dB)\"      0         2         mic boost +2 IAudioLoudness* off"})
    EXPECT_THAT(run.out, HasSubstr(line));
}

TEST(VsmixTopology, JsonShowsTheLevelsTheExportsWrote) {
  // Set through the exports in a session, then read through the platform.
  const Outcome run = Vsmix({"-s"},
                            "open --play 5f3e\nset master=50 bass=-4.5 line-mute=on\n"
                            "topology --json\n");
  ASSERT_EQ(run.exit, 0) << run.err;
  const json graph = json::parse(run.out.substr(run.out.rfind("{\n  \"endpoints\"")));
  const json& speakers = graph.at("endpoints").at(0);
  // 50 % is 20 log10(0.5) = -6.0206 dB below the top, on every channel.
  EXPECT_FLOAT_EQ(speakers["endpointVolume"]["levelDb"].get<double>(), -6.0206f);
  std::map<std::string, json> parts;
  for (const json& part : speakers.at("parts")) parts[part.at("name")] = part;
  EXPECT_EQ(parts["Tone"]["controls"][0],
            (json{{"interface", "IAudioBass"},
                  {"held", true},
                  {"levelDb", -4.5},
                  {"range", {{"min", -12.0}, {"max", 12.0}, {"step", 1.5}}}}));
  EXPECT_EQ(parts["Line Mute"]["controls"][0]["enabled"], true);
  EXPECT_EQ(parts["CD Mute"]["controls"][0]["held"], false);
  EXPECT_EQ(parts["Line In"]["keywords"], json::array({"line"}));
}

TEST(VsmixTopology, DotOutputIsAGraphGraphvizReads) {
  const Outcome run = Vsmix({"topology", "--default", "--dot"});
  ASSERT_EQ(run.exit, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("g0_4 -> g0_3;"));  // sum to midrange
  EXPECT_THAT(run.out, HasSubstr("<B>IAudioLoudness off</B>"));
  const std::string path = WriteCard("graph.dot", run.out);
  if (std::system("command -v dot >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Graphviz";
  EXPECT_EQ(std::system(("dot -Tsvg -o /dev/null " + path).c_str()), 0);
}

}  // namespace
