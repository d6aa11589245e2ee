// Runs each control export and then its baseline for a fixed number of calls,
// each run bracketed by callgrind client requests, so that one run of
//
//   valgrind --tool=callgrind velmora_instruction_counts [--calls N] [NAME...]
//
// leaves one dump per run, described "<case>/library" or "<case>/baseline".
// benchmarks/instruction_counts.py runs it and tabulates the dumps. NAME
// selects the cases whose names contain it; by default every case runs.
// Outside valgrind the client requests do nothing and the program only checks
// that every export reaches its control.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "VelmoraSound.h"
#include "control_cases.h"

namespace {

using control_cases::CallLog;
using control_cases::CaseCall;
using control_cases::ControlCase;

constexpr unsigned WarmUpCalls = 100;  // even: the measured calls start on the first value

volatile int sink;

bool Selected(const ControlCase& controlCase, const std::vector<std::string>& names) {
  if (names.empty()) return true;
  for (const std::string& name : names)
    if (std::strstr(controlCase.name, name.c_str()) != nullptr) return true;
  return false;
}

// One run on a freshly opened card; false when the card or the export failed.
bool Run(const ControlCase& controlCase, CaseCall call, const char* side, unsigned calls) {
  const std::string label = std::string(controlCase.name) + "/" + side;
  const std::string problem = control_cases::OpenCard(controlCase.card, CallLog::Off);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", label.c_str(), problem.c_str());
    control_cases::CloseCard();
    return false;
  }
  const bool library = call == controlCase.library;
  for (unsigned step = 0; step < WarmUpCalls; ++step) {
    const int result = call(step);
    if (library && result != StatusOk) {
      std::fprintf(stderr, "%s: the export reported status %d\n", label.c_str(), result);
      control_cases::CloseCard();
      return false;
    }
  }

  CALLGRIND_ZERO_STATS;
  for (unsigned step = 0; step < calls; ++step) sink = call(step);
  CALLGRIND_DUMP_STATS_AT(label.c_str());

  control_cases::CloseCard();
  std::printf("%s: %u calls\n", label.c_str(), calls);
  return true;
}

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--calls N] [NAME...]\n", program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  unsigned calls = 1000;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--calls") == 0) {
      if (i + 1 == argc) return Usage(argv[0]);
      char* end = nullptr;
      const long value = std::strtol(argv[++i], &end, 10);
      if (*end != 0 || value <= 0 || value > 100000000) return Usage(argv[0]);
      calls = static_cast<unsigned>(value);
    } else if (argv[i][0] == '-') {
      return Usage(argv[0]);
    } else {
      names.emplace_back(argv[i]);
    }
  }

  int selected = 0;
  bool failed = false;
  for (const ControlCase& controlCase : control_cases::ControlCases()) {
    if (!Selected(controlCase, names)) continue;
    ++selected;
    failed |= !Run(controlCase, controlCase.library, "library", calls);
    failed |= !Run(controlCase, controlCase.baseline, "baseline", calls);
  }
  if (selected == 0) {
    std::fprintf(stderr, "no case matches\n");
    return 1;
  }
  return failed ? 1 : 0;
}
