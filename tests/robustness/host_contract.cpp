#include "host_contract.h"

#include <algorithm>
#include <cstring>

#include "VelmoraSound.h"
#include "state/mixer_state.h"

namespace {
constexpr int kUntouched = 0x5A;
}

void HostContract::Require(bool condition, const std::string& what) {
  if (!condition) violations_.push_back(what);
}

void HostContract::CheckStatus(const char* name, int status, std::initializer_list<int> allowed) {
  Require(std::find(allowed.begin(), allowed.end(), status) != allowed.end(),
          std::string(name) + " wrote status " + std::to_string(status));
}

// A guard's status must agree with the mixer state it tested.
void HostContract::CheckGuard(const char* name, int status, const void* slot, bool cardGuard) {
  if (status == StatusNotOpen)
    Require(cardGuard && Mixer.CurrentDeviceId == nullptr, std::string(name) + ": not open");
  if (status == StatusOk || status == StatusFailed)
    Require(slot != nullptr && (!cardGuard || Mixer.CurrentDeviceId != nullptr),
            std::string(name) + ": a platform call without its control");
}

std::vector<std::string> HostContract::Enumerate(bool playback) {
  unsigned int count = 0xFFFF;
  const int counted = playback ? GetNumberPlayDevices(&count) : GetNumberRecordDevices(&count);
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
  Require(result >= 0 && result <= 7, "OpenSoundCard returned " + std::to_string(result));
  return result;
}

int HostContract::OpenDefaultDevices() {
  const int result = ::OpenDefaultDevices();
  Require(result == 0 || result == 1, "OpenDefaultDevices returned " + std::to_string(result));
  return result;
}

int HostContract::CloseSoundCard(unsigned char restore) {
  const int result = ::CloseSoundCard(restore);
  Require(result == 0, "CloseSoundCard returned non-zero");
  Require(Mixer.CurrentDeviceId == nullptr && Mixer.PlaybackEndpointVolume == nullptr &&
              Mixer.PlaybackDeviceName == nullptr,
          "CloseSoundCard left the card open");
  return result;
}

int HostContract::OpenVirtual(const char* idText) {
  const int result = OpenVirtual_1(idText);
  Require(result == 0 || result == 1, "OpenVirtual_1 returned " + std::to_string(result));
  if (result == 0) Require(Mixer.VirtualEndpointVolume != nullptr, "opened without a control");
  return result;
}

int HostContract::CloseVirtual() {
  Require(CloseVirtual_1() == 0, "CloseVirtual_1 returned non-zero");
  Require(Mixer.VirtualEndpointVolume == nullptr, "CloseVirtual_1 kept its control");
  return 0;
}

void HostContract::GetDeviceNames() {
  char names[3][256];
  std::memset(names, kUntouched, sizeof names);
  ::GetDeviceNames(names[0], names[1], names[2]);
  for (const char* name : names)
    Require(name[255] == kUntouched && (name[0] == kUntouched || std::memchr(name, 0, 255)),
            "GetDeviceNames wrote past a 255-byte buffer");
}

void HostContract::ExerciseVirtual(int percent, int mute) {
  const void* slot = Mixer.VirtualEndpointVolume;
  int status = -1;
  int value = GetVirtualVolume(&status);
  CheckStatus("GetVirtualVolume", status, {0, 1, 2});
  CheckGuard("GetVirtualVolume", status, slot, false);
  if (status != StatusOk) Require(value == 0, "GetVirtualVolume returned a value on failure");
  value = SetVirtualVolume(percent, &status);
  CheckStatus("SetVirtualVolume", status, {0, 1, 2});
  Require(value == (status == StatusNoControl ? 0 : percent), "SetVirtualVolume's return");
  value = SetVirtualMute(mute, &status);
  CheckStatus("SetVirtualMute", status, {0, 1});
  Require(value == 0, "SetVirtualMute's return");
  value = GetVirtualMute(&status);
  CheckStatus("GetVirtualMute", status, {0, 1, 2});
  if (status != StatusOk) Require(value == 0, "GetVirtualMute returned a value on failure");
}

