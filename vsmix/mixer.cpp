#include "mixer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "VelmoraSound.h"
#include "wide_text.h"

namespace vsmix {

namespace {

using nlohmann::json;

// Hosts give the library 256-byte text buffers.
constexpr std::size_t TextBufferSize = 256;

// One row of the table: how to read the control and how to set it. Both
// return the export's status code.
struct ControlDef {
  const char* name;
  Unit unit;
  bool aux;
  int (*read)(double& value, std::optional<Range>& range);
  int (*write)(double value);
};

template <int(VELMORA_API* Get)(int*)>
int ReadInt(double& value, std::optional<Range>&) {
  int status = -1;
  value = Get(&status);
  return status;
}

template <int(VELMORA_API* Set)(int, int*)>
int WriteInt(double value) {
  int status = -1;
  Set(static_cast<int>(value), &status);
  return status;
}

int WriteMasterMute(double value) {
  int status = -1;
  SetMasterMute(value != 0 ? 1 : 0, &status);
  return status;
}

template <int(VELMORA_API* Get)(double*, int*)>
int ReadTone(double& value, std::optional<Range>& range) {
  int status = -1;
  Get(&value, &status);
  Range eq;
  if (GetEQRange(&eq.min, &eq.max, &eq.step) == StatusOk) range = eq;
  return status;
}

template <int(VELMORA_API* Set)(double, int*)>
int WriteTone(double value) {
  int status = -1;
  Set(value, &status);
  return status;
}

int ReadBoostLevel(double& value, std::optional<Range>& range) {
  int status = -1;
  value = GetMicSliderBoost(&status);
  int detailsStatus = -1, min = 0, max = 0, step = 0;
  GetMicSliderDetails(&detailsStatus, &min, &max, &step);  // status comes first
  if (detailsStatus == StatusOk) range = Range{double(min), double(max), double(step)};
  return status;
}

const ControlDef Controls[] = {
    {"master", Unit::Percent, false, ReadInt<GetMasterVolume>, WriteInt<SetMasterVolume>},
    {"master-mute", Unit::OnOff, false, ReadInt<GetMasterMute>, WriteMasterMute},
    {"line", Unit::Percent, false, ReadInt<GetLinePlayBack>, WriteInt<SetLinePlayBack>},
    {"line-mute", Unit::OnOff, false, ReadInt<GetLinePlayBackMute>, WriteInt<SetLinePlayBackMute>},
    {"mic", Unit::Percent, false, ReadInt<GetMicPlayBack>, WriteInt<SetMicPlayBack>},
    {"mic-mute", Unit::OnOff, false, ReadInt<GetMicPlayBackMute>, WriteInt<SetMicPlayBackMute>},
    {"mic-record", Unit::Percent, false, ReadInt<GetMicRecordVolume>, WriteInt<SetMicRecordVolume>},
    {"line-record", Unit::Percent, false, ReadInt<GetLineRecordVolume>,
     WriteInt<SetLineRecordVolume>},
    {"mic-boost", Unit::OnOff, false, ReadInt<GetMicBoost>, WriteInt<SetMicBoost>},
    {"mic-boost-level", Unit::WholeDecibels, false, ReadBoostLevel, WriteInt<SetMicSliderBoost>},
    {"monitor", Unit::OnOff, false, ReadInt<GetNoMonitor>, WriteInt<SetNoMonitor>},
    {"bass", Unit::Decibels, false, ReadTone<GetBass>, WriteTone<SetBass>},
    {"treble", Unit::Decibels, false, ReadTone<GetTreble>, WriteTone<SetTreble>},
    {"midrange", Unit::Decibels, false, ReadTone<GetMidRange>, WriteTone<SetMidRange>},
    {"aux", Unit::Percent, true, ReadInt<GetVirtualVolume>, WriteInt<SetVirtualVolume>},
    {"aux-mute", Unit::OnOff, true, ReadInt<GetVirtualMute>, WriteInt<SetVirtualMute>},
};

const char* UnitName(Unit unit) {
  switch (unit) {
    case Unit::Percent:
      return "percent";
    case Unit::OnOff:
      return "on/off";
    case Unit::Decibels:
    case Unit::WholeDecibels:
      return "dB";
  }
  return "";
}

std::string ValueText(const Reading& reading) {
  if (!reading.Found()) return "-";
  switch (reading.unit) {
    case Unit::Percent:
      return Number(reading.value) + " %";
    case Unit::OnOff:
      return reading.value != 0 ? "on" : "off";
    case Unit::Decibels:
    case Unit::WholeDecibels:
      return Number(reading.value) + " dB";
  }
  return "";
}

std::string RangeText(const Reading& reading) {
  if (reading.unit == Unit::Percent) return reading.Found() ? "0..100 %" : "";
  if (!reading.range) return "";
  return Number(reading.range->min) + ".." + Number(reading.range->max) + " dB, step " +
         Number(reading.range->step);
}

// The parts that failed, from OpenSoundCard's result: each failed part XORs
// its code (playback 1, microphone 3, line 6) into it, and every combination
// gives a different number.
std::vector<std::string> FailedParts(int result) {
  const struct {
    int code;
    const char* part;
  } parts[] = {{1, "playback"}, {3, "microphone"}, {6, "line"}};
  for (int subset = 0; subset < 8; ++subset) {
    int combined = 0;
    for (int i = 0; i < 3; ++i)
      if (subset & (1 << i)) combined ^= parts[i].code;
    if (combined != result) continue;
    std::vector<std::string> failed;
    for (int i = 0; i < 3; ++i)
      if (subset & (1 << i)) failed.push_back(parts[i].part);
    return failed;
  }
  return {"unknown result"};
}

bool ParseWhole(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text.c_str(), &end, 10);
  return *end == 0 && errno == 0 && value >= INT32_MIN && value <= INT32_MAX;
}

double ParseValue(const ControlDef& control, const std::string& text) {
  const std::string where = std::string(control.name) + "=" + text + ": ";
  switch (control.unit) {
    case Unit::Percent: {
      long percent = 0;
      if (!ParseWhole(text, percent) || percent < 0 || percent > 100)
        throw std::invalid_argument(where + "expected a whole percentage from 0 to 100");
      return double(percent);
    }
    case Unit::OnOff:
      for (const char* on : {"on", "1", "true", "yes"})
        if (text == on) return 1;
      for (const char* off : {"off", "0", "false", "no"})
        if (text == off) return 0;
      throw std::invalid_argument(where + "expected on or off");
    case Unit::WholeDecibels: {
      long decibels = 0;
      if (!ParseWhole(text, decibels))
        throw std::invalid_argument(where + "expected a whole number of decibels");
      return double(decibels);
    }
    case Unit::Decibels: {
      char* end = nullptr;
      const double decibels = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != 0 || !std::isfinite(decibels))
        throw std::invalid_argument(where + "expected a number of decibels");
      return decibels;
    }
  }
  return 0;
}

}  // namespace

