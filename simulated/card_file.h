// Simulated machines as files: a JSON description of endpoints, adapter
// topologies, console defaults and injected faults, loaded into the World.
// The format is written down in docs/card-files.md.
#pragma once

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "simulated_audio.h"

namespace sim {

// A card file that cannot be loaded. The message names the place of the fault:
// "<source>:<line>:<column>" for a syntax error, "<source>: /json/pointer" for
// a value that is wrong where it stands.
class CardError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Resets the World and builds the machine that `text` describes. On a
// CardError the World is left empty.
void LoadCard(World& world, const std::string& text, const std::string& sourceName);
void LoadCardFile(World& world, const std::string& path);

// The machine in the World in a canonical form (every field, every link in
// both directions, in order): two machines are the same when these are equal.
nlohmann::json DescribeMachine(const World& world);

// UTF-8 and UTF-16 conversions of names and IDs. FromUtf8 throws CardError
// naming `place` on a malformed sequence.
std::u16string FromUtf8(const std::string& text, const std::string& place);
std::string ToUtf8(const std::u16string& text);

// The interface an interface name such as "IAudioMute" stands for, and back;
// an interface without a name is null.
const IID* InterfaceByName(const std::string& name);
const char* InterfaceName(const IID& iid);

}  // namespace sim
