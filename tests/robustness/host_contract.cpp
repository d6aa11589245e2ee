#include "host_contract.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "VelmoraSound.h"
#include "host_side.h"

namespace {
constexpr int kUntouched = 0x5A;

// A double as its exact bits, so that transcripts compare to the last bit.
std::string Exact(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%a", value);
  return text;
}
}  // namespace

void HostContract::Require(bool condition, const std::string& what) {
  if (!condition) violations_.push_back(what);
}

void HostContract::CheckStatus(const char* name, int status, std::initializer_list<int> allowed) {
  Require(std::find(allowed.begin(), allowed.end(), status) != allowed.end(),
          std::string(name) + " wrote status " + std::to_string(status));
}

// A guard's status must agree with the mixer state it tested, where the host
// can see that state.
void HostContract::CheckGuard(const char* name, int status, Slot slot, bool cardGuard) {
  const std::optional<bool> open = MixerHolds(Slot::Card), held = MixerHolds(slot);
  if (!open || !held) return;
  if (status == StatusNotOpen) Require(cardGuard && !*open, std::string(name) + ": not open");
  if (status == StatusOk || status == StatusFailed)
    Require(*held && (!cardGuard || *open),
            std::string(name) + ": a platform call without its control");
}

void HostContract::Note(const std::string& call, long long value, int status) {
  transcript_.push_back(call + " = " + std::to_string(value) + ", status " +
                        std::to_string(status));
}

std::vector<std::string> HostContract::Enumerate(bool playback) {
  unsigned int count = 0xFFFF;
  const int counted = playback ? GetNumberPlayDevices(&count) : GetNumberRecordDevices(&count);
  Note((playback ? "GetNumberPlayDevices " : "GetNumberRecordDevices ") + std::to_string(count),
       counted, 0);
  Require(counted == 0 || counted == 1, "counting returned " + std::to_string(counted));
  if (counted != 0) {
    Require(count == 0xFFFF, "a failed count wrote the count");
    count = 3;  // describe a few positions anyway
  }
  std::vector<std::string> ids;
  for (unsigned int index = 0; index <= count; ++index) {
    char name[256], id[256];
    std::memset(name, kUntouched, sizeof name);
    std::memset(id, kUntouched, sizeof id);
    const int result =
        playback ? GetPlayBackDevice(index, name, id) : GetRecordDevice(index, name, id);
    Require(name[255] == kUntouched && id[255] == kUntouched, "a name or ID ran past 255 bytes");
    Note((playback ? "GetPlayBackDevice " : "GetRecordDevice ") + std::to_string(index) +
             (result == 0 ? " \"" + std::string(name) + "\" \"" + id + "\"" : ""),
         result, 0);
    if (result == 0) {
      Require(std::memchr(name, 0, 255) != nullptr && std::memchr(id, 0, 255) != nullptr,
              "a described endpoint without terminated texts");
      ids.emplace_back(id);
    } else {
      Require(result == -1 || (!playback && result > 0),
              "describing returned " + std::to_string(result));
      Require(name[0] == kUntouched && id[0] == kUntouched, "a failed description wrote");
    }
  }
  return ids;
}

int HostContract::OpenSoundCard(const char* playback, const char* mic, const char* line) {
  const int result = ::OpenSoundCard(playback, mic, line);
  Note("OpenSoundCard", result, 0);
  Require(result >= 0 && result <= 7, "OpenSoundCard returned " + std::to_string(result));
  return result;
}

int HostContract::OpenDefaultDevices() {
  const int result = ::OpenDefaultDevices();
  Note("OpenDefaultDevices", result, 0);
  Require(result == 0 || result == 1, "OpenDefaultDevices returned " + std::to_string(result));
  return result;
}

int HostContract::CloseSoundCard(unsigned char restore) {
  const int result = ::CloseSoundCard(restore);
  Note("CloseSoundCard", result, 0);
  Require(result == 0, "CloseSoundCard returned non-zero");
  Require(MixerHolds(Slot::Card) != true && MixerHolds(Slot::PlaybackEndpointVolume) != true &&
              MixerHolds(Slot::PlaybackName) != true,
          "CloseSoundCard left the card open");
  return result;
}

int HostContract::OpenVirtual(const char* idText) {
  const int result = OpenVirtual_1(idText);
  Note("OpenVirtual_1", result, 0);
  Require(result == 0 || result == 1, "OpenVirtual_1 returned " + std::to_string(result));
  if (result == 0)
    Require(MixerHolds(Slot::VirtualEndpointVolume) != false, "opened without a control");
  return result;
}

