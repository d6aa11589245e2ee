// What a host sees beside the exports. Linked with the library, it can look
// into the mixer state and the simulated world directly; as a host of the DLL,
// it sees only what the simulated COM server's control functions report and
// what COM shows on its own thread. The contract checks use whatever is there.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The mixer's slots that a guard's status must agree with.
enum class Slot {
  Card,  // the current device: a sound card counts as open
  PlaybackName,
  PlaybackEndpointVolume,
  LinePlaybackLevel,
  LinePlaybackMute,
  MicPlaybackLevel,
  MicPlaybackMute,
  MicEndpointVolume,
  LineEndpointVolume,
  MicBoostSwitch,
  MicBoostLevel,
  LineMonitorSwitch,
  Bass,
  Treble,
  Midrange,
  VirtualEndpointVolume,
};

// Whether the mixer holds `slot`; nothing where the host cannot see the state.
std::optional<bool> MixerHolds(Slot slot);

// Leaks, misuse and unbalanced COM initialisation found beneath the exports.
std::vector<std::string> PlatformProblems();
