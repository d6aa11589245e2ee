#include "card_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <sstream>

namespace sim {

using nlohmann::json;

namespace {

[[noreturn]] void Fail(const std::string& place, const std::string& what) {
  throw CardError((place.empty() ? "/" : place) + ": " + what);
}

std::string TypeName(const json& value) { return value.type_name(); }

void RequireType(const json& value, const std::string& place, json::value_t type,
                 const char* expected) {
  const bool matches =
      type == json::value_t::number_float ? value.is_number() : value.type() == type;
  if (!matches) Fail(place, std::string("expected ") + expected + ", found " + TypeName(value));
}

// Every field of `object` must be one of `known`: a misspelt field is an error,
// not a silent default.
void RequireObject(const json& object, const std::string& place,
                   std::initializer_list<const char*> known) {
  RequireType(object, place, json::value_t::object, "an object");
  for (const auto& item : object.items()) {
    const std::string& field = item.key();
    if (std::none_of(known.begin(), known.end(), [&](const char* k) { return field == k; })) {
      std::string list;
      for (const char* k : known) list += std::string(list.empty() ? "" : ", ") + k;
      Fail(place + "/" + field, "unknown field (known here: " + list + ")");
    }
  }
}

const json* Optional(const json& object, const char* field) {
  const auto found = object.find(field);
  return found == object.end() ? nullptr : &*found;
}

const json& Required(const json& object, const std::string& place, const char* field) {
  const json* value = Optional(object, field);
  if (value == nullptr) Fail(place, std::string("missing field \"") + field + "\"");
  return *value;
}

std::string Text(const json& value, const std::string& place) {
  RequireType(value, place, json::value_t::string, "a string");
  return value.get<std::string>();
}

std::u16string WideText(const json& value, const std::string& place) {
  return FromUtf8(Text(value, place), place);
}

bool Boolean(const json& value, const std::string& place) {
  RequireType(value, place, json::value_t::boolean, "true or false");
  return value.get<bool>();
}

float Decibels(const json& value, const std::string& place) {
  RequireType(value, place, json::value_t::number_float, "a number");
  const double number = value.get<double>();
  if (std::fabs(number) > std::numeric_limits<float>::max()) Fail(place, "out of the float range");
  return static_cast<float>(number);
}

std::uint64_t Unsigned(const json& value, const std::string& place, std::uint64_t max) {
  if (!value.is_number_integer() || (!value.is_number_unsigned() && value.get<std::int64_t>() < 0))
    Fail(place, "expected a whole number of 0 or more, found " + value.dump());
  const std::uint64_t number = value.get<std::uint64_t>();
  if (number > max) Fail(place, "at most " + std::to_string(max) + ", found " + value.dump());
  return number;
}

template <class Value>
Value OneOf(const json& value, const std::string& place,
            std::initializer_list<std::pair<const char*, Value>> choices) {
  const std::string text = Text(value, place);
  std::string names;
  for (const auto& [name, choice] : choices) {
    if (text == name) return choice;
    names += std::string(names.empty() ? "" : ", ") + "\"" + name + "\"";
  }
  Fail(place, "expected one of " + names + ", found \"" + text + "\"");
}

// {"min": dB, "max": dB, "step": dB, "level": dB or [dB per channel], "channels": n}
LevelControl ReadLevelControl(const json& object, const std::string& place) {
  RequireObject(object, place, {"min", "max", "step", "level", "channels"});
  ChannelLevel range;
  range.minDb = Decibels(Required(object, place, "min"), place + "/min");
  range.maxDb = Decibels(Required(object, place, "max"), place + "/max");
  range.stepDb = Decibels(Required(object, place, "step"), place + "/step");
  LevelControl control;
  const json* level = Optional(object, "level");
  const json* channels = Optional(object, "channels");
  if (level != nullptr && level->is_array()) {
    for (std::size_t i = 0; i < level->size(); ++i) {
      range.levelDb = Decibels((*level)[i], place + "/level/" + std::to_string(i));
      control.channels.push_back(range);
    }
    if (channels != nullptr &&
        Unsigned(*channels, place + "/channels", 1024) != control.channels.size())
      Fail(place + "/channels", "differs from the number of levels given");
    return control;
  }
  range.levelDb = level != nullptr ? Decibels(*level, place + "/level") : 0.0f;
  const auto count = channels != nullptr ? Unsigned(*channels, place + "/channels", 1024) : 2;
  control.channels.assign(count, range);
  return control;
}

void ReadPart(Adapter& adapter, const json& object, const std::string& place) {
  RequireObject(object, place,
                {"key", "type", "name", "volume", "bass", "treble", "midrange", "mute", "autoGain",
                 "loudness"});
  const std::string key = Text(Required(object, place, "key"), place + "/key");
  if (adapter.partsByKey.count(key) != 0) Fail(place + "/key", "\"" + key + "\" again");
  const std::u16string name = WideText(Required(object, place, "name"), place + "/name");
  const json* type = Optional(object, "type");
  const bool connector = type != nullptr && OneOf<bool>(*type, place + "/type",
                                                        {{"connector", true}, {"subunit", false}});
  Part& part = connector ? adapter.Connector(key, name) : adapter.Subunit(key, name);
  const std::pair<const char*, std::optional<LevelControl> Part::*> levels[] = {
      {"volume", &Part::volume},
      {"bass", &Part::bass},
      {"treble", &Part::treble},
      {"midrange", &Part::midrange}};
  for (const auto& [field, member] : levels)
    if (const json* value = Optional(object, field))
      part.*member = ReadLevelControl(*value, place + "/" + field);
  const std::pair<const char*, std::optional<BOOL> Part::*> switches[] = {
      {"mute", &Part::mute}, {"autoGain", &Part::autoGain}, {"loudness", &Part::loudness}};
  for (const auto& [field, member] : switches)
    if (const json* value = Optional(object, field))
      part.*member = Boolean(*value, place + "/" + field) ? TRUE : FALSE;
}

void ReadAdapter(World& world, const json& object, const std::string& place) {
  RequireObject(object, place, {"key", "deviceId", "parts", "paths"});
  const std::string key = Text(Required(object, place, "key"), place + "/key");
  for (const auto& adapter : world.Adapters())
    if (adapter->key == key) Fail(place + "/key", "\"" + key + "\" again");
  Adapter& adapter =
      world.AddAdapter(key, WideText(Required(object, place, "deviceId"), place + "/deviceId"));
  const json& parts = Required(object, place, "parts");
  RequireType(parts, place + "/parts", json::value_t::array, "a list of parts");
  for (std::size_t i = 0; i < parts.size(); ++i)
    ReadPart(adapter, parts[i], place + "/parts/" + std::to_string(i));

  const json* paths = Optional(object, "paths");
  if (paths == nullptr) return;
  RequireType(*paths, place + "/paths", json::value_t::array, "a list of paths");
  for (std::size_t i = 0; i < paths->size(); ++i) {
    const std::string pathPlace = place + "/paths/" + std::to_string(i);
    const json& path = (*paths)[i];
    RequireType(path, pathPlace, json::value_t::array, "a list of part keys");
    if (path.size() < 2) Fail(pathPlace, "a path links two parts or more");
    Part* previous = nullptr;
    for (std::size_t j = 0; j < path.size(); ++j) {
      const std::string partPlace = pathPlace + "/" + std::to_string(j);
      const std::string partKey = Text(path[j], partPlace);
      const auto found = adapter.partsByKey.find(partKey);
      Part* part = found == adapter.partsByKey.end() ? nullptr : found->second;
      if (part == nullptr)
        Fail(partPlace, "no part \"" + partKey + "\" in adapter \"" + key + "\"");
      if (previous != nullptr) {
        previous->outgoing.push_back(part);
        part->incoming.push_back(previous);
      }
      previous = part;
    }
  }
}

Part* FindPart(World& world, const std::string& fullKey) {
  for (const auto& adapter : world.Adapters())
    for (const auto& part : adapter->parts)
      if (part->key == fullKey) return part.get();
  return nullptr;
}

// {"min", "max", "step", "channels", "level": dB or [dB per channel], "mute"}
void ReadEndpointVolume(EndpointVolumeModel& volume, const json& object, const std::string& place) {
  RequireObject(object, place, {"min", "max", "step", "channels", "level", "mute"});
  if (const json* value = Optional(object, "min")) volume.minDb = Decibels(*value, place + "/min");
  if (const json* value = Optional(object, "max")) volume.maxDb = Decibels(*value, place + "/max");
  if (const json* value = Optional(object, "step"))
    volume.stepDb = Decibels(*value, place + "/step");
  if (const json* value = Optional(object, "channels"))
    volume.channelCount = static_cast<UINT>(Unsigned(*value, place + "/channels", 1024));
  if (const json* value = Optional(object, "mute"))
    volume.mute = Boolean(*value, place + "/mute") ? TRUE : FALSE;
  const json* level = Optional(object, "level");
  if (level == nullptr) return;
  if (!level->is_array()) {
    volume.masterDb = Decibels(*level, place + "/level");
    return;
  }
  if (level->size() != volume.channelCount)
    Fail(place + "/level", "gives " + std::to_string(level->size()) + " levels for " +
                               std::to_string(volume.channelCount) + " channels");
  // The master reads as the loudest channel.
  for (std::size_t i = 0; i < level->size(); ++i) {
    volume.channelDb.push_back(Decibels((*level)[i], place + "/level/" + std::to_string(i)));
    volume.masterDb = i == 0 ? volume.channelDb[0] : std::max(volume.masterDb, volume.channelDb[i]);
  }
}

void ReadEndpoint(World& world, const json& object, const std::string& place) {
  RequireObject(
      object, place,
      {"key", "id", "flow", "name", "nameValue", "state", "topology", "connectedTo", "volume"});
  Endpoint endpoint;
  endpoint.key = Text(Required(object, place, "key"), place + "/key");
  if (world.FindEndpoint(endpoint.key) != nullptr)
    Fail(place + "/key", "\"" + endpoint.key + "\" again");
  endpoint.id = WideText(Required(object, place, "id"), place + "/id");
  endpoint.flow = OneOf<EDataFlow>(Required(object, place, "flow"), place + "/flow",
                                   {{"render", eRender}, {"capture", eCapture}});
  if (const json* value = Optional(object, "name"))
    endpoint.friendlyName = WideText(*value, place + "/name");
  if (const json* value = Optional(object, "nameValue"))
    endpoint.nameKind = OneOf<NameKind>(*value, place + "/nameValue",
                                        {{"text", NameKind::Text},
                                         {"empty", NameKind::Empty},
                                         {"null", NameKind::NullText},
                                         {"number", NameKind::OtherType}});
  if (const json* value = Optional(object, "state"))
    endpoint.state = OneOf<DWORD>(*value, place + "/state",
                                  {{"active", DEVICE_STATE_ACTIVE},
                                   {"disabled", DEVICE_STATE_DISABLED},
                                   {"notpresent", DEVICE_STATE_NOTPRESENT},
                                   {"unplugged", DEVICE_STATE_UNPLUGGED}});
  if (const json* value = Optional(object, "topology"))
    endpoint.offersTopology = Boolean(*value, place + "/topology");
  if (const json* value = Optional(object, "connectedTo")) {
    const std::string partKey = Text(*value, place + "/connectedTo");
    endpoint.connectedTo = FindPart(world, partKey);
    if (endpoint.connectedTo == nullptr)
      Fail(place + "/connectedTo", "no part \"" + partKey + "\" (write \"adapter.part\")");
    if (endpoint.connectedTo->type != PartType::Connector)
      Fail(place + "/connectedTo", "\"" + partKey + "\" is not a connector");
  }
  if (const json* value = Optional(object, "volume"))
    ReadEndpointVolume(endpoint.volume, *value, place + "/volume");
  world.AddEndpoint(std::move(endpoint));
}

void ReadDefaults(World& world, const json& object, const std::string& place) {
  RequireObject(object, place, {"render", "capture"});
  for (const auto& flowField : {std::pair{"render", eRender}, std::pair{"capture", eCapture}}) {
    const char* field = flowField.first;
    const EDataFlow flow = flowField.second;
    const json* value = Optional(object, field);
    if (value == nullptr) continue;
    const std::string flowPlace = place + "/" + field;
    auto setDefault = [&](ERole role, const json& key, const std::string& keyPlace) {
      const std::string endpointKey = Text(key, keyPlace);
      const Endpoint* endpoint = world.FindEndpoint(endpointKey);
      if (endpoint == nullptr) Fail(keyPlace, "no endpoint \"" + endpointKey + "\"");
      if (endpoint->flow != flow)
        Fail(keyPlace, "\"" + endpointKey + "\" is not a " + field + " endpoint");
      world.SetDefault(flow, role, endpointKey);
    };
    if (value->is_string()) {
      for (ERole role : {eConsole, eMultimedia, eCommunications})
        setDefault(role, *value, flowPlace);
      continue;
    }
    RequireObject(*value, flowPlace, {"console", "multimedia", "communications"});
    for (const auto& [roleName, role] :
         {std::pair{"console", eConsole}, std::pair{"multimedia", eMultimedia},
          std::pair{"communications", eCommunications}})
      if (const json* key = Optional(*value, roleName))
        setDefault(role, *key, flowPlace + "/" + roleName);
  }
}

constexpr HRESULT KnownResults[] = {S_OK,
                                    S_FALSE,
                                    E_FAIL,
                                    E_NOINTERFACE,
                                    E_NOTIMPL,
                                    E_POINTER,
                                    E_INVALIDARG,
                                    E_OUTOFMEMORY,
                                    E_NOTFOUND,
                                    E_UNEXPECTED,
                                    RPC_E_CHANGED_MODE,
                                    CO_E_NOTINITIALIZED};

// A result name ("E_FAIL") or a hexadecimal value ("0x88890004").
HRESULT ReadResult(const json& value, const std::string& place) {
  const std::string text = Text(value, place);
  for (HRESULT known : KnownResults)
    if (DescribeResult(known) == text) return known;
  if (text.size() == 10 && text.compare(0, 2, "0x") == 0 &&
      text.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos)
    return static_cast<HRESULT>(std::stoul(text, nullptr, 16));
  std::string names;
  for (HRESULT known : KnownResults) names += DescribeResult(known) + ", ";
  Fail(place,
       "unknown result \"" + text + "\" (known: " + names + "or 0x followed by 8 hex digits)");
}

void ReadFault(World& world, const json& object, const std::string& place) {
  RequireObject(object, place,
                {"object", "method", "result", "index", "iid", "fromCall", "skip", "times"});
  FaultRule rule;
  if (const json* value = Optional(object, "object")) rule.object = Text(*value, place + "/object");
  if (const json* value = Optional(object, "method")) rule.method = Text(*value, place + "/method");
  if (const json* value = Optional(object, "result"))
    rule.result = ReadResult(*value, place + "/result");
  if (const json* value = Optional(object, "index"))
    rule.index = static_cast<UINT>(Unsigned(*value, place + "/index", UINT32_MAX));
  if (const json* value = Optional(object, "iid")) {
    const IID* iid = InterfaceByName(Text(*value, place + "/iid"));
    if (iid == nullptr) Fail(place + "/iid", "unknown interface " + value->dump());
    rule.iid = *iid;
  }
  if (const json* value = Optional(object, "fromCall"))
    rule.fromSequence = Unsigned(*value, place + "/fromCall", UINT64_MAX);
  if (const json* value = Optional(object, "skip"))
    rule.skip = static_cast<std::uint32_t>(Unsigned(*value, place + "/skip", UINT32_MAX));
  if (const json* value = Optional(object, "times"))
    rule.times = static_cast<std::uint32_t>(Unsigned(*value, place + "/times", UINT32_MAX));
  world.Inject(rule);
}

template <class Read>
void ReadList(World& world, const json& card, const char* field, Read read) {
  const json* list = Optional(card, field);
  if (list == nullptr) return;
  const std::string place = std::string("/") + field;
  RequireType(*list, place, json::value_t::array, "a list");
  for (std::size_t i = 0; i < list->size(); ++i)
    read(world, (*list)[i], place + "/" + std::to_string(i));
}

void ReadCard(World& world, const json& card) {
  RequireObject(card, "", {"codePage", "adapters", "endpoints", "defaults", "faults"});
  if (const json* value = Optional(card, "codePage"))
    world.SetAnsiCodePage(OneOf<UINT>(*value, "/codePage", {{"1252", 1252}, {"1251", 1251}}));
  ReadList(world, card, "adapters", ReadAdapter);
  ReadList(world, card, "endpoints", ReadEndpoint);
  if (const json* value = Optional(card, "defaults")) ReadDefaults(world, *value, "/defaults");
  ReadList(world, card, "faults", ReadFault);
}

json DescribeLevel(const std::optional<LevelControl>& control) {
  if (!control) return nullptr;
  json channels = json::array();
  for (const ChannelLevel& channel : control->channels)
    channels.push_back({channel.levelDb, channel.minDb, channel.maxDb, channel.stepDb});
  return channels;
}

json DescribeSwitch(const std::optional<BOOL>& value) {
  return value ? json(static_cast<int>(*value)) : json(nullptr);
}

json PartKeys(const std::vector<Part*>& parts) {
  json keys = json::array();
  for (const Part* part : parts) keys.push_back(part->key);
  return keys;
}

struct InterfaceEntry {
  const char* name;
  IID iid;
};

const InterfaceEntry Interfaces[] = {
    {"IUnknown", __uuidof(IUnknown)},
    {"IMMDeviceEnumerator", __uuidof(IMMDeviceEnumerator)},
    {"IMMDeviceCollection", __uuidof(IMMDeviceCollection)},
    {"IMMDevice", __uuidof(IMMDevice)},
    {"IPropertyStore", __uuidof(IPropertyStore)},
    {"IAudioEndpointVolume", __uuidof(IAudioEndpointVolume)},
    {"IDeviceTopology", __uuidof(IDeviceTopology)},
    {"IConnector", __uuidof(IConnector)},
    {"IPart", __uuidof(IPart)},
    {"IPartsList", __uuidof(IPartsList)},
    {"IPerChannelDbLevel", __uuidof(IPerChannelDbLevel)},
    {"IAudioVolumeLevel", __uuidof(IAudioVolumeLevel)},
    {"IAudioBass", __uuidof(IAudioBass)},
    {"IAudioTreble", __uuidof(IAudioTreble)},
    {"IAudioMidrange", __uuidof(IAudioMidrange)},
    {"IAudioMute", __uuidof(IAudioMute)},
    {"IAudioAutoGainControl", __uuidof(IAudioAutoGainControl)},
    {"IAudioLoudness", __uuidof(IAudioLoudness)},
};

}  // namespace

void LoadCard(World& world, const std::string& text, const std::string& sourceName) {
  world.Reset();
  try {
    json card;
    try {
      card = json::parse(text);
    } catch (const json::parse_error& error) {
      // The offending byte's line and column, counted from 1.
      const std::size_t end =
          std::min<std::size_t>(error.byte == 0 ? 0 : error.byte - 1, text.size());
      const std::size_t line = 1 + std::count(text.begin(), text.begin() + end, '\n');
      const std::size_t lineStart = text.rfind('\n', end == 0 ? 0 : end - 1);
      const std::size_t column =
          end - (lineStart == std::string::npos || end == 0 ? 0 : lineStart + 1) + 1;
      std::string what = error.what();
      const std::size_t detail = what.find(": ");
      throw CardError(sourceName + ":" + std::to_string(line) + ":" + std::to_string(column) +
                      ": " + (detail == std::string::npos ? what : what.substr(detail + 2)));
    }
    try {
      ReadCard(world, card);
    } catch (const CardError& error) {
      throw CardError(sourceName + ": " + error.what());
    }
  } catch (...) {
    world.Reset();
    throw;
  }
}

void LoadCardFile(World& world, const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw CardError(path + ": cannot be read");
  std::ostringstream text;
  text << file.rdbuf();
  LoadCard(world, text.str(), path);
}

json DescribeMachine(const World& world) {
  json machine;
  machine["codePage"] = world.AnsiCodePage();
  for (const auto& adapter : world.Adapters()) {
    json parts = json::array();
    for (const auto& part : adapter->parts)
      parts.push_back({{"key", part->key},
                       {"name", ToUtf8(part->name)},
                       {"connector", part->type == PartType::Connector},
                       {"incoming", PartKeys(part->incoming)},
                       {"outgoing", PartKeys(part->outgoing)},
                       {"volume", DescribeLevel(part->volume)},
                       {"bass", DescribeLevel(part->bass)},
                       {"treble", DescribeLevel(part->treble)},
                       {"midrange", DescribeLevel(part->midrange)},
                       {"mute", DescribeSwitch(part->mute)},
                       {"autoGain", DescribeSwitch(part->autoGain)},
                       {"loudness", DescribeSwitch(part->loudness)}});
    machine["adapters"].push_back({{"key", adapter->key},
                                   {"deviceId", ToUtf8(adapter->deviceId)},
                                   {"connectors", PartKeys(adapter->connectors)},
                                   {"parts", parts}});
  }
  for (const auto& endpoint : world.Endpoints()) {
    const EndpointVolumeModel& volume = endpoint->volume;
    machine["endpoints"].push_back(
        {{"key", endpoint->key},
         {"id", ToUtf8(endpoint->id)},
         {"flow", static_cast<int>(endpoint->flow)},
         {"state", endpoint->state},
         {"name", ToUtf8(endpoint->friendlyName)},
         {"nameKind", static_cast<int>(endpoint->nameKind)},
         {"topology", endpoint->offersTopology},
         {"connectedTo", endpoint->connectedTo ? json(endpoint->connectedTo->key) : json(nullptr)},
         {"volume",
          {volume.channelCount, volume.minDb, volume.maxDb, volume.stepDb, volume.masterDb,
           volume.channelDb, static_cast<int>(volume.mute)}}});
  }
  for (EDataFlow flow : {eRender, eCapture})
    for (ERole role : {eConsole, eMultimedia, eCommunications})
      if (const std::string* key = world.DefaultKey(flow, role))
        machine["defaults"].push_back({flow, role, *key});
  return machine;
}

std::u16string FromUtf8(const std::string& text, const std::string& place) {
  std::u16string wide;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80                   ? 0
                      : lead >= 0xF0 && lead < 0xF5 ? 3
                      : lead >= 0xE0                ? 2
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                                                    : -1;
    if (extra < 0) Fail(place, "not UTF-8 text");
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= text.size()) Fail(place, "not UTF-8 text");
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) Fail(place, "not UTF-8 text");
      code = (code << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
      Fail(place, "not UTF-8 text");
    if (code >= 0x10000) {
      wide += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      wide += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<char16_t>(code);
    }
    i += 1 + extra;
  }
  return wide;
}

std::string ToUtf8(const std::u16string& text) {
  std::string narrow;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;  // a lone surrogate
    }
    if (code < 0x80) {
      narrow += static_cast<char>(code);
    } else if (code < 0x800) {
      narrow += static_cast<char>(0xC0 | (code >> 6));
      narrow += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      narrow += static_cast<char>(0xE0 | (code >> 12));
      narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      narrow += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      narrow += static_cast<char>(0xF0 | (code >> 18));
      narrow += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      narrow += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return narrow;
}

const IID* InterfaceByName(const std::string& name) {
  for (const InterfaceEntry& entry : Interfaces)
    if (name == entry.name) return &entry.iid;
  return nullptr;
}

const char* InterfaceName(const IID& iid) {
  for (const InterfaceEntry& entry : Interfaces)
    if (iid == entry.iid) return entry.name;
  return nullptr;
}

}  // namespace sim
