// Simulated machines of a chosen size, for measuring how the opening and
// enumeration exports scale.
#pragma once

#include <string>

#include "simulated_audio.h"

namespace bench {

// `perFlow` active playback and `perFlow` active capture endpoints. The last of
// each flow is the one to open (a lookup examines every endpoint before it) and
// the console default; it leads to a small HD-audio codec (playback) or to a
// capture adapter with a microphone boost (capture). The IDs to open them:
std::string PlaybackTarget(int perFlow);
std::string CaptureTarget(int perFlow);
void InstallManyEndpoints(sim::World& world, int perFlow);

// One playback endpoint before an adapter of about `parts` parts, in one of
// three shapes. The result is the number of parts installed.
enum class GraphShape {
  // Realistic: a short chain (volume, tone) behind the speaker jack, then a sum
  // whose inputs each come through a jack, a volume and a mute; the line and
  // microphone inputs sit a third and two thirds of the way along them.
  WideInputs,
  // Realistic: a capture adapter with many input connectors, each through its
  // own volume into a multiplexer; the microphone's connector, with a boost,
  // is the last one listed. Opened as the microphone.
  ManyConnectors,
  // Adversarial: one long chain of single-input parts behind the speaker jack.
  LongChain,
};
int InstallGraph(sim::World& world, GraphShape shape, int parts);
// Opens the graph's endpoint as the device its shape is for; OpenSoundCard's result.
int OpenGraph(GraphShape shape);
const char* ShapeName(GraphShape shape);

}  // namespace bench
