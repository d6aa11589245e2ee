#include "generated_cards.h"

#include <algorithm>
#include <cstdio>

#include "VelmoraSound.h"

namespace bench {

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string EndpointId(const char* flow, int index) {
  char id[64];
  std::snprintf(id, sizeof id, "{0.0.%s.00000000}.{%06d-generated}", flow, index);
  return id;
}

sim::Endpoint& AddEndpoint(sim::World& world, const std::string& key, const std::string& id,
                           EDataFlow flow, const std::string& name) {
  sim::Endpoint endpoint;
  endpoint.key = key;
  endpoint.id = Wide(id);
  endpoint.flow = flow;
  endpoint.friendlyName = Wide(name);
  return world.AddEndpoint(std::move(endpoint));
}

// One playback input: a jack, a volume and a mute into `sum`.
void AddInput(sim::Adapter& adapter, const std::string& key, const std::string& name) {
  adapter.Connector(key + "-jack", Wide(name));
  adapter.Subunit(key + "-volume", Wide(name + " Volume")).Volume(-34.5f, 12.0f, 1.5f, -10.0f);
  adapter.Subunit(key + "-mute", Wide(name + " Mute")).Mute(FALSE);
  adapter.Path(
      {(key + "-jack").c_str(), (key + "-volume").c_str(), (key + "-mute").c_str(), "sum"});
}

// A speaker jack behind a volume and tone controls and a sum of `inputs`
// inputs, the line a third of the way along them and the microphone two thirds.
sim::Adapter& AddWideCodec(sim::World& world, const std::string& key, int inputs) {
  sim::Adapter& codec = world.AddAdapter(key, u"{1}.HDAUDIO\\FUNC_01&VEN_10EC&DEV_0900");
  codec.Connector("speaker-jack", u"Speaker");
  codec.Subunit("master", u"Master Volume").Volume(-46.5f, 0.0f, 1.5f, -6.0f);
  codec.Subunit("tone", u"Tone").Bass(-12.0f, 12.0f, 1.5f).Treble(-12.0f, 12.0f, 1.5f);
  codec.Subunit("sum", u"Sum");
  codec.Path({"sum", "tone", "master", "speaker-jack"});
  for (int index = 0; index < inputs; ++index) {
    if (index == inputs / 3)
      AddInput(codec, "line", "Line In");
    else if (index == 2 * inputs / 3)
      AddInput(codec, "mic", "Microphone");
    else
      AddInput(codec, "aux" + std::to_string(index), "Aux " + std::to_string(index));
  }
  return codec;
}

int InstallWideInputs(sim::World& world, int parts) {
  sim::Adapter& codec = AddWideCodec(world, "wide", std::max(2, (parts - 4) / 3));
  AddEndpoint(world, "speakers", EndpointId("0", 0), eRender, "Speakers").connectedTo =
      &codec["speaker-jack"];
  return static_cast<int>(codec.parts.size());
}

// A capture connector behind a multiplexer of `inputs` connectors, each
// through a volume, and last a microphone connector with a boost level.
sim::Adapter& AddCaptureAdapter(sim::World& world, const std::string& key, int inputs) {
  sim::Adapter& capture = world.AddAdapter(key, u"{1}.USB\\VID_0D8C&PID_0900");
  capture.Connector("capture", u"Capture");
  capture.Subunit("mux", u"Input Select");
  capture.Path({"mux", "capture"});
  for (int index = 0; index < inputs; ++index) {
    const std::string part = "aux" + std::to_string(index);
    const std::string name = "Aux " + std::to_string(index);
    capture.Connector(part, Wide(name));
    capture.Subunit(part + "-volume", Wide(name + " Volume")).Volume(-12.0f, 30.0f, 0.75f, 0.0f, 1);
    capture.Path({part.c_str(), (part + "-volume").c_str(), "mux"});
  }
  capture.Connector("mic-jack", u"Mic In");
  capture.Subunit("boost", u"Mic Boost").Volume(0.0f, 30.0f, 10.0f, 10.0f, 1);
  capture.Subunit("mic-volume", u"Mic Volume").Volume(-12.0f, 30.0f, 0.75f, 0.0f, 1);
  capture.Path({"mic-jack", "boost", "mic-volume", "mux"});
  return capture;
}

int InstallManyConnectors(sim::World& world, int parts) {
  sim::Adapter& capture = AddCaptureAdapter(world, "capture", std::max(0, (parts - 5) / 2));
  AddEndpoint(world, "microphone", EndpointId("1", 0), eCapture, "Microphone").connectedTo =
      &capture["capture"];
  return static_cast<int>(capture.parts.size());
}

int InstallLongChain(sim::World& world, int parts) {
  sim::Adapter& codec = world.AddAdapter("chain", u"{1}.HDAUDIO\\FUNC_01&VEN_10EC&DEV_0901");
  codec.Connector("speaker-jack", u"Speaker");
  const int stages = std::max(1, parts - 8);  // the sum and two inputs make up the rest
  std::string below = "speaker-jack";
  for (int index = 0; index < stages; ++index) {
    const std::string key = "stage" + std::to_string(index);
    codec.Subunit(key, Wide("Stage " + std::to_string(index)));
    codec.Path({key.c_str(), below.c_str()});
    below = key;
  }
  codec.Subunit("sum", u"Sum");
  codec.Path({"sum", below.c_str()});
  AddInput(codec, "line", "Line In");
  AddInput(codec, "mic", "Microphone");
  AddEndpoint(world, "speakers", EndpointId("0", 0), eRender, "Speakers").connectedTo =
      &codec["speaker-jack"];
  return static_cast<int>(codec.parts.size());
}

}  // namespace

