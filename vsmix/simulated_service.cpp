#include <stdexcept>

#include "card_file.h"
#include "service.h"
#include "simulated_audio.h"

extern const char EmbeddedReferenceCard[];

namespace vsmix {

namespace {

const char* InterfaceOfLabel(const std::string& suffix) {
  const std::pair<const char*, const char*> kinds[] = {
      {"volume", "IAudioVolumeLevel"}, {"mute", "IAudioMute"},
      {"bass", "IAudioBass"},          {"treble", "IAudioTreble"},
      {"midrange", "IAudioMidrange"},  {"agc", "IAudioAutoGainControl"},
      {"loudness", "IAudioLoudness"}};
  for (const auto& [label, interfaceName] : kinds)
    if (suffix == label) return interfaceName;
  return nullptr;
}

}  // namespace

bool ServiceIsSimulated() { return true; }

void LoadCard(const std::string& path) {
  sim::World& world = sim::World::Get();
  if (path.empty())
    sim::LoadCard(world, EmbeddedReferenceCard, "the embedded reference machine");
  else
    sim::LoadCardFile(world, path);
}

std::vector<HeldControl> HeldControls() {
  // Control objects are labelled "<adapter>.<part>.<kind>"; the part's local
  // ID is its place in the adapter.
  std::vector<HeldControl> held;
  const sim::World& world = sim::World::Get();
  for (const std::string& label : world.LiveObjectLabels()) {
    const std::size_t dot = label.rfind('.');
    const char* interfaceName =
        dot == std::string::npos ? nullptr : InterfaceOfLabel(label.substr(dot + 1));
    if (interfaceName == nullptr) continue;
    const std::string partKey = label.substr(0, dot);
    for (const auto& adapter : world.Adapters())
      for (std::size_t id = 0; id < adapter->parts.size(); ++id)
        if (adapter->parts[id]->key == partKey)
          held.push_back(
              {sim::ToUtf8(adapter->deviceId), static_cast<unsigned>(id), interfaceName});
  }
  return held;
}

std::vector<std::string> ServiceProblems() { return sim::World::Get().Problems(); }

}  // namespace vsmix
