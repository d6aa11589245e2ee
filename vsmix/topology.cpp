#include "topology.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>

#include "platform/com_holders.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "topology/part_keywords.h"
#include "wide_text.h"

namespace vsmix {

namespace {

using WideString = std::basic_string<WCHAR>;

// More parts than any real adapter has; a graph beyond it is cut there.
constexpr std::size_t MaxParts = 10000;

enum class ControlKind { Level, Mute, AutoGain, Loudness };

struct ControlInterface {
  const char* name;
  IID iid;
  ControlKind kind;
};

// Activate hands out the interface asked for, so the pointer is of that type.
const ControlInterface ControlInterfaces[] = {
    {"IAudioVolumeLevel", __uuidof(IAudioVolumeLevel), ControlKind::Level},
    {"IAudioMute", __uuidof(IAudioMute), ControlKind::Mute},
    {"IAudioBass", __uuidof(IAudioBass), ControlKind::Level},
    {"IAudioTreble", __uuidof(IAudioTreble), ControlKind::Level},
    {"IAudioMidrange", __uuidof(IAudioMidrange), ControlKind::Level},
    {"IAudioAutoGainControl", __uuidof(IAudioAutoGainControl), ControlKind::AutoGain},
    {"IAudioLoudness", __uuidof(IAudioLoudness), ControlKind::Loudness},
};

std::string TakeText(CoTaskMemText& text) { return text ? WideToUtf8(text.get()) : std::string(); }

std::vector<std::string> KeywordsIn(const WCHAR* name) {
  std::vector<std::string> found;
  if (name == nullptr) return found;
  WideString folded(name, name + WideLength(name));
  LowerAsciiInPlace(folded.data());
  for (KeywordList list : {KeywordList(part_keywords::LineInput),
                           KeywordList(part_keywords::MicInput), KeywordList(part_keywords::Boost)})
    for (const char* keyword : list) {
      const WideString wide(keyword, keyword + std::char_traits<char>::length(keyword));
      if (FindWideText(folded.c_str(), wide.c_str()) != nullptr &&
          std::find(found.begin(), found.end(), keyword) == found.end())
        found.push_back(keyword);
    }
  return found;
}

// The state of a control just activated, read through its own interface.
PartControl ReadControl(const ControlInterface& control, IUnknown* activated) {
  PartControl state;
  state.interfaceName = control.name;
  if (control.kind == ControlKind::Level) {
    auto* level = static_cast<IPerChannelDbLevel*>(static_cast<void*>(activated));
    float value = 0, bottom = 0, top = 0, step = 0;
    if (level->GetLevel(0, &value) == S_OK) state.levelDb = value;
    if (level->GetLevelRange(0, &bottom, &top, &step) == S_OK)
      state.range = Range{bottom, top, step};
  } else {
    BOOL enabled = FALSE;
    HRESULT read = E_FAIL;
    if (control.kind == ControlKind::Mute)
      read = static_cast<IAudioMute*>(static_cast<void*>(activated))->GetMute(&enabled);
    else if (control.kind == ControlKind::AutoGain)
      read =
          static_cast<IAudioAutoGainControl*>(static_cast<void*>(activated))->GetEnabled(&enabled);
    else
      read = static_cast<IAudioLoudness*>(static_cast<void*>(activated))->GetEnabled(&enabled);
    if (read == S_OK) state.enabled = enabled != FALSE;
  }
  return state;
}

// Visits every part reachable from the connectors, following the incoming
// and outgoing lists.
class GraphReader {
 public:
  explicit GraphReader(EndpointGraph& graph) : graph_(graph) {}

