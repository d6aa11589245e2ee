// vsmix: a mixer host over the VelmoraSound exports. It lists endpoints, opens
// a card and shows every control, sets controls by name, closes with or
// without the restore, and shows the hardware topology behind each endpoint.
// `vsmix -s` reads such commands from standard input, one per line, in one
// process, so the library's state lives from one command to the next.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "mixer.h"
#include "service.h"
#include "topology.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vsmix {
namespace {

// Exit codes.
enum Exit : int {
  Success = 0,
  MixerFailure = 1,   // an opening or a control export reported a failure
  UsageError = 2,     // a bad command line, setting or card file
  ServiceProblem = 3  // the simulated service found a leak or a misuse
};

struct Command {
  std::string name;
  CardChoice card;
  std::string aux;
  std::vector<std::string> settings;
  bool restore = false;
  bool json = false;
  bool dot = false;
};

// A command that cannot be carried out as given.
class UsageFailure : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// What lives from one command to the next.
struct Session {
  std::optional<CardChoice> opened;  // the devices of the card open now
};

void AddCardOptions(CLI::App* command, Command& parsed) {
  command->add_flag("--default", parsed.card.useDefault, "Open the default devices");
  command->add_option("--play", parsed.card.play, "Playback device: text in its endpoint ID");
  command->add_option("--mic", parsed.card.mic, "Microphone: text in its endpoint ID");
  command->add_option("--line", parsed.card.line, "Line input: text in its endpoint ID");
  command->add_option("--aux", parsed.aux, "Auxiliary playback endpoint: text in its ID");
}

void BuildCommands(CLI::App& app, Command& parsed) {
  app.require_subcommand(1);
  app.add_subcommand("devices", "List the playback and record endpoints")
      ->add_flag("--json", parsed.json, "Print JSON");

  CLI::App* show =
      app.add_subcommand("show", "Open the card (when devices are given) and show every control");
  AddCardOptions(show, parsed);
  show->add_flag("--json", parsed.json, "Print JSON");

  CLI::App* set = app.add_subcommand("set", "Set controls by name, then show every control");
  AddCardOptions(set, parsed);
  std::string names;
  for (const std::string& name : ControlNames()) names += (names.empty() ? "" : ", ") + name;
  set->add_option("settings", parsed.settings, "NAME=VALUE ..., NAME one of: " + names)->required();
  set->add_flag("--restore", parsed.restore,
                "Then close with the restore of the values saved at opening, and show them");
  set->add_flag("--json", parsed.json, "Print JSON");

  CLI::App* open = app.add_subcommand("open", "Open the card and keep it open");
  AddCardOptions(open, parsed);

  app.add_subcommand("close", "Close the card")
      ->add_flag("--restore", parsed.restore, "Put back the values saved at opening");

  CLI::App* topology =
      app.add_subcommand("topology", "Show the hardware topology behind each endpoint");
  AddCardOptions(topology, parsed);
  topology->add_flag("--dot", parsed.dot, "Print a Graphviz graph");
  topology->add_flag("--json", parsed.json, "Print JSON");

  app.add_subcommand("quit", "End a session");
}

// The command's name and its --aux text, once CLI11 has parsed it.
void Complete(const CLI::App& app, Command& parsed) {
  const auto commands = app.get_subcommands();
  if (commands.empty()) return;
  parsed.name = commands.front()->get_name();
  if (const CLI::Option* aux = commands.front()->get_option_no_throw("--aux");
      aux != nullptr && aux->count() > 0)
    parsed.card.aux = parsed.aux;
}

void PrintJson(const nlohmann::json& value) {
  std::cout << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

const char* const NothingOpen =
    "no card is open: give --default, or devices with --play, --mic, --line or --aux";

// Opens the card when the command names devices.
std::optional<Opening> OpenIfGiven(const Command& command, Session& session) {
  if (!command.card.Any()) {
    if (!session.opened) throw UsageFailure(NothingOpen);
    return std::nullopt;
  }
  CloseCard(false);  // the auxiliary endpoint of an earlier opening too
  session.opened = command.card;
  return OpenCard(command.card);
}

int RunDevices(const Command& command) {
  const EndpointLists lists = ListEndpoints();
  if (command.json)
    PrintJson(EndpointsJson(lists));
  else
    std::cout << FormatEndpoints(lists);
  return lists.playResult == 0 && lists.recordResult == 0 ? Success : MixerFailure;
}

// show and set: open when devices are given, set, show every control, and
// with --restore close with the restore and show what it put back.
int RunControls(const Command& command, Session& session) {
  std::vector<Setting> settings;
  for (const std::string& assignment : command.settings)
    settings.push_back(ParseSetting(assignment));  // all checked before any is set
  int exit = Success;
  nlohmann::json json;
  if (const std::optional<Opening> opening = OpenIfGiven(command, session)) {
    if (opening->Failed()) exit = MixerFailure;
    if (command.json)
      json["opening"] = OpeningJson(*opening);
    else
      std::cout << DescribeOpening(*opening);
  }
  for (const Setting& setting : settings) {
    const int status = ApplySetting(setting);
    if (status != 0) exit = MixerFailure;
    if (command.json)
      json["settings"].push_back({{"name", setting.name},
                                  {"value", setting.text},
                                  {"status", status},
                                  {"statusText", StatusText(status)}});
    else
      std::cout << "set " << setting.name << "=" << setting.text << ": " << StatusText(status)
                << "\n";
  }
  const bool withAux = session.opened->aux.has_value();
  const std::vector<Reading> readings = ReadControls(withAux);
  if (command.json)
    json["controls"] = ReadingsJson(readings);
  else
    std::cout << FormatTable(readings);

  if (command.restore) {
    // The restore's values, read back through a fresh opening of the same devices.
    const CardChoice devices = *session.opened;
    CloseCard(true);
    session.opened.reset();
    const Opening reopened = OpenCard(devices);
    const std::vector<Reading> restored = ReadControls(withAux);
    CloseCard(false);
    if (command.json) {
      json["restored"] = {{"opening", OpeningJson(reopened)}, {"controls", ReadingsJson(restored)}};
    } else {
      std::cout << "\nClosed with the restore. Opened again, the card reads:\n"
                << FormatTable(restored);
    }
  }
  if (command.json) PrintJson(json);
  return exit;
}

int RunTopology(const Command& command, Session& session) {
  const std::optional<Opening> opening = OpenIfGiven(command, session);
  const std::vector<EndpointGraph> graphs = ReadTopologies(*session.opened, HeldControls());
  if (command.dot) {
    std::cout << FormatDot(graphs);
  } else if (command.json) {
    nlohmann::json json = {{"endpoints", TopologyJson(graphs)}};
    if (opening) json["opening"] = OpeningJson(*opening);
    PrintJson(json);
  } else {
    if (opening) std::cout << DescribeOpening(*opening) << "\n";
    if (!ServiceIsSimulated())
      std::cout << "(which controls the mixer holds is shown over the simulated service only)\n";
    std::cout << FormatTopology(graphs);
  }
  for (const EndpointGraph& graph : graphs)
    if (!graph.problem.empty()) return MixerFailure;
  return Success;
}

int Run(const Command& command, Session& session, const std::string& where) {
  try {
    if (command.name == "devices") return RunDevices(command);
    if (command.name == "show" || command.name == "set") return RunControls(command, session);
    if (command.name == "topology") return RunTopology(command, session);
    if (command.name == "open") {
      if (!command.card.Any()) throw UsageFailure(NothingOpen);
      const std::optional<Opening> opening = OpenIfGiven(command, session);
      std::cout << DescribeOpening(*opening);
      return opening->Failed() ? MixerFailure : Success;
    }
    if (command.name == "close") {
      CloseCard(command.restore);
      session.opened.reset();
      std::cout << (command.restore ? "closed with the restore\n" : "closed\n");
      return Success;
    }
  } catch (const std::invalid_argument& error) {
    std::cerr << "vsmix: " << where << error.what() << "\n";
    return UsageError;
  }
  return Success;
}

// --help prints the help and succeeds; anything else is a usage error.
int Failed(const CLI::App& app, const CLI::ParseError& error, const std::string& where) {
  if (error.get_exit_code() == 0) return app.exit(error);
  std::cerr << "vsmix: " << where << error.what() << " (see --help)\n";
  return UsageError;
}

// Parses one command line of a session; false when it is not a command.
bool Parse(const std::string& line, Command& command, const std::string& where, int& exit) {
  CLI::App app{"A mixer host over the VelmoraSound exports", "vsmix"};
  BuildCommands(app, command);
  try {
    app.parse(line, false);
  } catch (const CLI::ParseError& error) {
    exit = Failed(app, error, where);
    return false;
  }
  Complete(app, command);
  return true;
}

int RunSession(Session& session) {
  int worst = Success;
  std::string line;
  for (int number = 1; std::getline(std::cin, line); ++number) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    const std::string where = "line " + std::to_string(number) + ": ";
    Command command;
    int exit = Success;
    if (Parse(line, command, where, exit)) {
      if (command.name == "quit") break;
      exit = Run(command, session, where);
    }
    worst = std::max(worst, exit);
    std::cout.flush();
  }
  return worst;
}

int Main(int argc, char** argv) {
  CLI::App app{"A mixer host over the VelmoraSound exports", "vsmix"};
  Command command;
  BuildCommands(app, command);
  app.require_subcommand(0, 1);
  std::string cardFile;
  bool session = false;
  app.add_option("--card", cardFile,
                 "Simulated service only: the card file to load instead of the embedded "
                 "reference machine");
  app.add_flag("-s,--session", session, "Read commands from standard input, one per line");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return Failed(app, error, "");
  }
  Complete(app, command);
  if (session == !command.name.empty()) {
    std::cerr << "vsmix: give one command, or -s to read commands from standard input\n"
              << app.help();
    return UsageError;
  }
  try {
    LoadCard(cardFile);
  } catch (const std::runtime_error& error) {
    std::cerr << "vsmix: " << error.what() << "\n";
    return UsageError;
  }

  Session state;
  int exit = session ? RunSession(state) : Run(command, state, "");
  if (command.name == "quit") exit = Success;
  CloseCard(false);
  for (const std::string& problem : ServiceProblems()) {
    std::cerr << "vsmix: the simulated service reports: " << problem << "\n";
    exit = ServiceProblem;
  }
  return exit;
}

}  // namespace
}  // namespace vsmix

int main(int argc, char** argv) {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);
#endif
  return vsmix::Main(argc, argv);
}
