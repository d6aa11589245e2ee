// The hardware topology behind each endpoint of a card, as the platform
// reports it: diagnostics beside the exports, read through the platform layer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mixer.h"

namespace vsmix {

// A control a part offers, with its state as the platform reports it.
struct PartControl {
  std::string interfaceName;      // "IAudioVolumeLevel"
  bool held = false;              // the mixer holds it after opening
  std::optional<double> levelDb;  // level controls: channel 0
  std::optional<Range> range;     // level controls: channel 0
  std::optional<bool> enabled;    // mute, automatic gain, loudness
};

struct TopologyPart {
  unsigned id = 0;  // the part's local ID
  std::string name;
  bool connector = false;
  std::vector<unsigned> incoming, outgoing;  // local IDs, in the platform's order
  std::vector<PartControl> controls;         // the control interfaces it activates
  std::vector<std::string> keywords;         // the part-name keywords its name contains
};

struct EndpointGraph {
  std::string role;  // "playback", "microphone", "line", "aux", "default capture"
  std::string endpointId, endpointName;
  std::string adapterId;
  std::optional<PartControl> endpointVolume;  // the endpoint's own volume and mute
  unsigned channels = 0;                      // of the endpoint volume
  unsigned attachedPart = 0;                  // the adapter connector the endpoint leads to
  std::vector<TopologyPart> parts;
  std::string problem;  // why the graph could not be read; empty when it was
};

// A control the mixer holds: the adapter, the part's local ID and the
// interface. Known only over the simulated service.
struct HeldControl {
  std::string adapterId;
  unsigned partId = 0;
  std::string interfaceName;
};

// Reads the graph behind each endpoint that `choice` names, marking `held`.
std::vector<EndpointGraph> ReadTopologies(const CardChoice& choice,
                                          const std::vector<HeldControl>& held);

std::string FormatTopology(const std::vector<EndpointGraph>& graphs);
nlohmann::json TopologyJson(const std::vector<EndpointGraph>& graphs);
// A Graphviz graph: connectors as boxes, subunits as ellipses, the controls the
// mixer holds in bold.
std::string FormatDot(const std::vector<EndpointGraph>& graphs);

}  // namespace vsmix
