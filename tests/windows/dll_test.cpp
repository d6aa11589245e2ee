// Loads VelmoraSound.dll as a host would and checks its interface: every
// export by name and by ordinal, the stack after every call (32-bit), the IIDs
// the library was built with, and host scenarios against the platform's own
// Core Audio service (Wine's, when run under Wine). Prints "N passed, N failed".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "VelmoraSound.h"
#include "documented_ids.h"
#include "platform/platform.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool condition, const std::string& what) {
  if (condition) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

template <class T>
void CheckEqual(T actual, T expected, const std::string& what) {
  Check(actual == expected,
        what + " (got " + std::to_string(actual) + ", expected " + std::to_string(expected) + ")");
}

HMODULE library = nullptr;

struct ExportEntry {
  const char* name;
  int ordinal;
};
const ExportEntry kExports[] = {
    {"GetMasterVolume", 1},
    {"SetMasterVolume", 2},
    {"GetMasterMute", 3},
    {"SetMasterMute", 4},
    {"OpenSoundCard", 5},
    {"CloseSoundCard", 6},
    {"SetLinePlayBack", 7},
    {"SetLinePlayBackMute", 8},
    {"GetLinePlayBackMute", 9},
    {"SetMicPlayBack", 10},
    {"SetMicPlayBackMute", 11},
    {"GetMicPlayBackMute", 12},
    {"SetMicBoost", 13},
    {"GetMicBoost", 14},
    {"GetNoMonitor", 15},
    {"SetNoMonitor", 16},
    {"GetLinePlayBack", 17},
    {"GetMicPlayBack", 18},
    {"GetEQRange", 19},
    {"SetBass", 20},
    {"GetBass", 21},
    {"SetTreble", 22},
    {"GetTreble", 23},
    {"SetMidRange", 24},
    {"GetMidRange", 25},
    {"GetMicRecordVolume", 26},
    {"SetMicRecordVolume", 27},
    {"GetLineRecordVolume", 28},
    {"SetLineRecordVolume", 29},
    {"OpenDefaultDevices", 30},
    {"GetDeviceNames", 31},
    {"GetNumberPlayDevices", 32},
    {"GetNumberRecordDevices", 33},
    {"GetPlayBackDevice", 34},
    {"GetRecordDevice", 35},
    {"OpenVirtual_1", 36},
    {"CloseVirtual_1", 37},
    {"GetVirtualVolume", 38},
    {"SetVirtualVolume", 39},
    {"SetVirtualMute", 40},
    {"GetVirtualMute", 41},
    {"GetMicSliderBoost", 42},
    {"GetMicSliderDetails", 43},
    {"SetMicSliderBoost", 44},
};

FARPROC ByName(const char* name) { return GetProcAddress(library, name); }

// The export as the header declares it.
template <class Function>
Function* Resolve(Function*, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(ByName(name)));
}
#define EXPORT(function) Resolve(&function, #function)

// Calls through the typed pointer; on 32-bit x86 the callee pops its arguments,
// so a wrong argument size shows as a moved stack pointer.
template <class Function, class... Arguments>
auto CallChecked(const char* name, Function* function, Arguments... arguments) {
#if defined(__i386__) && defined(__GNUC__)
  struct StackCheck {
    const char* name;
    unsigned long before = 0;
    explicit StackCheck(const char* export_name) : name(export_name) {
      asm volatile("movl %%esp, %0" : "=r"(before));
    }
    ~StackCheck() {
      unsigned long after = 0;
      asm volatile("movl %%esp, %0" : "=r"(after));
      Check(before == after, std::string("stack pointer unchanged after ") + name);
    }
  } check(name);
#else
  (void)name;
#endif
  return function(arguments...);
}
#define CALL(function, ...) CallChecked(#function, EXPORT(function), __VA_ARGS__)
#define CALL0(function) CallChecked(#function, EXPORT(function))

// COM must be back where the host had it: a thread with nothing initialised can
// still enter the multithreaded apartment.
void CheckComBalanced(const char* after) {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  Check(hr == S_OK, std::string("COM left as it was after ") + after);
  if (SUCCEEDED(hr)) CoUninitialize();
}