std::string Number(double value) {
  char text[32];
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
  }
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*g", precision, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

Opening OpenCard(const CardChoice& choice) {
  Opening opening;
  if (choice.useDefault) {
    opening.function = "OpenDefaultDevices";
    opening.result = OpenDefaultDevices();
  } else {
    opening.function = "OpenSoundCard";
    opening.result = OpenSoundCard(choice.play.c_str(), choice.mic.c_str(), choice.line.c_str());
    if (opening.result != 0) opening.failedParts = FailedParts(opening.result);
  }
  char playback[TextBufferSize] = {}, line[TextBufferSize] = {}, mic[TextBufferSize] = {};
  GetDeviceNames(playback, line, mic);  // line before microphone
  opening.playbackName = AnsiToUtf8(playback);
  opening.lineName = AnsiToUtf8(line);
  opening.micName = AnsiToUtf8(mic);
  if (choice.aux) opening.auxResult = OpenVirtual_1(choice.aux->c_str());
  return opening;
}

void CloseCard(bool restore) {
  CloseSoundCard(restore ? 1 : 0);
  CloseVirtual_1();
}

std::vector<Reading> ReadControls(bool withAux) {
  std::vector<Reading> readings;
  for (const ControlDef& control : Controls) {
    if (control.aux && !withAux) continue;
    Reading reading;
    reading.name = control.name;
    reading.unit = control.unit;
    reading.status = control.read(reading.value, reading.range);
    readings.push_back(reading);
  }
  return readings;
}

const std::vector<std::string>& ControlNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const ControlDef& control : Controls) list.push_back(control.name);
    return list;
  }();
  return names;
}

Setting ParseSetting(const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos)
    throw std::invalid_argument("\"" + assignment + "\": expected NAME=VALUE");
  Setting setting{assignment.substr(0, equals), assignment.substr(equals + 1)};
  for (const ControlDef& control : Controls)
    if (setting.name == control.name) {
      setting.value = ParseValue(control, setting.text);
      return setting;
    }
  std::string known;
  for (const std::string& control : ControlNames()) known += (known.empty() ? "" : ", ") + control;
  throw std::invalid_argument("unknown control \"" + setting.name + "\" (controls: " + known + ")");
}

int ApplySetting(const Setting& setting) {
  for (const ControlDef& control : Controls)
    if (setting.name == control.name) return control.write(setting.value);
  return -1;  // ParseSetting admits only known controls
}

std::string StatusText(int status) {
  switch (status) {
    case StatusOk:
      return "ok";
    case StatusNoControl:
      return "not found";
    case StatusFailed:
      return "the platform call failed";
    case StatusNotOpen:
      return "no sound card open";
  }
  return "status " + std::to_string(status);
}