  // Records `part` when it is new; its local ID, or false when it has none.
  bool Add(ComPtr<IPart> part, unsigned& id) {
    UINT localId = 0;
    if (part->GetLocalId(&localId) != S_OK) return false;
    id = localId;
    if (known_.count(localId) != 0) return true;
    if (graph_.parts.size() == MaxParts) return false;
    known_[localId] = graph_.parts.size();
    TopologyPart entry;
    entry.id = localId;
    CoTaskMemText name;
    if (part->GetName(name.put()) == S_OK) {
      entry.name = TakeText(name);
      entry.keywords = KeywordsIn(name.get());
    }
    PartType type = Subunit;
    entry.connector = part->GetPartType(&type) == S_OK && type == Connector;
    for (const ControlInterface& control : ControlInterfaces) {
      ComPtr<IUnknown> activated;
      if (part->Activate(CLSCTX_ALL, control.iid, activated.put_void()) == S_OK)
        entry.controls.push_back(ReadControl(control, activated.get()));
    }
    graph_.parts.push_back(entry);
    pending_.push_back(std::move(part));
    return true;
  }

  void Run() {
    while (!pending_.empty()) {
      ComPtr<IPart> part = std::move(pending_.front());
      pending_.pop_front();
      UINT id = 0;
      part->GetLocalId(&id);
      ComPtr<IPartsList> incoming, outgoing;
      if (part->EnumPartsIncoming(incoming.put()) == S_OK) Links(incoming.get(), id, true);
      if (part->EnumPartsOutgoing(outgoing.put()) == S_OK) Links(outgoing.get(), id, false);
    }
  }

 private:
  void Links(IPartsList* list, UINT from, bool incoming) {
    UINT count = 0;
    if (list->GetCount(&count) != S_OK) return;
    for (UINT index = 0; index < count; ++index) {
      ComPtr<IPart> linked;
      unsigned id = 0;
      if (list->GetPart(index, linked.put()) != S_OK || !Add(std::move(linked), id)) continue;
      TopologyPart& part = graph_.parts[known_.at(from)];
      (incoming ? part.incoming : part.outgoing).push_back(id);
    }
  }

  EndpointGraph& graph_;
  std::map<UINT, std::size_t> known_;
  std::deque<ComPtr<IPart>> pending_;
};

void ReadGraph(IMMDevice* device, EndpointGraph& graph) {
  CoTaskMemText id;
  if (device->GetId(id.put()) == S_OK) graph.endpointId = TakeText(id);
  {
    ComPtr<IPropertyStore> properties;
    PropVariantValue name;
    if (device->OpenPropertyStore(STGM_READ, properties.put()) == S_OK &&
        properties->GetValue(PKEY_Device_FriendlyName, name.put()) == S_OK &&
        name.get().vt == VT_LPWSTR && name.get().pwszVal != nullptr)
      graph.endpointName = WideToUtf8(name.get().pwszVal);
  }
  {
    ComPtr<IAudioEndpointVolume> volume;
    if (device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, volume.put_void()) ==
        S_OK) {
      PartControl state;
      state.interfaceName = "IAudioEndpointVolume";
      float level = 0, bottom = 0, top = 0, step = 0;
      UINT channels = 0;
      BOOL mute = FALSE;
      if (volume->GetChannelVolumeLevel(0, &level) == S_OK) state.levelDb = level;
      if (volume->GetVolumeRange(&bottom, &top, &step) == S_OK)
        state.range = Range{bottom, top, step};
      if (volume->GetMute(&mute) == S_OK) state.enabled = mute != FALSE;
      if (volume->GetChannelCount(&channels) == S_OK) graph.channels = channels;
      graph.endpointVolume = state;
    }
  }
  ComPtr<IDeviceTopology> endpointTopology;
  ComPtr<IConnector> connector, farSide;
  ComPtr<IPart> attached;
  ComPtr<IDeviceTopology> adapter;
  if (device->Activate(__uuidof(IDeviceTopology), CLSCTX_ALL, nullptr,
                       endpointTopology.put_void()) != S_OK) {
    graph.problem = "the endpoint offers no topology";
    return;
  }
  if (endpointTopology->GetConnector(0, connector.put()) != S_OK ||
      connector->GetConnectedTo(farSide.put()) != S_OK ||
      farSide->QueryInterface(__uuidof(IPart), attached.put_void()) != S_OK ||
      GetPartTopology(attached.get(), adapter.put()) != S_OK) {
    graph.problem = "the endpoint's connector leads to no adapter";
    return;
  }
  CoTaskMemText adapterId;
  if (adapter->GetDeviceId(adapterId.put()) == S_OK) graph.adapterId = TakeText(adapterId);