void ExportsResolveByNameAndOrdinal() {
  for (const ExportEntry& entry : kExports) {
    FARPROC byName = ByName(entry.name);
    FARPROC byOrdinal = GetProcAddress(library, MAKEINTRESOURCEA(entry.ordinal));
    Check(byName != nullptr, std::string(entry.name) + " exported by name");
    Check(byName == byOrdinal,
          std::string(entry.name) + " is ordinal " + std::to_string(entry.ordinal));
  }
  Check(GetProcAddress(library, MAKEINTRESOURCEA(45)) == nullptr, "no ordinal 45");
}

// The IDs the library asks the platform for, as this toolchain's headers and
// the platform layer's corrections give them, against the documented values.
void InterfaceIdsAreTheDocumentedOnes() {
  for (const DocumentedId& entry : DocumentedIds())
    Check(GuidText(entry.id) == entry.documented, std::string("IID ") + entry.documented);
}

// Every export once, through its declared type, before any card is open.
void EveryExportKeepsTheStack() {
  int status = -1, a = 0, b = 0, c = 0;
  double x = 0, y = 0, z = 0;
  unsigned int count = 0;
  char name[256] = {}, id[256] = {}, third[256] = {};
  CheckEqual(CALL(GetMasterVolume, &status), 0, "GetMasterVolume with no card");
  CheckEqual(status, static_cast<int>(StatusNotOpen), "GetMasterVolume status");
  CALL(SetMasterVolume, 50, &status);
  CALL(GetMasterMute, &status);
  CALL(SetMasterMute, static_cast<unsigned char>(1), &status);
  CALL(SetLinePlayBack, 50, &status);
  CALL(SetLinePlayBackMute, 1, &status);
  CALL(GetLinePlayBackMute, &status);
  CALL(SetMicPlayBack, 50, &status);
  CALL(SetMicPlayBackMute, 1, &status);
  CALL(GetMicPlayBackMute, &status);
  CALL(SetMicBoost, 1, &status);
  CALL(GetMicBoost, &status);
  CALL(GetNoMonitor, &status);
  CALL(SetNoMonitor, 1, &status);
  CALL(GetLinePlayBack, &status);
  CALL(GetMicPlayBack, &status);
  CheckEqual(CALL(GetEQRange, &x, &y, &z), static_cast<int>(StatusNotOpen), "GetEQRange");
  CALL(SetBass, 1.5, &status);
  CALL(GetBass, &x, &status);
  CALL(SetTreble, 1.5, &status);
  CALL(GetTreble, &x, &status);
  CheckEqual(CALL(SetMidRange, 1.5, &status), 1, "SetMidRange");
  CALL(GetMidRange, &x, &status);
  CALL(GetMicRecordVolume, &status);
  CALL(SetMicRecordVolume, 50, &status);
  CALL(GetLineRecordVolume, &status);
  CALL(SetLineRecordVolume, 50, &status);
  CALL(GetMicSliderBoost, &status);
  CALL(GetMicSliderDetails, &status, &a, &b, &c);
  CALL(SetMicSliderBoost, 10, &status);
  CALL(GetVirtualVolume, &status);
  CheckEqual(status, static_cast<int>(StatusNoControl), "GetVirtualVolume status");
  CALL(SetVirtualVolume, 50, &status);
  CALL(GetVirtualMute, &status);
  CALL(SetVirtualMute, 1, &status);
  CALL(GetNumberPlayDevices, &count);
  CALL(GetNumberRecordDevices, &count);
  CALL(GetPlayBackDevice, 0u, name, id);
  CALL(GetRecordDevice, 0u, name, id);
  CALL(OpenVirtual_1, "no such endpoint");
  CALL0(CloseVirtual_1);
  CheckEqual(CALL(OpenSoundCard, "", "", ""), 0, "OpenSoundCard with three empty texts");
  CALL(GetDeviceNames, name, id, third);
  CALL(CloseSoundCard, static_cast<unsigned char>(0));
  CALL0(OpenDefaultDevices);
  CALL(CloseSoundCard, static_cast<unsigned char>(0));
  CheckComBalanced("every export");
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return text;
}
std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

