// Simulated machines that look like real hardware, shared by the tests, the
// benchmarks and the tools.
#pragma once

#include "simulated_audio.h"

namespace sim {

// Texts that pick out each endpoint of the reference machine by its ID.
namespace reference_ids {
inline constexpr const char* Speakers = "5f3e1d2a";
inline constexpr const char* Headphones = "a81b44c0";
inline constexpr const char* UsbMicrophone = "3e7a9c12";
inline constexpr const char* MicArray = "8b1f2c3d";
inline constexpr const char* LineInput = "d4b2e8f1";
}  // namespace reference_ids

// An HD-audio style codec behind the "speakers" playback endpoint: the
// speaker jack fed by a chain of master volume, tone (bass and treble) and
// midrange parts, then a sum whose inputs come from "Line In", "Microphone",
// "CD" and a front "Pink" jack, each through its own volume and mute part.
Adapter& InstallHdAudioCodec(World& world);

// A USB microphone ("usb-mic") whose path offers a "Mic Boost (+20dB)" switch.
Adapter& InstallUsbMicrophone(World& world);

// A capture device ("mic-array") whose microphone path offers only a boost
// level: 0 to 30 dB in 10 dB steps.
Adapter& InstallBoostLevelMicrophone(World& world);

// A line capture device ("line-in") with an automatic gain control two parts
// downstream of its "Line In" connector.
Adapter& InstallLineCapture(World& world);

// All four, plus headphones without a topology behind them and a disabled HDMI
// output; the console defaults are the speakers and the USB microphone.
void InstallReferenceMachine(World& world);

}  // namespace sim
