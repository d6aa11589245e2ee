#include <cstdlib>
#include <stdexcept>

#include "card_file.h"
#include "service.h"
#include "service_control.h"
#include "simulated_audio.h"

extern const char EmbeddedReferenceCard[];

namespace vsmix {

bool ServiceIsSimulated() { return true; }

void LoadCard(const std::string& path) {
  // Without --card, the card that the simulated COM server on Windows would
  // start with: the file VELMORA_SIMULATED_CARD names, or the reference machine.
  const char* fromEnvironment = std::getenv("VELMORA_SIMULATED_CARD");
  sim::World& world = sim::World::Get();
  if (!path.empty())
    sim::LoadCardFile(world, path);
  else if (fromEnvironment != nullptr && *fromEnvironment != 0)
    sim::LoadCardFile(world, fromEnvironment);
  else
    sim::LoadCard(world, EmbeddedReferenceCard, "the embedded reference machine");
}

std::vector<HeldControl> HeldControls() {
  return HeldControlsFromLines(sim::ReadServiceLines(VelmoraSimHeldControls));
}

std::vector<std::string> ServiceProblems() { return sim::World::Get().Problems(); }

}  // namespace vsmix
