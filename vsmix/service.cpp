#include "service.h"

namespace vsmix {

std::vector<HeldControl> HeldControlsFromLines(const std::vector<std::string>& lines) {
  std::vector<HeldControl> held;
  for (const std::string& line : lines) {
    const std::size_t first = line.find('\t'), second = line.find('\t', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    held.push_back({line.substr(0, first),
                    static_cast<unsigned>(std::stoul(line.substr(first + 1, second - first - 1))),
                    line.substr(second + 1)});
  }
  return held;
}

}  // namespace vsmix
