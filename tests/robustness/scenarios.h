// Whole host sessions on the reference machine, as data: each scenario is a
// name and a run of exports through the contract-checking host.
#pragma once

#include <vector>

#include "host_contract.h"

struct Scenario {
  const char* name;
  void (*run)(HostContract& host);
  bool swept = true;  // run again with a fault at each platform call
};

const std::vector<Scenario>& HostScenarios();
// The scenarios short enough to be swept.
std::vector<Scenario> SweptScenarios();

// For the tests linked with the library: a fresh reference machine and an
// empty mixer state.
void StartHostSession();

// What a host does last: close the card and the auxiliary endpoint. Returns
// every problem: contract violations, leaks, misuse, COM left unbalanced.
std::vector<std::string> EndHostSession(const HostContract& host);
