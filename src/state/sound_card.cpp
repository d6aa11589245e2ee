// Opening and closing the sound card of up to three devices, and the names of
// the devices opened.
#include <cstring>

#include "enhancements/restore.h"
#include "state/endpoint_lookup.h"
#include "state/mixer_state.h"
#include "topology/discovery.h"

namespace {

// Replaces a name buffer with a copy of CurrentDeviceName (an empty name when
// there is none), cut so that it always ends with a zero. False, with the old
// buffer kept, when memory runs out.
bool FillNameBuffer(char*& buffer) {
  auto* block = static_cast<char*>(LibraryMalloc(DeviceNameSize));
  if (block == nullptr) return false;
  std::memset(block, 0, DeviceNameSize);
  if (Mixer.CurrentDeviceName != nullptr)
    std::strncpy(block, Mixer.CurrentDeviceName, DeviceNameSize - 1);
  LibraryFree(buffer);
  buffer = block;
  return true;
}

// Runs one part of the opening; the part's code when it failed, else 0.
int OpenPart(const char* idText, int (*discover)(const char*), char*& nameBuffer, int code) {
  if (idText == nullptr || idText[0] == 0) return 0;  // skipped
  if (discover(idText) != 0 || !FillNameBuffer(nameBuffer)) return code;
  return 0;
}

// The default endpoint's ID as narrow text, each unit taken as one byte as the
// C runtime's wcstombs does in the C locale, cut at DeviceNameSize - 1 bytes.
// False when there is no default endpoint or its ID is empty or not such text.
bool DefaultEndpointIdText(IMMDeviceEnumerator* enumerator, EDataFlow flow,
                           char (&text)[DeviceNameSize]) {
  ComPtr<IMMDevice> device;
  if (enumerator->GetDefaultAudioEndpoint(flow, eConsole, device.put()) != S_OK) return false;
  CoTaskMemText id;
  if (device->GetId(id.put()) != S_OK) return false;
  for (int i = 0; i < DeviceNameSize - 1 && id.get()[i] != 0; ++i) {
    if (id.get()[i] > 0xFF) return false;
    text[i] = static_cast<char>(id.get()[i]);
  }
  return text[0] != 0;  // an empty text would match any endpoint
}

}  // namespace

extern "C" {

int VELMORA_API OpenSoundCard(const char* playbackIdText, const char* micIdText,
                              const char* lineIdText) {
  ReleaseSoundCardSlots();
  int result = 0;
  result ^= OpenPart(playbackIdText, DiscoverPlaybackTopology, Mixer.PlaybackDeviceName, 1);
  result ^= OpenPart(micIdText, DiscoverMicTopology, Mixer.MicDeviceName, 3);
  result ^= OpenPart(lineIdText, DiscoverLineTopology, Mixer.LineDeviceName, 6);
  return result;
}

int VELMORA_API OpenDefaultDevices(void) {
  char playbackId[DeviceNameSize] = {};
  char captureId[DeviceNameSize] = {};
  bool havePlayback = false;
  bool haveCapture = false;
  {
    ComApartment com;
    ComPtr<IMMDeviceEnumerator> enumerator;
    if (CreateDeviceEnumerator(enumerator) == S_OK) {
      havePlayback = DefaultEndpointIdText(enumerator.get(), eRender, playbackId);
      haveCapture = DefaultEndpointIdText(enumerator.get(), eCapture, captureId);
    }
  }

  // A missing default skips its part: an empty text would match any endpoint.
  if (havePlayback) {
    DiscoverPlaybackTopology(playbackId);  // not examined
    // With no lookup ever successful there is no name to copy, and a name held
    // while the card is closed could never be freed.
    if (Mixer.CurrentDeviceId != nullptr) FillNameBuffer(Mixer.PlaybackDeviceName);
  }
  if (!haveCapture || FindEndpointById(captureId, eCapture) != 0) return 1;

  // The capture device is the microphone when its name says so and its
  // discovery succeeds; otherwise it is tried as the line input.
  UpperAsciiInPlace(Mixer.CurrentDeviceName);
  const bool namedMic = std::strstr(Mixer.CurrentDeviceName, "MIC") != nullptr;
  if (namedMic && DiscoverMicTopology(captureId) == 0) {
    FillNameBuffer(Mixer.MicDeviceName);
  } else if (DiscoverLineTopology(captureId) == 0) {
    FillNameBuffer(Mixer.LineDeviceName);
  }
  return havePlayback ? 0 : 1;
}

int VELMORA_API CloseSoundCard(unsigned char restore) {
  if (Mixer.CurrentDeviceId == nullptr) return 0;
  if (restore != 0) RestoreOpenSnapshot();
  ReleaseSoundCard();
  return 0;
}

void VELMORA_API GetDeviceNames(char* playbackName, char* lineName, char* micName) {
  if (Mixer.PlaybackDeviceName != nullptr) CopyNameOut(playbackName, Mixer.PlaybackDeviceName);
  if (Mixer.LineDeviceName != nullptr) CopyNameOut(lineName, Mixer.LineDeviceName);
  if (Mixer.MicDeviceName != nullptr) CopyNameOut(micName, Mixer.MicDeviceName);
}

}  // extern "C"