void HostContract::ExerciseEveryControl(int percent, int mute, double tone, int boost) {
  int status = -1;
  const std::initializer_list<int> any = {0, 1, 2, 3};

  // Getters: their value only with StatusOk.
  const struct {
    const char* name;
    int (*get)(int*);
    const void* slot;
  } getters[] = {
      {"GetMasterVolume", GetMasterVolume, Mixer.PlaybackEndpointVolume},
      {"GetMasterMute", GetMasterMute, Mixer.PlaybackEndpointVolume},
      {"GetLinePlayBack", GetLinePlayBack, Mixer.LinePlaybackLevel},
      {"GetLinePlayBackMute", GetLinePlayBackMute, Mixer.LinePlaybackMute},
      {"GetMicPlayBack", GetMicPlayBack, Mixer.MicPlaybackLevel},
      {"GetMicPlayBackMute", GetMicPlayBackMute, Mixer.MicPlaybackMute},
      {"GetMicRecordVolume", GetMicRecordVolume, Mixer.MicEndpointVolume},
      {"GetLineRecordVolume", GetLineRecordVolume, Mixer.LineEndpointVolume},
      {"GetMicBoost", GetMicBoost, Mixer.MicBoostSwitch},
      {"GetMicSliderBoost", GetMicSliderBoost, Mixer.MicBoostLevel},
      {"GetNoMonitor", GetNoMonitor, Mixer.LineMonitorSwitch},
  };
  for (const auto& getter : getters) {
    const int value = getter.get(&status);
    CheckStatus(getter.name, status, any);
    CheckGuard(getter.name, status, getter.slot);
    if (status != StatusOk) Require(value == 0, std::string(getter.name) + " value on failure");
  }

  // Level setters: some echo the percentage after a platform call whatever
  // its outcome, some only after success.
  const struct {
    const char* name;
    int (*set)(int, int*);
    const void* slot;
    bool echoesOnFailure;
  } levels[] = {
      {"SetMasterVolume", SetMasterVolume, Mixer.PlaybackEndpointVolume, true},
      {"SetMicRecordVolume", SetMicRecordVolume, Mixer.MicEndpointVolume, true},
      {"SetLineRecordVolume", SetLineRecordVolume, Mixer.LineEndpointVolume, true},
      {"SetLinePlayBack", SetLinePlayBack, Mixer.LinePlaybackLevel, false},
      {"SetMicPlayBack", SetMicPlayBack, Mixer.MicPlaybackLevel, false},
  };
  for (const auto& setter : levels) {
    const int value = setter.set(percent, &status);
    CheckStatus(setter.name, status, any);
    CheckGuard(setter.name, status, setter.slot);
    const bool echoed = status == StatusOk || (setter.echoesOnFailure && status == StatusFailed);
    Require(value == (echoed ? percent : 0), std::string(setter.name) + "'s return");
  }

  // Switch setters: always 0.
  const struct {
    const char* name;
    int (*set)(int, int*);
    const void* slot;
  } switches[] = {
      {"SetLinePlayBackMute", SetLinePlayBackMute, Mixer.LinePlaybackMute},
      {"SetMicPlayBackMute", SetMicPlayBackMute, Mixer.MicPlaybackMute},
      {"SetMicBoost", SetMicBoost, Mixer.MicBoostSwitch},
      {"SetNoMonitor", SetNoMonitor, Mixer.LineMonitorSwitch},
  };
  for (const auto& setter : switches) {
    Require(setter.set(mute, &status) == 0, std::string(setter.name) + "'s return");
    CheckStatus(setter.name, status, any);
    CheckGuard(setter.name, status, setter.slot);
  }
  const void* master = Mixer.PlaybackEndpointVolume;
  Require(SetMasterMute(static_cast<unsigned char>(mute), &status) == 0, "SetMasterMute's return");
  CheckStatus("SetMasterMute", status, {0, 1, 3});  // a platform failure is "no control"
  if (status == StatusOk) Require(master != nullptr, "SetMasterMute without its control");

  // Boost level: 0 after success, else 1; the range only with success.
  int low = kUntouched, high = kUntouched, step = kUntouched;
  const void* boostLevel = Mixer.MicBoostLevel;
  const int details = GetMicSliderDetails(&status, &low, &high, &step);
  CheckStatus("GetMicSliderDetails", status, any);
  CheckGuard("GetMicSliderDetails", status, boostLevel);
  Require(details == (status == StatusOk ? 0 : 1), "GetMicSliderDetails' return");
  if (status == StatusFailed) Require(low == 0 && high == 0 && step == 0, "range not zeroed");
  if (status == StatusNotOpen || status == StatusNoControl)
    Require(low == kUntouched && high == kUntouched, "range written without a control");
  const int boosted = SetMicSliderBoost(boost, &status);
  Require(boosted == (status == StatusOk ? 0 : 1), "SetMicSliderBoost's return");
  CheckStatus("SetMicSliderBoost", status, any);

  // Tone: 0 after success else 1; the midrange answers 1 always.
  double minimum = 9, maximum = 9, stepping = 9;
  const int range = GetEQRange(&minimum, &maximum, &stepping);
  CheckStatus("GetEQRange", range, {0, 1, 3});
  if (range != StatusOk) Require(minimum == 0 && maximum == 0 && stepping == 0, "EQ range");
  const struct {
    const char* name;
    int (*set)(double, int*);
    int (*get)(double*, int*);
    const void* slot;
    bool alwaysOne;
  } tones[] = {
      {"bass", SetBass, GetBass, Mixer.BassControl, false},
      {"treble", SetTreble, GetTreble, Mixer.TrebleControl, false},
      {"midrange", SetMidRange, GetMidRange, Mixer.MidrangeControl, true},
  };
  for (const auto& control : tones) {
    int value = control.set(tone, &status);
    CheckStatus(control.name, status, any);
    CheckGuard(control.name, status, control.slot);
    Require(value == (control.alwaysOne || status != StatusOk ? 1 : 0),
            std::string("set ") + control.name + "'s return");
    double level = 9;
    value = control.get(&level, &status);
    CheckStatus(control.name, status, any);
    Require(value == (control.alwaysOne || status != StatusOk ? 1 : 0),
            std::string("get ") + control.name + "'s return");
    if (status != StatusOk) Require(level == 0.0, std::string("get ") + control.name + " level");
  }
}
