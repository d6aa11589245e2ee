#include "scenarios.h"

#include "VelmoraSound.h"

namespace {

// ID texts of the reference machine's endpoints, as a host would keep them.
constexpr const char* kSpeakers = "{0.0.0.00000000}.{5f3e1d2a-7c41-4b8e-9a2d-13c0f6a8e201}";
constexpr const char* kHeadphones = "A81B44C0";
constexpr const char* kUsbMic = "3e7a9c12";
constexpr const char* kMicArray = "8b1f2c3d";
constexpr const char* kLineIn = "d4b2e8f1";

void EnumerateEverything(HostContract& host) {
  host.Enumerate(true);
  host.Enumerate(false);
}

void CardSession(HostContract& host) {
  host.OpenSoundCard(kSpeakers, kMicArray, kLineIn);
  host.GetDeviceNames();
  host.ExerciseEveryControl(50, 1, 3.0, 10);
  host.ExerciseEveryControl(0, 0, -1.5, 20);
  host.CloseSoundCard(1);
  host.GetDeviceNames();
}

void SwitchCardSession(HostContract& host) {
  host.OpenSoundCard(kSpeakers, kUsbMic, kLineIn);
  host.ExerciseEveryControl(75, 2, 6.0, 0);
  host.CloseSoundCard(1);
}

void DefaultsTwice(HostContract& host) {
  host.OpenDefaultDevices();
  host.OpenDefaultDevices();
  host.GetDeviceNames();
  host.ExerciseEveryControl(30, 1, 1.5, 10);
  host.CloseSoundCard(0);
}

void AuxiliaryAroundACard(HostContract& host) {
  host.OpenVirtual(kHeadphones);
  host.ExerciseVirtual(40, 1);
  host.OpenSoundCard(kSpeakers, "", kLineIn);
  host.ExerciseEveryControl(60, 0, 0.0, 0);
  host.CloseSoundCard(1);
  host.ExerciseVirtual(70, 0);
  host.OpenVirtual(kSpeakers);
  host.CloseVirtual();
}

void RestoreRoundTrip(HostContract& host) {
  host.OpenSoundCard(kSpeakers, kMicArray, kLineIn);
  host.ExerciseEveryControl(7, 1, -4.5, 30);
  host.CloseSoundCard(1);
  // The reads that open the second round show what the restore put back.
  host.OpenSoundCard(kSpeakers, kMicArray, kLineIn);
  host.ExerciseEveryControl(100, 0, 4.5, 0);
  host.CloseSoundCard(0);
}

void TextsThatMatchNothing(HostContract& host) {
  host.OpenSoundCard("no such playback", "no such microphone", "no such line");
  host.OpenVirtual("no such endpoint");
  host.ExerciseEveryControl(50, 1, 3.0, 10);
  host.ExerciseVirtual(50, 1);
  host.CloseSoundCard(1);
  host.CloseVirtual();
}

}  // namespace

const std::vector<Scenario>& HostScenarios() {
  static const std::vector<Scenario> scenarios = {
      {"enumerate and describe every endpoint", EnumerateEverything},
      {"open three devices, every control, close with restore", CardSession},
      {"the same with a boost switch", SwitchCardSession},
      {"default devices twice, then close", DefaultsTwice},
      {"auxiliary endpoint around a card session", AuxiliaryAroundACard},
      {"close with the restore, open again", RestoreRoundTrip},
      {"texts that match nothing", TextsThatMatchNothing},
  };
  return scenarios;
}

std::vector<std::string> EndHostSession(const HostContract& host) {
  CloseVirtual_1();
  CloseSoundCard(0);
  std::vector<std::string> problems = host.Violations();
  for (std::string& problem : PlatformProblems()) problems.push_back(std::move(problem));
  return problems;
}
