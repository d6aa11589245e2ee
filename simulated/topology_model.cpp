#include "topology_model.h"

#include <stdexcept>

namespace sim {

namespace {
LevelControl MakeLevel(float minDb, float maxDb, float stepDb, float levelDb, UINT channels) {
  LevelControl control;
  control.channels.assign(channels, ChannelLevel{levelDb, minDb, maxDb, stepDb});
  return control;
}
}  // namespace

Part& Part::Volume(float minDb, float maxDb, float stepDb, float levelDb, UINT channels) {
  volume = MakeLevel(minDb, maxDb, stepDb, levelDb, channels);
  return *this;
}
Part& Part::Bass(float minDb, float maxDb, float stepDb, float levelDb, UINT channels) {
  bass = MakeLevel(minDb, maxDb, stepDb, levelDb, channels);
  return *this;
}
Part& Part::Treble(float minDb, float maxDb, float stepDb, float levelDb, UINT channels) {
  treble = MakeLevel(minDb, maxDb, stepDb, levelDb, channels);
  return *this;
}
Part& Part::Midrange(float minDb, float maxDb, float stepDb, float levelDb, UINT channels) {
  midrange = MakeLevel(minDb, maxDb, stepDb, levelDb, channels);
  return *this;
}
Part& Part::Mute(BOOL muted) {
  mute = muted;
  return *this;
}
Part& Part::AutoGain(BOOL enabled) {
  autoGain = enabled;
  return *this;
}
Part& Part::Loudness(BOOL enabled) {
  loudness = enabled;
  return *this;
}

Part& Adapter::Connector(std::string partKey, std::u16string name) {
  Part& part = Subunit(std::move(partKey), std::move(name));
  part.type = PartType::Connector;
  connectors.push_back(&part);
  return part;
}

Part& Adapter::Subunit(std::string partKey, std::u16string name) {
  auto part = std::make_unique<Part>();
  part->key = key + "." + partKey;
  part->name = std::move(name);
  part->adapter = this;
  partsByKey.emplace(partKey, part.get());  // the first part of a key keeps it
  parts.push_back(std::move(part));
  return *parts.back();
}

Part& Adapter::operator[](const std::string& partKey) {
  const auto found = partsByKey.find(partKey);
  if (found == partsByKey.end()) throw std::invalid_argument("no part " + partKey + " in " + key);
  return *found->second;
}

Adapter& Adapter::Path(std::initializer_list<const char*> partKeys) {
  Part* previous = nullptr;
  for (const char* partKey : partKeys) {
    Part& part = (*this)[partKey];
    if (previous != nullptr) {
      previous->outgoing.push_back(&part);
      part.incoming.push_back(previous);
    }
    previous = &part;
  }
  return *this;
}

}  // namespace sim