int HostContract::CloseVirtual() {
  const int result = CloseVirtual_1();
  Note("CloseVirtual_1", result, 0);
  Require(result == 0, "CloseVirtual_1 returned non-zero");
  Require(MixerHolds(Slot::VirtualEndpointVolume) != true, "CloseVirtual_1 kept its control");
  return 0;
}

void HostContract::GetDeviceNames() {
  char names[3][256];
  std::memset(names, kUntouched, sizeof names);
  ::GetDeviceNames(names[0], names[1], names[2]);
  std::string call = "GetDeviceNames";
  for (const char* name : names)
    call +=
        " \"" + (std::memchr(name, 0, 255) ? std::string(name) : std::string("(untouched)")) + "\"";
  Note(call, 0, 0);
  for (const char* name : names)
    Require(name[255] == kUntouched && (name[0] == kUntouched || std::memchr(name, 0, 255)),
            "GetDeviceNames wrote past a 255-byte buffer");
}

void HostContract::ExerciseVirtual(int percent, int mute) {
  int status = -1;
  int value = GetVirtualVolume(&status);
  Note("GetVirtualVolume", value, status);
  CheckStatus("GetVirtualVolume", status, {0, 1, 2});
  CheckGuard("GetVirtualVolume", status, Slot::VirtualEndpointVolume, false);
  if (status != StatusOk) Require(value == 0, "GetVirtualVolume returned a value on failure");
  value = SetVirtualVolume(percent, &status);
  Note("SetVirtualVolume", value, status);
  CheckStatus("SetVirtualVolume", status, {0, 1, 2});
  Require(value == (status == StatusNoControl ? 0 : percent), "SetVirtualVolume's return");
  value = SetVirtualMute(mute, &status);
  Note("SetVirtualMute", value, status);
  CheckStatus("SetVirtualMute", status, {0, 1});
  Require(value == 0, "SetVirtualMute's return");
  value = GetVirtualMute(&status);
  Note("GetVirtualMute", value, status);
  CheckStatus("GetVirtualMute", status, {0, 1, 2});
  if (status != StatusOk) Require(value == 0, "GetVirtualMute returned a value on failure");
}