std::string PlaybackTarget(int perFlow) { return EndpointId("0", perFlow - 1); }
std::string CaptureTarget(int perFlow) { return EndpointId("1", perFlow - 1); }

void InstallManyEndpoints(sim::World& world, int perFlow) {
  sim::Adapter& codec = AddWideCodec(world, "codec", 4);
  sim::Adapter& capture = AddCaptureAdapter(world, "usb", 2);
  for (int index = 0; index < perFlow; ++index) {
    const bool target = index == perFlow - 1;
    const std::string number = std::to_string(index);
    AddEndpoint(world, "play" + number, PlaybackTarget(index + 1), eRender, "Speakers " + number)
        .connectedTo = target ? &codec["speaker-jack"] : nullptr;
    AddEndpoint(world, "rec" + number, CaptureTarget(index + 1), eCapture, "Microphone " + number)
        .connectedTo = target ? &capture["capture"] : nullptr;
  }
  for (ERole role : {eConsole, eMultimedia, eCommunications}) {
    world.SetDefault(eRender, role, "play" + std::to_string(perFlow - 1));
    world.SetDefault(eCapture, role, "rec" + std::to_string(perFlow - 1));
  }
}

int InstallGraph(sim::World& world, GraphShape shape, int parts) {
  switch (shape) {
    case GraphShape::WideInputs:
      return InstallWideInputs(world, parts);
    case GraphShape::ManyConnectors:
      return InstallManyConnectors(world, parts);
    case GraphShape::LongChain:
      return InstallLongChain(world, parts);
  }
  return 0;
}

int OpenGraph(GraphShape shape) {
  return shape == GraphShape::ManyConnectors ? OpenSoundCard("", "generated", "")
                                             : OpenSoundCard("generated", "", "");
}

const char* ShapeName(GraphShape shape) {
  switch (shape) {
    case GraphShape::WideInputs:
      return "wide_inputs";
    case GraphShape::ManyConnectors:
      return "many_connectors";
    case GraphShape::LongChain:
      return "long_chain";
  }
  return "";
}

}  // namespace bench
