// Builds a simulated machine from the input bytes (endpoints with any state,
// ID and name; adapter graphs with shared parts, cycles, self-loops, empty and
// huge lists; controls with odd ranges and channel counts; injected faults)
// and drives a sequence of exports chosen by the input through the
// contract-checking host. Any broken contract, leak, misuse or unbalanced COM
// aborts. A first byte of 0 installs the reference machine instead.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host_contract.h"
#include "reference_cards.h"
#include "scenarios.h"
#include "simulated_audio.h"
#include "state/mixer_state.h"

namespace {

std::u16string WideText(FuzzedDataProvider& in, std::size_t maxLength) {
  const std::string bytes = in.ConsumeRandomLengthString(maxLength * 2);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
  return text;
}

float Level(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return in.ConsumeFloatingPoint<float>();  // anything, infinities and NaN included
    case 1:
      return static_cast<float>(in.ConsumeIntegralInRange(-100, 40));
    default:
      return in.ConsumeFloatingPointInRange(-96.0f, 30.0f);
  }
}

std::optional<sim::LevelControl> LevelControl(FuzzedDataProvider& in) {
  sim::LevelControl control;
  const UINT channels = in.ConsumeIntegralInRange<UINT>(0, 4);
  for (UINT i = 0; i < channels; ++i)
    control.channels.push_back({Level(in), Level(in), Level(in), Level(in)});
  return control;
}

void BuildAdapter(FuzzedDataProvider& in, sim::World& world, int number) {
  sim::Adapter& adapter = world.AddAdapter("a" + std::to_string(number), WideText(in, 8));
  const int parts = in.ConsumeIntegralInRange(0, 14);
  for (int p = 0; p < parts; ++p) {
    const std::string key = "p" + std::to_string(p);
    sim::Part& part = in.ConsumeBool() ? adapter.Connector(key, WideText(in, 24))
                                       : adapter.Subunit(key, WideText(in, 24));
    const unsigned controls = in.ConsumeIntegral<std::uint8_t>();
    if (controls & 1) part.volume = LevelControl(in);
    if (controls & 2) part.bass = LevelControl(in);
    if (controls & 4) part.treble = LevelControl(in);
    if (controls & 8) part.midrange = LevelControl(in);
    if (controls & 16) part.mute = in.ConsumeIntegral<int>();
    if (controls & 32) part.autoGain = in.ConsumeIntegral<int>();
    if (controls & 64) part.loudness = in.ConsumeIntegral<int>();
  }
  if (parts == 0) return;
  // Links in any shape: shared parts, cycles, self-loops, repeated links.
  const int links = in.ConsumeIntegralInRange(0, in.ConsumeBool() ? 40 : 400);
  for (int l = 0; l < links; ++l) {
    sim::Part& from = *adapter.parts[in.ConsumeIntegralInRange(0, parts - 1)];
    sim::Part& to = *adapter.parts[in.ConsumeIntegralInRange(0, parts - 1)];
    from.outgoing.push_back(&to);
    to.incoming.push_back(&from);
  }
}

const char* const kMethods[] = {"*",
                                "CoCreateInstance",
                                "EnumAudioEndpoints",
                                "GetCount",
                                "Item",
                                "GetId",
                                "OpenPropertyStore",
                                "GetValue",
                                "Activate",
                                "GetDevice",
                                "GetDefaultAudioEndpoint",
                                "GetConnector",
                                "GetConnectedTo",
                                "QueryInterface",
                                "GetName",
                                "EnumPartsIncoming",
                                "EnumPartsOutgoing",
                                "GetPart",
                                "GetTopologyObject",
                                "GetConnectorCount",
                                "GetLevel",
                                "SetLevel",
                                "GetLevelRange",
                                "GetChannelCount",
                                "GetMute",
                                "SetMute",
                                "GetEnabled",
                                "SetEnabled",
                                "GetVolumeRange",
                                "GetMasterVolumeLevel",
                                "SetMasterVolumeLevel",
                                "GetChannelVolumeLevel",
                                "SetChannelVolumeLevel",
                                "CoInitialize",
                                "SysAllocString",
                                "SysAllocStringLen",
                                "LibraryMalloc",
                                "CoTaskMemAlloc",
                                "MultiByteToWideChar",
                                "WideCharToMultiByte"};
const HRESULT kResults[] = {
    E_FAIL,        S_FALSE,      E_NOINTERFACE, E_NOTFOUND,
    E_OUTOFMEMORY, E_INVALIDARG, E_NOTIMPL,     static_cast<HRESULT>(0x80070001u),
    S_OK};