// Scenarios against the platform's own service. Its answers on Wine 8: one
// playback and one capture endpoint; no IDeviceTopology; each endpoint-volume
// activation a fresh object (0 dB, unmuted) keeping its own master level and
// mute; per-channel calls and GetChannelCount E_NOTIMPL; S_FALSE for a mute
// that does not change; master levels outside -100 to 0 dB refused.
void HostScenarios() {
  unsigned int playCount = 0, recordCount = 0;
  CheckEqual(CALL(GetNumberPlayDevices, &playCount), 0, "GetNumberPlayDevices");
  CheckEqual(CALL(GetNumberRecordDevices, &recordCount), 0, "GetNumberRecordDevices");
  Check(playCount >= 1 && recordCount >= 1, "the service lists a playback and a capture endpoint");
  if (playCount == 0 || recordCount == 0) return;
  char playName[256] = {}, playId[256] = {}, recordName[256] = {}, recordId[256] = {};
  CheckEqual(CALL(GetPlayBackDevice, 0, playName, playId), 0, "GetPlayBackDevice(0)");
  CheckEqual(CALL(GetRecordDevice, 0, recordName, recordId), 0, "GetRecordDevice(0)");
  Check(std::strlen(playId) > 0 && std::strlen(playName) > 0, "playback name and ID");
  char untouched[256];
  std::memset(untouched, 'Z', sizeof untouched);
  CheckEqual(CALL(GetPlayBackDevice, playCount, untouched, untouched), -1,
             "playback index out of range");
  CheckEqual(CALL(GetRecordDevice, recordCount, untouched, untouched),
             static_cast<int>(recordCount), "record index out of range");
  Check(untouched[0] == 'Z', "nothing written for an index out of range");
  CheckComBalanced("enumeration");

  // The auxiliary endpoint, found by its ID in either case. Without a topology
  // the opening reports 1 but keeps the endpoint volume.
  int status = -1;
  CheckEqual(CALL(OpenVirtual_1, Upper(playId).c_str()), 1, "OpenVirtual_1 without a topology");
  CheckEqual(CALL(SetVirtualMute, 1, &status), 0, "SetVirtualMute");
  CheckEqual(status, static_cast<int>(StatusOk), "SetVirtualMute status");
  CheckEqual(CALL(GetVirtualMute, &status), 1, "GetVirtualMute");
  CALL(SetVirtualMute, 1, &status);  // unchanged: the platform answers S_FALSE
  CheckEqual(status, static_cast<int>(StatusNoControl), "an unchanged mute reports no control");
  CheckEqual(CALL(SetVirtualVolume, 50, &status), 50, "SetVirtualVolume echoes");
  CheckEqual(status, static_cast<int>(StatusFailed), "no channel count: failed");
  CheckEqual(CALL(GetVirtualVolume, &status), 0, "GetVirtualVolume");
  CheckEqual(status, static_cast<int>(StatusFailed), "per-channel read refused: failed");
  CheckEqual(CALL(OpenVirtual_1, Lower(playId).c_str()), 1, "OpenVirtual_1 in lower case");
  CheckEqual(CALL(GetVirtualMute, &status), 0, "a new activation starts unmuted");
  CheckEqual(CALL(OpenVirtual_1, "no such endpoint"), 1, "OpenVirtual_1 with no match");
  CALL(GetVirtualVolume, &status);
  CheckEqual(status, static_cast<int>(StatusNoControl), "the old endpoint was let go");
  CheckComBalanced("the auxiliary endpoint");

  // The sound card: every part fails without a topology, yet the endpoint
  // volumes activated on the way stay usable.
  CheckEqual(CALL(OpenSoundCard, "no such endpoint", "", ""), 1, "playback part failed");
  CheckEqual(CALL(OpenSoundCard, playId, recordId, recordId), 4, "three parts without topology");
  CheckEqual(CALL(GetMasterMute, &status), 0, "GetMasterMute");
  CheckEqual(status, static_cast<int>(StatusOk), "GetMasterMute status");
  CALL(SetMasterMute, static_cast<unsigned char>(1), &status);
  CheckEqual(status, static_cast<int>(StatusOk), "SetMasterMute");
  CheckEqual(CALL(GetMasterMute, &status), 1, "master muted");
  CheckEqual(CALL(SetMasterVolume, 40, &status), 40, "SetMasterVolume echoes");
  CheckEqual(status, static_cast<int>(StatusFailed), "no channel count: failed");
  CheckEqual(CALL(SetLineRecordVolume, 50, &status), 50, "SetLineRecordVolume");
  CheckEqual(status, static_cast<int>(StatusOk), "SetLineRecordVolume status");
  CheckEqual(CALL(GetLineRecordVolume, &status), 50, "GetLineRecordVolume reads back");
  CheckEqual(CALL(GetMicRecordVolume, &status), 100,
             "the microphone's own object is still at 0 dB");
  CheckEqual(CALL(SetMicRecordVolume, 200, &status), 200, "SetMicRecordVolume echoes");
  CheckEqual(status, static_cast<int>(StatusFailed), "+6 dB refused");
  CheckEqual(CALL(SetLineRecordVolume, 0, &status), 0, "SetLineRecordVolume(0)");
  CheckEqual(CALL(GetLineRecordVolume, &status), 1, "0 % is taken as 1 %");
  CheckComBalanced("the sound card");

  // Closing with and without the restore.
  CheckEqual(CALL(CloseSoundCard, static_cast<unsigned char>(1)), 0, "CloseSoundCard(1)");
  CALL(GetMasterVolume, &status);
  CheckEqual(status, static_cast<int>(StatusNotOpen), "closed");
  CheckEqual(CALL(CloseSoundCard, static_cast<unsigned char>(1)), 0,
             "CloseSoundCard(1) with nothing open");
  CheckEqual(CALL(OpenSoundCard, "", playId, ""), 3, "microphone part failed");
  CheckEqual(CALL(CloseSoundCard, static_cast<unsigned char>(0)), 0, "CloseSoundCard(0)");
  CheckComBalanced("closing");

  // The default devices: the capture device's name decides how it is opened;
  // both discoveries fail without a topology, so only the playback name is set.
  CheckEqual(CALL0(OpenDefaultDevices), 0, "OpenDefaultDevices");
  char names[3][256];
  std::memset(names, 'Z', sizeof names);
  for (char* text : names) text[255] = 0;
  CALL(GetDeviceNames, names[0], names[1], names[2]);
  Check(std::string(names[0]) == playName, "the default playback device's name");
  const bool microphone = Upper(recordName).find("MIC") != std::string::npos;
  Check(names[microphone ? 2 : 1][0] == 'Z', "no capture name without a discovery");
  CheckEqual(CALL(CloseSoundCard, static_cast<unsigned char>(1)), 0,
             "CloseSoundCard after the defaults");
  CheckComBalanced("the default devices");
}

DWORD WINAPI MultithreadedHost(void*) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  unsigned int count = 0;
  CheckEqual(CALL(GetNumberPlayDevices, &count), 0, "counting on a multithreaded host thread");
  // The host's initialisation is still in place: initialising again answers S_FALSE.
  const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  Check(again == S_FALSE, "the host's multithreaded apartment stays");
  CoUninitialize();
  CoUninitialize();
  return 0;
}

}  // namespace

int main() {
  library = LoadLibraryA("VelmoraSound.dll");
  if (library == nullptr) {
    std::printf("VelmoraSound.dll not found\n0 passed, 1 failed\n");
    return 1;
  }
  ExportsResolveByNameAndOrdinal();
  InterfaceIdsAreTheDocumentedOnes();
  EveryExportKeepsTheStack();
  HostScenarios();
  HANDLE thread = CreateThread(nullptr, 0, MultithreadedHost, nullptr, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