void HostContract::ExerciseEveryControl(int percent, int mute, double tone, int boost) {
  int status = -1;
  const std::initializer_list<int> any = {0, 1, 2, 3};

  // Getters: their value only with StatusOk.
  const struct {
    const char* name;
    int(VELMORA_API* get)(int*);
    Slot slot;
  } getters[] = {
      {"GetMasterVolume", GetMasterVolume, Slot::PlaybackEndpointVolume},
      {"GetMasterMute", GetMasterMute, Slot::PlaybackEndpointVolume},
      {"GetLinePlayBack", GetLinePlayBack, Slot::LinePlaybackLevel},
      {"GetLinePlayBackMute", GetLinePlayBackMute, Slot::LinePlaybackMute},
      {"GetMicPlayBack", GetMicPlayBack, Slot::MicPlaybackLevel},
      {"GetMicPlayBackMute", GetMicPlayBackMute, Slot::MicPlaybackMute},
      {"GetMicRecordVolume", GetMicRecordVolume, Slot::MicEndpointVolume},
      {"GetLineRecordVolume", GetLineRecordVolume, Slot::LineEndpointVolume},
      {"GetMicBoost", GetMicBoost, Slot::MicBoostSwitch},
      {"GetMicSliderBoost", GetMicSliderBoost, Slot::MicBoostLevel},
      {"GetNoMonitor", GetNoMonitor, Slot::LineMonitorSwitch},
  };
  for (const auto& getter : getters) {
    const int value = getter.get(&status);
    Note(getter.name, value, status);
    CheckStatus(getter.name, status, any);
    CheckGuard(getter.name, status, getter.slot);
    if (status != StatusOk) Require(value == 0, std::string(getter.name) + " value on failure");
  }

  // Level setters: some echo the percentage after a platform call whatever
  // its outcome, some only after success.
  const struct {
    const char* name;
    int(VELMORA_API* set)(int, int*);
    Slot slot;
    bool echoesOnFailure;
  } levels[] = {
      {"SetMasterVolume", SetMasterVolume, Slot::PlaybackEndpointVolume, true},
      {"SetMicRecordVolume", SetMicRecordVolume, Slot::MicEndpointVolume, true},
      {"SetLineRecordVolume", SetLineRecordVolume, Slot::LineEndpointVolume, true},
      {"SetLinePlayBack", SetLinePlayBack, Slot::LinePlaybackLevel, false},
      {"SetMicPlayBack", SetMicPlayBack, Slot::MicPlaybackLevel, false},
  };
  for (const auto& setter : levels) {
    const int value = setter.set(percent, &status);
    Note(setter.name, value, status);
    CheckStatus(setter.name, status, any);
    CheckGuard(setter.name, status, setter.slot);
    const bool echoed = status == StatusOk || (setter.echoesOnFailure && status == StatusFailed);
    Require(value == (echoed ? percent : 0), std::string(setter.name) + "'s return");
  }

  // Switch setters: always 0.
  const struct {
    const char* name;
    int(VELMORA_API* set)(int, int*);
    Slot slot;
  } switches[] = {
      {"SetLinePlayBackMute", SetLinePlayBackMute, Slot::LinePlaybackMute},
      {"SetMicPlayBackMute", SetMicPlayBackMute, Slot::MicPlaybackMute},
      {"SetMicBoost", SetMicBoost, Slot::MicBoostSwitch},
      {"SetNoMonitor", SetNoMonitor, Slot::LineMonitorSwitch},
  };
  for (const auto& setter : switches) {
    const int value = setter.set(mute, &status);
    Note(setter.name, value, status);
    Require(value == 0, std::string(setter.name) + "'s return");
    CheckStatus(setter.name, status, any);
    CheckGuard(setter.name, status, setter.slot);
  }
  const int masterMuted = SetMasterMute(static_cast<unsigned char>(mute), &status);
  Note("SetMasterMute", masterMuted, status);
  Require(masterMuted == 0, "SetMasterMute's return");
  CheckStatus("SetMasterMute", status, {0, 1, 3});  // a platform failure is "no control"
  if (status == StatusOk)
    Require(MixerHolds(Slot::PlaybackEndpointVolume) != false, "SetMasterMute without its control");

  // Boost level: 0 after success, else 1; the range only with success.
  int low = kUntouched, high = kUntouched, step = kUntouched;
  const int details = GetMicSliderDetails(&status, &low, &high, &step);
  Note("GetMicSliderDetails " + std::to_string(low) + " " + std::to_string(high) + " " +
           std::to_string(step),
       details, status);
  CheckStatus("GetMicSliderDetails", status, any);
  CheckGuard("GetMicSliderDetails", status, Slot::MicBoostLevel);
  Require(details == (status == StatusOk ? 0 : 1), "GetMicSliderDetails' return");
  if (status == StatusFailed) Require(low == 0 && high == 0 && step == 0, "range not zeroed");
  if (status == StatusNotOpen || status == StatusNoControl)
    Require(low == kUntouched && high == kUntouched, "range written without a control");
  const int boosted = SetMicSliderBoost(boost, &status);
  Note("SetMicSliderBoost", boosted, status);
  Require(boosted == (status == StatusOk ? 0 : 1), "SetMicSliderBoost's return");
  CheckStatus("SetMicSliderBoost", status, any);

  // Tone: 0 after success else 1; the midrange answers 1 always.
  double minimum = 9, maximum = 9, stepping = 9;
  const int range = GetEQRange(&minimum, &maximum, &stepping);
  Note("GetEQRange " + Exact(minimum) + " " + Exact(maximum) + " " + Exact(stepping), range, range);
  CheckStatus("GetEQRange", range, {0, 1, 3});
  if (range != StatusOk) Require(minimum == 0 && maximum == 0 && stepping == 0, "EQ range");
  const struct {
    const char* name;
    int(VELMORA_API* set)(double, int*);
    int(VELMORA_API* get)(double*, int*);
    Slot slot;
    bool alwaysOne;
  } tones[] = {
      {"bass", SetBass, GetBass, Slot::Bass, false},
      {"treble", SetTreble, GetTreble, Slot::Treble, false},
      {"midrange", SetMidRange, GetMidRange, Slot::Midrange, true},
  };
  for (const auto& control : tones) {
    int value = control.set(tone, &status);
    Note(std::string("set ") + control.name, value, status);
    CheckStatus(control.name, status, any);
    CheckGuard(control.name, status, control.slot);
    Require(value == (control.alwaysOne || status != StatusOk ? 1 : 0),
            std::string("set ") + control.name + "'s return");
    double level = 9;
    value = control.get(&level, &status);
    Note(std::string("get ") + control.name + " " + Exact(level), value, status);
    CheckStatus(control.name, status, any);
    Require(value == (control.alwaysOne || status != StatusOk ? 1 : 0),
            std::string("get ") + control.name + "'s return");
    if (status != StatusOk) Require(level == 0.0, std::string("get ") + control.name + " level");
  }
}
