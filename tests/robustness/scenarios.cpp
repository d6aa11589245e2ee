#include "scenarios.h"

#include <iterator>

#include "VelmoraSound.h"
#include "bad_input.h"

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

// What hosts get wrong, on every build: the results are the transcript's.
void WhatHostsGetWrong(HostContract& host) {
  host.OpenSoundCard(kSpeakers, kMicArray, kLineIn);
  for (const BadInput& input : NullPointers()) host.Note(input.description, input.call());

  host.OpenSoundCard(kSpeakers, kMicArray, kLineIn);
  host.OpenVirtual(kHeadphones);
  for (const int percent : kAwkwardPercentages)
    for (std::size_t setter = 0; setter < std::size(kPercentSetters); ++setter) {
      int status = -1;
      const int result = kPercentSetters[setter](percent, &status);
      host.Note("percentage setter " + std::to_string(setter) + "(" + std::to_string(percent) + ")",
                result, status);
    }
  for (const unsigned int index : kAwkwardIndices) {
    char name[255], id[255];
    host.Note("GetRecordDevice " + std::to_string(index), GetRecordDevice(index, name, id));
    host.Note("GetPlayBackDevice " + std::to_string(index), GetPlayBackDevice(index, name, id));
  }
  for (const double level : kAwkwardToneLevels) {
    int status = -1;
    host.Note("SetBass", SetBass(level, &status), status);
    double read = 9.0;
    host.Note("GetBass", GetBass(&read, &status), status);
    host.Note("bass level is a number", read == read);
  }
  host.CloseSoundCard(1);
  host.CloseVirtual();

  for (const std::string& text : AwkwardIdTexts()) {
    host.OpenSoundCard(text.c_str(), text.c_str(), text.c_str());
    host.OpenVirtual(text.c_str());
    host.GetDeviceNames();
    host.CloseSoundCard(1);
    host.CloseVirtual();
  }
}

// Every percentage through every level and back: the levels written and the
// percentages read back must be the same bits on every build.
void EveryPercentage(HostContract& host) {
  int(VELMORA_API* const getters[])(int*) = {
      GetMasterVolume,     GetLinePlayBack,  GetMicPlayBack,   GetMicRecordVolume,
      GetLineRecordVolume, GetVirtualVolume, GetMicSliderBoost};
  static_assert(std::size(getters) == std::size(kPercentSetters));
  host.OpenSoundCard(kSpeakers, kMicArray, kLineIn);
  host.OpenVirtual(kHeadphones);
  for (int percent = 0; percent <= 100; ++percent)
    for (std::size_t level = 0; level < std::size(getters); ++level) {
      int status = -1;
      const std::string name = "level " + std::to_string(level);
      host.Note(name + " set " + std::to_string(percent), kPercentSetters[level](percent, &status),
                status);
      host.Note(name + " read", getters[level](&status), status);
    }
  host.CloseSoundCard(1);
  host.CloseVirtual();
}

}  // namespace

std::vector<Scenario> SweptScenarios() {
  std::vector<Scenario> swept;
  for (const Scenario& scenario : HostScenarios())
    if (scenario.swept) swept.push_back(scenario);
  return swept;
}

const std::vector<Scenario>& HostScenarios() {
  static const std::vector<Scenario> scenarios = {
      {"enumerate and describe every endpoint", EnumerateEverything},
      {"open three devices, every control, close with restore", CardSession},
      {"the same with a boost switch", SwitchCardSession},
      {"default devices twice, then close", DefaultsTwice},
      {"auxiliary endpoint around a card session", AuxiliaryAroundACard},
      {"close with the restore, open again", RestoreRoundTrip},
      {"texts that match nothing", TextsThatMatchNothing},
      {"what hosts get wrong", WhatHostsGetWrong},
      {"every percentage through every level", EveryPercentage, false},
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
