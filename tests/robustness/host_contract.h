// A host that calls the exports and checks every answer against the contract
// of the export table, whatever the platform answered underneath: the status
// is one the export may write, the return value goes with that status, and a
// guard's status agrees with the mixer state. Used by the fault sweep, the
// soak and the fuzzer, where the platform may fail anywhere, and by the
// scenarios run on the DLL, whose transcripts must equal the linked build's.
#pragma once

#include <string>
#include <vector>

#include "host_side.h"

class HostContract {
 public:
  const std::vector<std::string>& Violations() const { return violations_; }
  // Every export called, with its return value, status and outputs.
  const std::vector<std::string>& Transcript() const { return transcript_; }
  // Adds a call the host made itself to the transcript.
  void Note(const std::string& call, long long value, int status = 0);

  // Enumerates both flows and describes every endpoint; returns the IDs.
  std::vector<std::string> Enumerate(bool playback);
  // Every control export: read, set to the given values, read again.
  void ExerciseEveryControl(int percent, int mute, double tone, int boost);
  int OpenSoundCard(const char* playback, const char* mic, const char* line);
  int OpenDefaultDevices();
  int CloseSoundCard(unsigned char restore);
  int OpenVirtual(const char* idText);
  void ExerciseVirtual(int percent, int mute);
  int CloseVirtual();
  void GetDeviceNames();

 private:
  void Require(bool condition, const std::string& what);
  void CheckStatus(const char* name, int status, std::initializer_list<int> allowed);
  void CheckGuard(const char* name, int status, Slot slot, bool cardGuard = true);
  std::vector<std::string> violations_;
  std::vector<std::string> transcript_;
};