  GraphReader reader(graph);
  reader.Add(std::move(attached), graph.attachedPart);
  UINT connectors = 0;
  if (adapter->GetConnectorCount(&connectors) == S_OK)
    for (UINT index = 0; index < connectors; ++index) {
      ComPtr<IConnector> each;
      ComPtr<IPart> part;
      unsigned ignored = 0;
      if (adapter->GetConnector(index, each.put()) == S_OK &&
          each->QueryInterface(__uuidof(IPart), part.put_void()) == S_OK)
        reader.Add(std::move(part), ignored);
    }
  reader.Run();
  std::sort(graph.parts.begin(), graph.parts.end(),
            [](const TopologyPart& a, const TopologyPart& b) { return a.id < b.id; });
}

// The first active endpoint of `flow` whose ID contains `text`, letters A-Z
// compared without case, as the library finds it.
bool FindEndpoint(IMMDeviceEnumerator* enumerator, EDataFlow flow, const std::string& text,
                  ComPtr<IMMDevice>& device) {
  WideString search;
  for (unsigned char c : text)
    search += static_cast<WCHAR>(c);  // as the ANSI code page's lower half
  LowerAsciiInPlace(search.data());
  ComPtr<IMMDeviceCollection> collection;
  UINT count = 0;
  if (enumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, collection.put()) != S_OK ||
      collection->GetCount(&count) != S_OK)
    return false;
  for (UINT index = 0; index < count; ++index) {
    ComPtr<IMMDevice> candidate;
    CoTaskMemText id;
    if (collection->Item(index, candidate.put()) != S_OK || candidate->GetId(id.put()) != S_OK)
      continue;
    LowerAsciiInPlace(id.get());
    if (FindWideText(id.get(), search.c_str()) != nullptr) {
      device = std::move(candidate);
      return true;
    }
  }
  return false;
}

std::string Escape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// Text inside a Graphviz HTML-like label.
std::string HtmlEscape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string Ids(const std::vector<unsigned>& ids) {
  if (ids.empty()) return "-";
  std::string text;
  for (unsigned id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
  return text;
}

// The control and its state; `markHeld` adds a * to one the mixer holds.
std::string ControlText(const PartControl& control, bool markHeld = true) {
  std::string text = control.interfaceName + (markHeld && control.held ? "*" : "");
  if (control.levelDb) text += " " + Number(*control.levelDb) + " dB";
  if (control.enabled) text += *control.enabled ? " on" : " off";
  return text;
}

std::string Controls(const TopologyPart& part) {
  if (part.controls.empty()) return "-";
  std::string text;
  for (const PartControl& control : part.controls)
    text += (text.empty() ? "" : ", ") + ControlText(control);
  return text;
}

nlohmann::json ControlJson(const PartControl& control) {
  nlohmann::json json = {{"interface", control.interfaceName}, {"held", control.held}};
  if (control.levelDb) json["levelDb"] = *control.levelDb;
  if (control.range)
    json["range"] = {
        {"min", control.range->min}, {"max", control.range->max}, {"step", control.range->step}};
  if (control.enabled) json["enabled"] = *control.enabled;
  return json;
}

}  // namespace

