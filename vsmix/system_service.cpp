#include <stdexcept>

#include "service.h"

namespace vsmix {

bool ServiceIsSimulated() { return false; }

void LoadCard(const std::string& path) {
  if (!path.empty())
    throw std::runtime_error("--card needs the simulated service; this vsmix uses the system's");
}

std::vector<HeldControl> HeldControls() { return {}; }

std::vector<std::string> ServiceProblems() { return {}; }

}  // namespace vsmix
