// The host side of a host of the DLL: the mixer state is out of sight; the
// service is the simulated COM server, reached through its control functions;
// COM initialisation is observed on the host's own thread.
// windows.h comes first: objbase.h builds on it.
#include <windows.h>

#include <objbase.h>

#include "host_side.h"
#include "service_control.h"

std::optional<bool> MixerHolds(Slot) { return std::nullopt; }

std::vector<std::string> PlatformProblems() {
  std::vector<std::string> problems = sim::ReadServiceLines(VelmoraSimProblems);
  // A thread that COM has never seen answers S_OK; anything else means the
  // library left COM initialised on it.
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(hr)) CoUninitialize();
  if (hr != S_OK) problems.push_back("COM left initialised on the host thread");
  return problems;
}