std::string DescribeOpening(const Opening& opening) {
  std::string text = opening.function + " returned " + std::to_string(opening.result) + ": ";
  if (opening.result == 0) {
    text += opening.function == "OpenDefaultDevices" ? "the default devices were opened"
                                                     : "every device given was opened";
  } else if (opening.function == "OpenDefaultDevices") {
    text += "a default device is missing or could not be opened";
  } else {
    for (std::size_t i = 0; i < opening.failedParts.size(); ++i)
      text += (i == 0                                ? ""
               : i + 1 == opening.failedParts.size() ? " and "
                                                     : ", ") +
              opening.failedParts[i];
    text += " could not be opened";
  }
  auto name = [](const std::string& value) { return value.empty() ? "none" : "\"" + value + "\""; };
  text += ".\n  playback:   " + name(opening.playbackName);
  text += "\n  microphone: " + name(opening.micName);
  text += "\n  line:       " + name(opening.lineName) + "\n";
  if (opening.auxResult)
    text += "OpenVirtual_1 returned " + std::to_string(*opening.auxResult) +
            (*opening.auxResult == 0 ? ": the auxiliary endpoint was opened.\n"
                                     : ": no such playback endpoint.\n");
  return text;
}

std::string FormatTable(const std::vector<Reading>& readings) {
  char line[160];
  std::snprintf(line, sizeof line, "%-16s %-10s %-26s %s\n", "control", "value", "range", "status");
  std::string table = line;
  for (const Reading& reading : readings) {
    std::snprintf(line, sizeof line, "%-16s %-10s %-26s %s\n", reading.name.c_str(),
                  ValueText(reading).c_str(), RangeText(reading).c_str(),
                  StatusText(reading.status).c_str());
    table += line;
  }
  return table;
}

json OpeningJson(const Opening& opening) {
  json result = {{"function", opening.function},  {"result", opening.result},
                 {"failed", opening.failedParts}, {"playback", opening.playbackName},
                 {"microphone", opening.micName}, {"line", opening.lineName}};
  if (opening.auxResult) result["auxResult"] = *opening.auxResult;
  return result;
}

json ReadingsJson(const std::vector<Reading>& readings) {
  json controls = json::array();
  for (const Reading& reading : readings) {
    json control = {{"name", reading.name},
                    {"found", reading.Found()},
                    {"unit", UnitName(reading.unit)},
                    {"status", reading.status},
                    {"statusText", StatusText(reading.status)}};
    if (reading.Found()) {
      if (reading.unit == Unit::OnOff)
        control["value"] = reading.value != 0;
      else if (reading.unit == Unit::Decibels)
        control["value"] = reading.value;
      else
        control["value"] = static_cast<int>(reading.value);  // whole by the export's type
    }
    if (reading.range)
      control["range"] = {
          {"min", reading.range->min}, {"max", reading.range->max}, {"step", reading.range->step}};
    controls.push_back(control);
  }
  return controls;
}

EndpointLists ListEndpoints() {
  EndpointLists lists;
  auto list = [](int (*count)(unsigned*), int (*describe)(unsigned, char*, char*), int& countResult,
                 std::vector<EndpointEntry>& entries) {
    unsigned endpoints = 0;
    countResult = count(&endpoints);
    if (countResult != 0) return;
    for (unsigned index = 0; index < endpoints; ++index) {
      char name[TextBufferSize] = {}, id[TextBufferSize] = {};
      EndpointEntry entry;
      entry.index = index;
      entry.result = describe(index, name, id);
      entry.name = AnsiToUtf8(name);
      entry.id = AnsiToUtf8(id);
      entries.push_back(entry);
    }
  };
  list([](unsigned* n) { return GetNumberPlayDevices(n); },
       [](unsigned i, char* n, char* id) { return GetPlayBackDevice(i, n, id); }, lists.playResult,
       lists.play);
  list([](unsigned* n) { return GetNumberRecordDevices(n); },
       [](unsigned i, char* n, char* id) { return GetRecordDevice(i, n, id); }, lists.recordResult,
       lists.record);
  return lists;
}

std::string FormatEndpoints(const EndpointLists& lists) {
  std::string text;
  auto section = [&text](const char* title, int result, const std::vector<EndpointEntry>& entries) {
    if (result != 0) {
      text += std::string(title) + ": the device list is not available (result " +
              std::to_string(result) + ")\n";
      return;
    }
    text += std::string(title) + " endpoints: " + std::to_string(entries.size()) + "\n";
    for (const EndpointEntry& entry : entries) {
      char line[600];
      if (entry.result == 0)
        std::snprintf(line, sizeof line, "  %-3u %-44s %s\n", entry.index, entry.name.c_str(),
                      entry.id.c_str());
      else
        std::snprintf(line, sizeof line, "  %-3u (cannot be read: result %d)\n", entry.index,
                      entry.result);
      text += line;
    }
  };
  section("Playback", lists.playResult, lists.play);
  section("Record", lists.recordResult, lists.record);
  return text;
}

json EndpointsJson(const EndpointLists& lists) {
  auto entries = [](int result, const std::vector<EndpointEntry>& list) {
    json items = json::array();
    for (const EndpointEntry& entry : list) {
      json item = {{"index", entry.index}, {"result", entry.result}};
      if (entry.result == 0) {
        item["name"] = entry.name;
        item["id"] = entry.id;
      }
      items.push_back(item);
    }
    return json{{"result", result}, {"endpoints", items}};
  };
  return {{"playback", entries(lists.playResult, lists.play)},
          {"record", entries(lists.recordResult, lists.record)}};
}

}  // namespace vsmix
