#include "service.h"

#include <sstream>

namespace vsmix {

std::vector<HeldControl> HeldControlsFromText(const std::string& text) {
  std::vector<HeldControl> held;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t first = line.find('\t'), second = line.find('\t', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    held.push_back({line.substr(0, first),
                    static_cast<unsigned>(std::stoul(line.substr(first + 1, second - first - 1))),
                    line.substr(second + 1)});
  }
  return held;
}

std::string ServiceText(std::size_t (*read)(char*, std::size_t)) {
  std::string text(read(nullptr, 0), '\0');
  read(text.data(), text.size());
  text.pop_back();  // the terminator
  return text;
}

}  // namespace vsmix
