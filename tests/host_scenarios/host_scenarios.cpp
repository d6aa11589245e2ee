// The host scenarios as a program, for the Linux build and for the DLL alike.
//
//   velmora_host_scenarios transcript   every scenario once; prints each export's
//                                       answers and the platform calls beneath
//   velmora_host_scenarios sweep [POSITIONS]
//                                       every scenario again with a fault at each
//                                       platform call, once and from there on;
//                                       with POSITIONS, at most that many calls
//                                       of each scenario, evenly spaced; prints
//                                       a fingerprint of each run
//   velmora_host_scenarios replay SCENARIO CALL RESULT once|on
//                                       one run of the sweep, in full
//   velmora_host_scenarios self-check   the leak, allocation and COM checks
//                                       catch a host that leaves all three
//
// The exit code is 0 when no check failed, 1 otherwise; problems go to
// standard error. Built against the DLL and run with the simulated COM server,
// its transcript must equal the Linux build's, line for line.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "scenarios.h"
#include "service_control.h"

namespace {

// A fresh reference machine, loaded from its card file by the service. The
// mixer state is the library's own: like any host process, this one carries
// it from one session to the next.
void StartHostSession() {
  const char* card = std::getenv("VELMORA_REFERENCE_CARD");
  char error[512];
  if (VelmoraSimLoadCard(card != nullptr ? card : VELMORA_REFERENCE_CARD, error, sizeof error) !=
      0) {
    std::fprintf(stderr, "cannot load the reference card: %s\n", error);
    std::exit(2);
  }
}

struct Tally {
  int runs = 0;
  int failedRuns = 0;
  std::size_t checks = 0;