std::vector<EndpointGraph> ReadTopologies(const CardChoice& choice,
                                          const std::vector<HeldControl>& held) {
  struct Wanted {
    const char* role;
    EDataFlow flow;
    const std::string* text;  // null: the default endpoint
  };
  std::vector<Wanted> wanted;
  if (choice.useDefault) {
    wanted.push_back({"playback", eRender, nullptr});
    wanted.push_back({"default capture", eCapture, nullptr});
  }
  if (!choice.play.empty()) wanted.push_back({"playback", eRender, &choice.play});
  if (!choice.mic.empty()) wanted.push_back({"microphone", eCapture, &choice.mic});
  if (!choice.line.empty()) wanted.push_back({"line", eCapture, &choice.line});
  if (choice.aux) wanted.push_back({"aux", eRender, &*choice.aux});

  std::vector<EndpointGraph> graphs;
  ComApartment com;
  ComPtr<IMMDeviceEnumerator> enumerator;
  const HRESULT created =
      CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                       __uuidof(IMMDeviceEnumerator), enumerator.put_void());
  for (const Wanted& want : wanted) {
    EndpointGraph graph;
    graph.role = want.role;
    ComPtr<IMMDevice> device;
    if (created != S_OK) {
      graph.problem = "the device enumerator is not available";
    } else if (want.text == nullptr
                   ? enumerator->GetDefaultAudioEndpoint(want.flow, eConsole, device.put()) != S_OK
                   : !FindEndpoint(enumerator.get(), want.flow, *want.text, device)) {
      graph.problem = "no such endpoint";
    } else {
      ReadGraph(device.get(), graph);
    }
    for (TopologyPart& part : graph.parts)
      for (PartControl& control : part.controls)
        for (const HeldControl& mark : held)
          control.held |= mark.adapterId == graph.adapterId && mark.partId == part.id &&
                          mark.interfaceName == control.interfaceName;
    graphs.push_back(std::move(graph));
  }
  return graphs;
}

std::string FormatTopology(const std::vector<EndpointGraph>& graphs) {
  std::string text;
  for (const EndpointGraph& graph : graphs) {
    text += graph.role + ": " + (graph.endpointName.empty() ? "-" : graph.endpointName) + "\n";
    if (!graph.endpointId.empty()) text += "  endpoint " + graph.endpointId + "\n";
    if (!graph.problem.empty()) {
      text += "  " + graph.problem + "\n\n";
      continue;
    }
    if (const std::optional<PartControl>& volume = graph.endpointVolume) {
      text += "  volume   ";
      text += volume->levelDb ? Number(*volume->levelDb) + " dB" : std::string("unreadable");
      if (volume->range)
        text += " (" + Number(volume->range->min) + ".." + Number(volume->range->max) +
                " dB, step " + Number(volume->range->step) + ")";
      if (volume->enabled) text += *volume->enabled ? ", muted" : ", not muted";
      text += ", " + std::to_string(graph.channels) + " channels\n";
    }
    text += "  adapter  " + graph.adapterId + ", reached at part " +
            std::to_string(graph.attachedPart) + "\n";
    char line[512];
    std::snprintf(line, sizeof line, "  %4s %-9s %-24s %-9s %-9s %-9s %s\n", "id", "kind", "name",
                  "incoming", "outgoing", "keywords", "controls (* held by the mixer)");
    text += line;
    for (const TopologyPart& part : graph.parts) {
      std::string keywords;
      for (const std::string& keyword : part.keywords)
        keywords += (keywords.empty() ? "" : " ") + keyword;
      std::snprintf(line, sizeof line, "  %4u %-9s %-24s %-9s %-9s %-9s %s\n", part.id,
                    part.connector ? "connector" : "subunit", ("\"" + part.name + "\"").c_str(),
                    Ids(part.incoming).c_str(), Ids(part.outgoing).c_str(),
                    keywords.empty() ? "-" : keywords.c_str(), Controls(part).c_str());
      text += line;
    }
    text += "\n";
  }
  return text;
}

