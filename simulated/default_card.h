#pragma once

#include "simulated_audio.h"

namespace sim {
// A small machine for demonstrations: two playback and two capture endpoints
// (plus a disabled one), with console defaults on the speakers and the USB microphone.
void InstallDefaultCard(World& world);
}  // namespace sim