  void Count(const HostContract& host, const std::vector<std::string>& problems,
             const std::string& what) {
    ++runs;
    // Each export answer is checked against the contract, and the run as a
    // whole against the service's accounting.
    checks += host.Transcript().size() + 1;
    if (problems.empty()) return;
    if (++failedRuns <= 10)
      for (const std::string& problem : problems)
        std::fprintf(stderr, "%s: %s\n", what.c_str(), problem.c_str());
  }
};

void PrintRun(const char* name, const HostContract& host) {
  std::printf("== %s\n", name);
  for (const std::string& line : host.Transcript()) std::printf("%s\n", line.c_str());
  std::printf("-- platform calls\n%s", sim::ReadServiceText(VelmoraSimCallLog).c_str());
}

// One run of a sweep in full: scenario (from 1), call, result, once or on.
int Replay(int index, std::uint64_t call, std::int32_t result, bool once) {
  if (index < 1 || index > static_cast<int>(HostScenarios().size())) return 2;
  const Scenario& scenario = HostScenarios()[index - 1];
  StartHostSession();
  VelmoraSimInjectFault("*", "*", result, call, once ? 1 : 0xFFFFFFFFu);
  HostContract host;
  scenario.run(host);
  PrintRun(scenario.name, host);
  Tally tally;
  tally.Count(host, EndHostSession(host), scenario.name);
  return tally.failedRuns == 0 ? 0 : 1;
}

int Transcript() {
  Tally tally;
  for (const Scenario& scenario : HostScenarios()) {
    StartHostSession();
    HostContract host;
    scenario.run(host);
    PrintRun(scenario.name, host);
    tally.Count(host, EndHostSession(host), scenario.name);
  }
  std::fprintf(stderr, "%d scenarios, %zu checks, %d failed\n", tally.runs, tally.checks,
               tally.failedRuns);
  return tally.failedRuns == 0 ? 0 : 1;
}

// A run's answers and platform calls, as one number to compare between builds.
std::uint64_t Fingerprint(const HostContract& host) {
  std::uint64_t hash = 0xCBF29CE484222325u;  // FNV-1a
  const auto add = [&hash](const std::string& text) {
    for (const unsigned char byte : text) hash = (hash ^ byte) * 0x100000001B3u;
  };
  for (const std::string& line : host.Transcript()) add(line + "\n");
  add(sim::ReadServiceText(VelmoraSimCallLog));
  return hash;
}

int Sweep(std::uint64_t positions) {
  const std::int32_t results[] = {static_cast<std::int32_t>(0x80004005),   // E_FAIL
                                  1,                                       // S_FALSE
                                  static_cast<std::int32_t>(0x80070490)};  // E_NOTFOUND
  Tally tally;
  int index = 0;
  for (const Scenario& scenario : HostScenarios()) {
    ++index;
    if (!scenario.swept) continue;
    StartHostSession();
    {
      HostContract host;
      scenario.run(host);
      EndHostSession(host);
    }
    const std::uint64_t calls = VelmoraSimInjectableCalls();
    const std::uint64_t stride = calls > positions ? (calls + positions - 1) / positions : 1;
    std::printf("== %s: %llu calls, every %llu swept\n", scenario.name,
                static_cast<unsigned long long>(calls), static_cast<unsigned long long>(stride));
    for (std::uint64_t call = 1; call <= calls; call += stride)
      for (const std::int32_t result : results)
        for (const std::uint32_t times : {1u, 0xFFFFFFFFu}) {
          StartHostSession();
          VelmoraSimInjectFault("*", "*", result, call, times);
          HostContract host;
          scenario.run(host);
          // Each line: scenario, call, result, once or from there on, and the
          // fingerprint of what the host saw and the platform calls it made.
          const std::string run = std::to_string(index) + " " + std::to_string(call) + " " +
                                  std::to_string(result) + (times == 1 ? " once" : " on");
          std::printf("%s %016llx\n", run.c_str(),
                      static_cast<unsigned long long>(Fingerprint(host)));
          tally.Count(host, EndHostSession(host), run);
        }
  }
  std::fprintf(stderr, "%d runs, %zu checks, %d failed\n", tally.runs, tally.checks,
               tally.failedRuns);
  return tally.failedRuns == 0 ? 0 : 1;
}

bool Mentions(const std::vector<std::string>& problems, const char* what) {
  for (const std::string& problem : problems)
    if (problem.find(what) != std::string::npos) return true;
  return false;
}

// The checks beneath the exports must be able to fail: a host that keeps an
// enumerator, a device's ID string, a BSTR and a COM initialisation is told of
// all four, and of nothing once it has let them go. (On Windows the BSTR is
// seen only with the platform's BSTR cache off: OANOCACHE=1.)
int SelfCheck() {
  StartHostSession();
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IMMDeviceEnumerator* enumerator = nullptr;
  IMMDevice* device = nullptr;
  LPWSTR id = nullptr;
  if (entered != S_OK ||
      FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator),
                              reinterpret_cast<void**>(&enumerator))) ||
      FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device)) ||
      FAILED(device->GetId(&id))) {
    std::fprintf(stderr, "the simulated service did not answer\n");
    return 1;
  }
  device->Release();
  const WCHAR text[] = {'k', 'e', 'p', 't', 0};
  const BSTR kept = SysAllocString(text);
  const std::vector<std::string> held = PlatformProblems();
  SysFreeString(kept);
  CoTaskMemFree(id);
  enumerator->Release();
  CoUninitialize();
  const std::vector<std::string> released = PlatformProblems();

  for (const std::string& problem : held) std::printf("held: %s\n", problem.c_str());
  for (const std::string& problem : released) std::printf("released: %s\n", problem.c_str());
  const bool found = Mentions(held, "reference leaked: enumerator") &&
                     Mentions(held, "CoTaskMem block") && Mentions(held, "BSTR") &&
                     Mentions(held, "COM left initialised");
  return found && released.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "transcript") == 0) return Transcript();
  if (argc == 2 && std::strcmp(argv[1], "self-check") == 0) return SelfCheck();
  if (argc >= 2 && std::strcmp(argv[1], "sweep") == 0 && argc <= 3) {
    const long long positions = argc == 3 ? std::atoll(argv[2]) : LLONG_MAX;
    if (positions > 0) return Sweep(static_cast<std::uint64_t>(positions));
  }
  if (argc == 6 && std::strcmp(argv[1], "replay") == 0)
    return Replay(std::atoi(argv[2]), std::strtoull(argv[3], nullptr, 10),
                  static_cast<std::int32_t>(std::strtol(argv[4], nullptr, 0)),
                  std::strcmp(argv[5], "once") == 0);
  std::fprintf(stderr,
               "usage: %s transcript | sweep [POSITIONS] | replay SCENARIO CALL RESULT once|on | "
               "self-check\n",
               argv[0]);
  return 2;
}
