// The control exports side by side with baselines: for each export, one call
// of it, and the same platform calls made directly on the controls the mixer
// holds, with the same percent and decibel conversions. A baseline differs
// from its export only by the export's frame (guards, status writes,
// dispatch). Shared by the benchmarks, the instruction counts and the test
// that holds every baseline to its export's calls.
#pragma once

#include <string>
#include <vector>

namespace control_cases {

// The devices a case needs, all from the simulated reference machine.
enum class Card {
  Speakers,       // the HD-audio speakers as the playback device
  UsbMicrophone,  // the USB microphone (a loudness boost switch) as the microphone
  MicArray,       // the microphone array (a boost level) as the microphone
  LineInput,      // the line input (an automatic gain control) as the line device
  WholeCard,      // the speakers, the USB microphone and the line input together
  Headphones,     // the headphones as the auxiliary endpoint
};

// One call. `step` picks between the two values a setter alternates (even
// steps the first, odd steps the second), so that each call of a run that
// starts on an even step changes what the control holds; getters ignore it.
using CaseCall = int (*)(unsigned step);

struct ControlCase {
  const char* name;  // the export's name, with the kind of control where it matters
  Card card;
  // One call of the export; returns the status it reported (GetEQRange: its
  // result; GetDeviceNames: StatusOk when all three names came out non-empty).
  CaseCall library;
  // The export's platform calls and conversions, made directly; returns a
  // value derived from what they gave, for the caller to keep alive.
  CaseCall baseline;
};

// Every case, in the order of the exports' table.
const std::vector<ControlCase>& ControlCases();

enum class CallLog { Kept, Off };

// Starts from an empty mixer state and a fresh simulated world holding the
// reference machine, without fault rules, and opens `card` through the
// exports. With CallLog::Off the simulated service records no calls from then
// on, as for measurement. Returns an empty text when the card opened with the
// controls its cases need, otherwise what went wrong.
std::string OpenCard(Card card, CallLog log);

// Closes through the exports whatever OpenCard opened.
void CloseCard();

}  // namespace control_cases
