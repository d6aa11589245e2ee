#include "service_control.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "card_file.h"
#include "simulated_audio.h"

namespace {

std::size_t CopyOut(const std::string& text, char* buffer, std::size_t size) {
  if (buffer != nullptr && size != 0) {
    const std::size_t copied = text.size() < size ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = 0;
  }
  return text.size() + 1;
}

std::string DescribeIid(const IID& iid) {
  if (const char* name = sim::InterfaceName(iid)) return name;
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-...}", static_cast<unsigned long>(iid.Data1),
                iid.Data2, iid.Data3);
  return text;
}

std::string DescribeCall(const sim::CallRecord& call) {
  std::string line = call.object + "." + call.method + "(";
  std::string separator;
  const auto add = [&](const std::string& argument) {
    line += separator + argument;
    separator = ", ";
  };
  if (call.index) add("index " + std::to_string(*call.index));
  if (call.iid) add(DescribeIid(*call.iid));
  if (call.level) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &*call.level, sizeof bits);
    char text[48];
    std::snprintf(text, sizeof text, "level %.9g (0x%08X)", static_cast<double>(*call.level),
                  static_cast<unsigned>(bits));
    add(text);
  }
  if (call.value) add("value " + std::to_string(*call.value));
  if (call.nullContext) add(*call.nullContext ? "null context" : "a context");
  if (!call.text.empty()) add("\"" + sim::ToUtf8(call.text) + "\"");
  return line + ") -> " + sim::DescribeResult(call.result);
}

const char* InterfaceOfLabel(const std::string& suffix) {
  const std::pair<const char*, const char*> kinds[] = {
      {"volume", "IAudioVolumeLevel"}, {"mute", "IAudioMute"},
      {"bass", "IAudioBass"},          {"treble", "IAudioTreble"},
      {"midrange", "IAudioMidrange"},  {"agc", "IAudioAutoGainControl"},
      {"loudness", "IAudioLoudness"}};
  for (const auto& kind : kinds)
    if (suffix == kind.first) return kind.second;
  return nullptr;
}

}  // namespace

int VelmoraSimLoadCard(const char* path, char* error, std::size_t size) {
  sim::edge::AttachService();
  sim::World& world = sim::World::Get();
  try {
    sim::LoadCardFile(world, path != nullptr ? path : "");
    CopyOut("", error, size);
    return 0;
  } catch (const std::exception& failure) {
    world.Reset();
    CopyOut(failure.what(), error, size);
    return 1;
  }
}

void VelmoraSimInjectFault(const char* object, const char* method, std::int32_t result,
                           std::uint64_t fromCall, std::uint32_t times) {
  sim::FaultRule rule;
  rule.object = object != nullptr ? object : "*";
  rule.method = method != nullptr ? method : "*";
  rule.result = static_cast<HRESULT>(result);
  if (fromCall != 0) rule.fromSequence = fromCall;
  rule.times = times;
  rule.serviceCallsOnly = true;
  sim::World::Get().Inject(rule);
}

std::uint64_t VelmoraSimInjectableCalls() { return sim::World::Get().ServiceCalls(); }

std::uint64_t VelmoraSimFaultsInjected() { return sim::World::Get().FaultsInjected(); }

void VelmoraSimSetRecording(int recording) { sim::World::Get().SetRecording(recording != 0); }

std::size_t VelmoraSimCallLog(char* buffer, std::size_t size) {
  std::string log;
  for (const sim::CallRecord& call : sim::World::Get().Calls())
    if (call.object != "runtime") log += DescribeCall(call) + "\n";
  return CopyOut(log, buffer, size);
}

std::size_t VelmoraSimProblems(char* buffer, std::size_t size) {
  std::string text;
  for (const std::string& problem : sim::World::Get().Problems()) text += problem + "\n";
  return CopyOut(text, buffer, size);
}

std::size_t VelmoraSimHeldControls(char* buffer, std::size_t size) {
  // Control objects are labelled "<adapter>.<part>.<kind>"; the part's local
  // ID is its place in the adapter.
  std::string text;
  const sim::World& world = sim::World::Get();
  for (const std::string& label : world.LiveObjectLabels()) {
    const std::size_t dot = label.rfind('.');
    const char* interfaceName =
        dot == std::string::npos ? nullptr : InterfaceOfLabel(label.substr(dot + 1));
    if (interfaceName == nullptr) continue;
    const std::string partKey = label.substr(0, dot);
    for (const auto& adapter : world.Adapters())
      for (std::size_t id = 0; id < adapter->parts.size(); ++id)
        if (adapter->parts[id]->key == partKey)
          text += sim::ToUtf8(adapter->deviceId) + "\t" + std::to_string(id) + "\t" +
                  interfaceName + "\n";
  }
  return CopyOut(text, buffer, size);
}

void VelmoraSimCollectReleased() { sim::World::Get().CollectReleased(); }