void BuildMachine(FuzzedDataProvider& in, sim::World& world) {
  const int adapters = in.ConsumeIntegralInRange(0, 2);
  for (int a = 0; a < adapters; ++a) BuildAdapter(in, world, a);
  std::vector<sim::Part*> parts;
  for (const auto& adapter : world.Adapters())
    for (const auto& part : adapter->parts) parts.push_back(part.get());

  const int endpoints = in.ConsumeIntegralInRange(0, 5);
  for (int e = 0; e < endpoints; ++e) {
    sim::Endpoint endpoint;
    endpoint.key = "e" + std::to_string(e);
    endpoint.flow = in.ConsumeBool() ? eRender : eCapture;
    const DWORD states[] = {DEVICE_STATE_ACTIVE, DEVICE_STATE_ACTIVE, DEVICE_STATE_DISABLED,
                            DEVICE_STATE_UNPLUGGED, DEVICE_STATE_NOTPRESENT};
    endpoint.state = states[in.ConsumeIntegralInRange(0, 4)];
    endpoint.id = in.ConsumeBool() ? u"{0.0." + std::u16string(1, static_cast<char16_t>(u'0' + e)) +
                                         u"}." + WideText(in, 8)
                                   : WideText(in, 300);
    endpoint.friendlyName = WideText(in, in.ConsumeBool() ? 40 : 400);
    endpoint.nameKind = static_cast<sim::NameKind>(in.ConsumeIntegralInRange(0, 3));
    endpoint.volume.channelCount = in.ConsumeIntegralInRange<UINT>(0, 8);
    endpoint.volume.minDb = Level(in);
    endpoint.volume.maxDb = Level(in);
    endpoint.volume.stepDb = Level(in);
    endpoint.volume.masterDb = Level(in);
    endpoint.volume.mute = in.ConsumeIntegral<int>();
    endpoint.offersTopology = in.ConsumeIntegralInRange(0, 3) != 0;
    if (!parts.empty() && in.ConsumeIntegralInRange(0, 3) != 0)
      endpoint.connectedTo = parts[in.ConsumeIntegralInRange<std::size_t>(0, parts.size() - 1)];
    world.AddEndpoint(std::move(endpoint));
  }
  if (endpoints > 0) {
    for (EDataFlow flow : {eRender, eCapture})
      world.SetDefault(flow, eConsole,
                       "e" + std::to_string(in.ConsumeIntegralInRange(0, endpoints)));
  }
  world.SetAnsiCodePage(in.ConsumeBool() ? 1252 : 1251);
}

void InjectFaults(FuzzedDataProvider& in, sim::World& world) {
  const int rules = in.ConsumeIntegralInRange(0, 3);
  for (int r = 0; r < rules; ++r) {
    sim::FaultRule rule;
    rule.method = in.PickValueInArray(kMethods);
    rule.result = in.PickValueInArray(kResults);
    if (in.ConsumeBool()) rule.index = in.ConsumeIntegralInRange<UINT>(0, 3);
    if (in.ConsumeBool()) rule.fromSequence = in.ConsumeIntegralInRange<std::uint64_t>(1, 400);
    rule.skip = in.ConsumeIntegralInRange<std::uint32_t>(0, 8);
    rule.times = in.ConsumeBool() ? UINT32_MAX : in.ConsumeIntegralInRange<std::uint32_t>(1, 4);
    world.Inject(rule);
  }
}

// An ID text: part of an endpoint's ID (as the host would have it), or anything.
std::string IdText(FuzzedDataProvider& in, const sim::World& world) {
  const auto& endpoints = world.Endpoints();
  if (endpoints.empty() || in.ConsumeIntegralInRange(0, 3) == 0)
    return in.ConsumeRandomLengthString(300);
  const std::u16string& id =
      endpoints[in.ConsumeIntegralInRange<std::size_t>(0, endpoints.size() - 1)]->id;
  const std::size_t start = in.ConsumeIntegralInRange<std::size_t>(0, id.size());
  const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, id.size() - start);
  std::string text;
  for (std::size_t i = start; i < start + length; ++i)
    text += static_cast<char>(id[i] < 0x80 ? id[i] : '?');
  return text;
}

void DriveExports(FuzzedDataProvider& in, sim::World& world, HostContract& host) {
  for (int step = 0; step < 40 && in.remaining_bytes() > 0; ++step) {
    // Objects released by earlier exports are freed; a library still using
    // one would then be caught by AddressSanitizer instead.
    world.CollectReleased();
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0:
        host.Enumerate(in.ConsumeBool());
        break;
      case 1: {
        const std::string playback = IdText(in, world);
        const std::string mic = IdText(in, world);
        const std::string line = IdText(in, world);
        host.OpenSoundCard(playback.c_str(), mic.c_str(), line.c_str());
        break;
      }
      case 2:
        host.OpenDefaultDevices();
        break;
      case 3:
        host.ExerciseEveryControl(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                                  in.ConsumeFloatingPoint<double>(), in.ConsumeIntegral<int>());
        break;
      case 4:
        host.OpenVirtual(IdText(in, world).c_str());
        break;
      case 5:
        host.ExerciseVirtual(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>());
        break;
      case 6:
        host.CloseSoundCard(in.ConsumeIntegral<std::uint8_t>());
        break;
      case 7:
        host.CloseVirtual();
        break;
      case 8:
        host.GetDeviceNames();
        break;
      default:
        host.ExerciseEveryControl(50, 1, 3.0, 10);
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  sim::World& world = sim::World::Get();
  if (size > 0 && data[0] == 0) {
    StartHostSession();  // the reference machine and an empty mixer state
    in.ConsumeBytes<std::uint8_t>(1);
  } else {
    Mixer = MixerState{};
    world.Reset();
    BuildMachine(in, world);
  }
  world.SetRecording(std::getenv("VELMORA_FUZZ_STATS") != nullptr);
  InjectFaults(in, world);
  HostContract host;
  DriveExports(in, world, host);
  const std::vector<std::string> problems = EndHostSession(host);
  if (std::getenv("VELMORA_FUZZ_STATS") != nullptr) {
    std::fprintf(stderr, "platform calls: %llu\n",
                 static_cast<unsigned long long>(world.InjectableCalls()));
    std::map<std::string, std::size_t> methods;
    for (const sim::CallRecord& call : world.Calls()) ++methods[call.method];
    for (const auto& [method, count] : methods)
      std::fprintf(stderr, "  %s: %zu\n", method.c_str(), count);
  }
  if (!problems.empty()) {
    for (const std::string& problem : problems)
      std::fprintf(stderr, "problem: %s\n", problem.c_str());
    std::abort();
  }
  world.Reset();
  return 0;
}
