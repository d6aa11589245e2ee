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

struct ControlInterface {
  const char* name;
  IID iid;
};

const ControlInterface ControlInterfaces[] = {
    {"IAudioVolumeLevel", __uuidof(IAudioVolumeLevel)},
    {"IAudioMute", __uuidof(IAudioMute)},
    {"IAudioBass", __uuidof(IAudioBass)},
    {"IAudioTreble", __uuidof(IAudioTreble)},
    {"IAudioMidrange", __uuidof(IAudioMidrange)},
    {"IAudioAutoGainControl", __uuidof(IAudioAutoGainControl)},
    {"IAudioLoudness", __uuidof(IAudioLoudness)},
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
        entry.controls.push_back(control.name);
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

std::string Controls(const TopologyPart& part) {
  if (part.controls.empty()) return "-";
  std::string text;
  for (const std::string& control : part.controls) {
    const bool held = std::find(part.heldControls.begin(), part.heldControls.end(), control) !=
                      part.heldControls.end();
    text += (text.empty() ? "" : " ") + control + (held ? "*" : "");
  }
  return text;
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
      for (const HeldControl& control : held)
        if (control.adapterId == graph.adapterId && control.partId == part.id)
          part.heldControls.push_back(control.interfaceName);
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
    text += "  adapter  " + graph.adapterId + ", reached at part " +
            std::to_string(graph.attachedPart) + "\n";
    char line[512];
    std::snprintf(line, sizeof line, "  %4s %-9s %-24s %-9s %-9s %-38s %s\n", "id", "kind", "name",
                  "incoming", "outgoing", "controls (* held by the mixer)", "keywords");
    text += line;
    for (const TopologyPart& part : graph.parts) {
      std::string keywords;
      for (const std::string& keyword : part.keywords)
        keywords += (keywords.empty() ? "" : " ") + keyword;
      std::snprintf(line, sizeof line, "  %4u %-9s %-24s %-9s %-9s %-38s %s\n", part.id,
                    part.connector ? "connector" : "subunit", ("\"" + part.name + "\"").c_str(),
                    Ids(part.incoming).c_str(), Ids(part.outgoing).c_str(), Controls(part).c_str(),
                    keywords.empty() ? "-" : keywords.c_str());
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
    dot += "    " + endpointNode + " [shape=note, label=\"" +
           Escape(graph.endpointName.empty() ? graph.role : graph.endpointName) + "\"];\n";
    if (!graph.problem.empty()) {
      dot += "    " + prefix + "problem [shape=plaintext, label=\"" + Escape(graph.problem) +
             "\"];\n  }\n";
      continue;
    }
    for (const TopologyPart& part : graph.parts) {
      std::string label = HtmlEscape(part.name);
      for (const std::string& control : part.controls) {
        const bool held = std::find(part.heldControls.begin(), part.heldControls.end(), control) !=
                          part.heldControls.end();
        label += held ? "<BR/><B>" + control + "</B>" : "<BR/>" + control;
      }
      dot += "    " + prefix + std::to_string(part.id) +
             " [shape=" + (part.connector ? "box" : "ellipse") +
             (part.heldControls.empty() ? "" : ", style=\"filled,bold\", fillcolor=\"#ffe08a\"") +
             ", label=<" + label + ">];\n";
    }
    for (const TopologyPart& part : graph.parts)
      for (unsigned next : part.outgoing)
        dot += "    " + prefix + std::to_string(part.id) + " -> " + prefix + std::to_string(next) +
               ";\n";
    dot += "    " + prefix + std::to_string(graph.attachedPart) + " -> " + endpointNode +
           " [style=dashed];\n  }\n";
  }
  return dot + "}\n";
}

}  // namespace vsmix
