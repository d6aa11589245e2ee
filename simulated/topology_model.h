// The hardware topology of a simulated adapter: parts (connectors and
// subunits) joined by ordered incoming and outgoing links, each offering the
// controls a driver would expose. Controls keep what is written.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

namespace sim {

struct ChannelLevel {
  float levelDb = 0.0f;
  float minDb = 0.0f;
  float maxDb = 0.0f;
  float stepDb = 0.0f;
};

// A per-channel decibel control: volume, bass, treble or midrange.
struct LevelControl {
  std::vector<ChannelLevel> channels;
};

struct Adapter;

struct Part {
  std::string key;  // names the part's objects in the call log and in fault rules
  std::u16string name;
  PartType type = Subunit;
  Adapter* adapter = nullptr;
  std::vector<Part*> incoming;  // in order
  std::vector<Part*> outgoing;  // in order

  std::optional<LevelControl> volume, bass, treble, midrange;
  std::optional<BOOL> mute, autoGain, loudness;

  // Builder helpers: each adds a control and returns the part.
  Part& Volume(float minDb, float maxDb, float stepDb, float levelDb = 0.0f, UINT channels = 2);
  Part& Bass(float minDb, float maxDb, float stepDb, float levelDb = 0.0f, UINT channels = 2);
  Part& Treble(float minDb, float maxDb, float stepDb, float levelDb = 0.0f, UINT channels = 2);
  Part& Midrange(float minDb, float maxDb, float stepDb, float levelDb = 0.0f, UINT channels = 2);
  Part& Mute(BOOL muted = FALSE);
  Part& AutoGain(BOOL enabled = FALSE);
  Part& Loudness(BOOL enabled = FALSE);
};

// An adapter device's topology. Parts are added in order; connectors are
// listed by IDeviceTopology in the order they were added.
struct Adapter {
  std::string key;
  std::u16string deviceId;
  std::vector<std::unique_ptr<Part>> parts;
  std::vector<Part*> connectors;
  std::unordered_map<std::string, Part*> partsByKey;  // by the part's own key, for the builders

  Part& Connector(std::string partKey, std::u16string name);
  Part& Subunit(std::string partKey, std::u16string name);
  Part& operator[](const std::string& partKey);
  // Links each part to the next in the direction of the signal: A's outgoing
  // list gains B, B's incoming list gains A, in the order of the calls.
  Adapter& Path(std::initializer_list<const char*> partKeys);
};

}  // namespace sim
