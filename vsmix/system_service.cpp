// Windows: the system's Core Audio service, or the simulated COM server when
// the executable's manifest routes the device enumerator to it. The server's
// control functions are then found in the process and used for the held
// controls and the accounting, as on Linux.
#include <windows.h>

#include <stdexcept>

#include "service.h"
#include "service_control.h"

namespace vsmix {

namespace {

using sim::ServiceTextFunction;

// A control function of the simulated COM server, when COM has loaded it.
ServiceTextFunction SimulatedServiceFunction(const char* name) {
  const HMODULE server = GetModuleHandleW(L"SimulatedCoreAudio.dll");
  if (server == nullptr) return nullptr;
  return reinterpret_cast<ServiceTextFunction>(
      reinterpret_cast<void*>(GetProcAddress(server, name)));
}

}  // namespace

bool ServiceIsSimulated() { return SimulatedServiceFunction("VelmoraSimProblems") != nullptr; }

void LoadCard(const std::string& path) {
  if (!path.empty())
    throw std::runtime_error(
        "--card needs the simulated service; on Windows, run vsmix with the simulated COM "
        "server's manifest and name the card in VELMORA_SIMULATED_CARD");
}

std::vector<HeldControl> HeldControls() {
  const ServiceTextFunction held = SimulatedServiceFunction("VelmoraSimHeldControls");
  return held != nullptr ? HeldControlsFromLines(sim::ReadServiceLines(held))
                         : std::vector<HeldControl>{};
}

std::vector<std::string> ServiceProblems() {
  const ServiceTextFunction problems = SimulatedServiceFunction("VelmoraSimProblems");
  return problems != nullptr ? sim::ReadServiceLines(problems) : std::vector<std::string>{};
}

}  // namespace vsmix
