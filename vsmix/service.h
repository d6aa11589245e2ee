// The Core Audio service vsmix works over: the system's on Windows; elsewhere
// the simulated service, holding a card from a file or the embedded reference
// machine.
#pragma once

#include <string>
#include <vector>

#include "topology.h"

namespace vsmix {

bool ServiceIsSimulated();

// Loads the card file at `path`, or the embedded reference machine when `path`
// is empty. Throws std::runtime_error naming the place of a fault in the file.
void LoadCard(const std::string& path);

// The controls the mixer holds now; known only over the simulated service.
std::vector<HeldControl> HeldControls();

// What the simulated service found wrong so far (references or memory left
// behind, misuse, COM left initialised); always empty on Windows.
std::vector<std::string> ServiceProblems();

}  // namespace vsmix
