#include <stdexcept>

#include "card_file.h"
#include "service.h"
#include "service_control.h"
#include "simulated_audio.h"

extern const char EmbeddedReferenceCard[];

namespace vsmix {

bool ServiceIsSimulated() { return true; }

void LoadCard(const std::string& path) {
  sim::World& world = sim::World::Get();
  if (path.empty())
    sim::LoadCard(world, EmbeddedReferenceCard, "the embedded reference machine");
  else
    sim::LoadCardFile(world, path);
}

std::vector<HeldControl> HeldControls() {
  return HeldControlsFromText(ServiceText(VelmoraSimHeldControls));
}

std::vector<std::string> ServiceProblems() { return sim::World::Get().Problems(); }

}  // namespace vsmix
