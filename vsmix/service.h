// The Core Audio service vsmix works over: the system's on Windows, unless a
// manifest routes COM to the simulated COM server; elsewhere the simulated
// service, holding a card from a file or the embedded reference machine.
#pragma once

#include <string>
#include <vector>

#include "topology.h"

namespace vsmix {

bool ServiceIsSimulated();

// Loads the card file at `path`, or the embedded reference machine when `path`
// is empty. Throws std::runtime_error naming the place of a fault in the file.
void LoadCard(const std::string& path);

// The controls the mixer holds now; known only over the simulated service
// (on Windows, the simulated COM server that a manifest routes COM to).
std::vector<HeldControl> HeldControls();

// The held controls from the simulated service's lines.
std::vector<HeldControl> HeldControlsFromLines(const std::vector<std::string>& lines);

// What the simulated service found wrong so far (references or memory left
// behind, misuse, COM left initialised); empty over the system's service.
std::vector<std::string> ServiceProblems();

}  // namespace vsmix