std::string FormatDot(const std::vector<EndpointGraph>& graphs) {
  std::string dot =
      "digraph topology {\n  rankdir=LR;\n  node [fontname=\"Helvetica\", fontsize=10];\n";
  for (std::size_t g = 0; g < graphs.size(); ++g) {
    const EndpointGraph& graph = graphs[g];
    const std::string prefix = "g" + std::to_string(g) + "_";
    dot += "  subgraph cluster_" + std::to_string(g) + " {\n    label=\"" +
           Escape(graph.role + ": " + graph.endpointName) + "\";\n";
    const std::string endpointNode = prefix + "endpoint";
    std::string endpointLabel =
        HtmlEscape(graph.endpointName.empty() ? graph.role : graph.endpointName);
    if (graph.endpointVolume && graph.endpointVolume->levelDb)
      endpointLabel += "<BR/>volume " + Number(*graph.endpointVolume->levelDb) + " dB";
    dot += "    " + endpointNode + " [shape=note, label=<" + endpointLabel + ">];\n";
    if (!graph.problem.empty()) {
      dot += "    " + prefix + "problem [shape=plaintext, label=\"" + Escape(graph.problem) +
             "\"];\n  }\n";
      continue;
    }
    for (const TopologyPart& part : graph.parts) {
      std::string label = HtmlEscape(part.name);
      bool held = false;
      for (const PartControl& control : part.controls) {
        const std::string text = HtmlEscape(ControlText(control, false));
        label += control.held ? "<BR/><B>" + text + "</B>" : "<BR/>" + text;
        held |= control.held;
      }
      dot += "    " + prefix + std::to_string(part.id) +
             " [shape=" + (part.connector ? "box" : "ellipse") +
             (held ? ", style=\"filled,bold\", fillcolor=\"#ffe08a\"" : "") + ", label=<" + label +
             ">];\n";
    }
    for (const TopologyPart& part : graph.parts)
      for (unsigned next : part.outgoing)
        dot += "    " + prefix + std::to_string(part.id) + " -> " + prefix + std::to_string(next) +
               ";\n";
    dot += "    " + prefix + std::to_string(graph.attachedPart) + " -> " + endpointNode +
           " [style=dashed];\n  }\n";
  }
  bool anyHeld = false;
  for (const EndpointGraph& graph : graphs)
    for (const TopologyPart& part : graph.parts)
      for (const PartControl& control : part.controls) anyHeld |= control.held;
  if (anyHeld)
    dot +=
        "  label=\"Filled: the controls the mixer holds after opening. Boxes are connectors, "
        "ellipses subunits; the note is the endpoint with its own volume.\";\n"
        "  labelloc=b;\n";
  return dot + "}\n";
}

nlohmann::json TopologyJson(const std::vector<EndpointGraph>& graphs) {
  nlohmann::json list = nlohmann::json::array();
  for (const EndpointGraph& graph : graphs) {
    nlohmann::json entry = {{"role", graph.role},
                            {"endpointId", graph.endpointId},
                            {"endpointName", graph.endpointName}};
    if (!graph.problem.empty()) entry["problem"] = graph.problem;
    if (graph.endpointVolume) {
      entry["endpointVolume"] = ControlJson(*graph.endpointVolume);
      entry["endpointVolume"]["channels"] = graph.channels;
    }
    if (graph.problem.empty()) {
      entry["adapterId"] = graph.adapterId;
      entry["attachedPart"] = graph.attachedPart;
      for (const TopologyPart& part : graph.parts) {
        nlohmann::json controls = nlohmann::json::array();
        for (const PartControl& control : part.controls) controls.push_back(ControlJson(control));
        entry["parts"].push_back({{"id", part.id},
                                  {"name", part.name},
                                  {"connector", part.connector},
                                  {"incoming", part.incoming},
                                  {"outgoing", part.outgoing},
                                  {"keywords", part.keywords},
                                  {"controls", controls}});
      }
    }
    list.push_back(entry);
  }
  return list;
}

}  // namespace vsmix
