// What vsmix does to the mixer, through the library's exports alone: opening
// a card, reading every control into a table, and setting controls by name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace vsmix {

// The devices to open: the default ones, or ID texts for each part.
struct CardChoice {
  bool useDefault = false;
  std::string play, mic, line;  // empty: that part is not opened
  std::optional<std::string> aux;
  // Whether any device, the auxiliary endpoint included, is named.
  bool Any() const {
    return useDefault || !play.empty() || !mic.empty() || !line.empty() || aux.has_value();
  }
};

// The outcome of opening a card, as the library reported it.
struct Opening {
  std::string function;  // "OpenSoundCard" or "OpenDefaultDevices"
  int result = 0;
  std::vector<std::string> failedParts;  // "playback", "microphone", "line"
  std::string playbackName, micName, lineName;
  std::optional<int> auxResult;  // OpenVirtual_1's result when --aux was given
  bool Failed() const { return result != 0 || (auxResult && *auxResult != 0); }
};

Opening OpenCard(const CardChoice& choice);
void CloseCard(bool restore);

enum class Unit { Percent, OnOff, Decibels, WholeDecibels };

struct Range {
  double min = 0, max = 0, step = 0;
};

// One control as read through its export.
struct Reading {
  std::string name;
  Unit unit = Unit::Percent;
  int status = 0;  // the export's status code
  double value = 0;
  std::optional<Range> range;
  bool Found() const { return status == 0; }
};

std::vector<Reading> ReadControls(bool withAux);

// The controls `set` knows, in table order.
const std::vector<std::string>& ControlNames();

// A control to set, from "NAME=VALUE".
struct Setting {
  std::string name, text;
  double value = 0;
};
// Throws std::invalid_argument with a message for the user when the name or
// the value is not one the control takes.
Setting ParseSetting(const std::string& assignment);
// Sets the control through its export; the export's status code.
int ApplySetting(const Setting& setting);

// The shortest decimal text that reads back as the same double.
std::string Number(double value);

std::string StatusText(int status);
std::string DescribeOpening(const Opening& opening);
std::string FormatTable(const std::vector<Reading>& readings);
nlohmann::json OpeningJson(const Opening& opening);
nlohmann::json ReadingsJson(const std::vector<Reading>& readings);

// The playback and record endpoint lists; false when the device enumerator is
// not available.
struct EndpointEntry {
  unsigned index = 0;
  std::string name, id;
  int result = 0;  // the describing export's result
};
struct EndpointLists {
  int playResult = 0, recordResult = 0;  // the counting exports' results
  std::vector<EndpointEntry> play, record;
};
EndpointLists ListEndpoints();
std::string FormatEndpoints(const EndpointLists& lists);
nlohmann::json EndpointsJson(const EndpointLists& lists);

}  // namespace vsmix
