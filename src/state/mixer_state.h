// The one process-wide record of the library: the endpoint found by the last
// lookup, the names of the opened devices, the control slots and the values
// saved while the sound card was being opened.
#pragma once

#include "VelmoraSound.h"
#include "platform/platform.h"

// Size of each device-name buffer, terminator included.
constexpr int DeviceNameSize = 255;

struct OpenSnapshot {
  float SavedMasterLevel;
  BOOL SavedMasterMute;
  float SavedLinePlaybackLevel;
  BOOL SavedLinePlaybackMute;
  float SavedMicPlaybackLevel;
  BOOL SavedMicPlaybackMute;
  float SavedBassLevel;
  float SavedTrebleLevel;
  float SavedMidrangeLevel;
  float SavedMicRecordLevel;
  BOOL SavedMicBoostEnabled;
  float SavedMicBoostLevel;
  float SavedLineRecordLevel;
  BOOL SavedLineMonitorEnabled;
};

struct MixerState {
  // Non-null exactly while a sound card counts as open; from IMMDevice::GetId.
  WCHAR* CurrentDeviceId;
  // Friendly name of the last endpoint found, on the library heap.
  char* CurrentDeviceName;

  // DeviceNameSize-byte blocks on the library heap, or null.
  char* PlaybackDeviceName;
  char* MicDeviceName;
  char* LineDeviceName;

  // Sound-card slots, each null or holding one reference.
  IAudioEndpointVolume* PlaybackEndpointVolume;
  IAudioEndpointVolume* MicEndpointVolume;
  IAudioEndpointVolume* LineEndpointVolume;
  IAudioVolumeLevel* LinePlaybackLevel;
  IAudioMute* LinePlaybackMute;
  IAudioVolumeLevel* MicPlaybackLevel;
  IAudioMute* MicPlaybackMute;
  IUnknown* MicBoostSwitch;  // IAudioAutoGainControl or IAudioLoudness, as the mark tells
  bool MicBoostSwitchIsLoudness;
  IAudioAutoGainControl* LineMonitorSwitch;
  IAudioBass* BassControl;
  IAudioTreble* TrebleControl;
  IAudioMidrange* MidrangeControl;
  IAudioVolumeLevel* MicBoostLevel;

  // The auxiliary endpoint's slot; lives apart from the sound card.
  IAudioEndpointVolume* VirtualEndpointVolume;

  OpenSnapshot Snapshot;

  // Parts examined so far by the walks of the discovery under way, and the
  // steps its inputs and connectors allow beyond the base bound.
  long long WalkStepsTaken;
  long long WalkStepAllowance;
};

extern MixerState Mixer;

// Releases the thirteen sound-card slots in their fixed order.
void ReleaseSoundCardSlots();

// Frees the names, releases the sound-card slots and the ID string: the card is
// closed. The auxiliary slot and the snapshot are left alone.
void ReleaseSoundCard();

// GetEnabled and SetEnabled on MicBoostSwitch, through the interface it holds.
inline HRESULT GetMicBoostSwitchEnabled(BOOL* enabled) {
  if (Mixer.MicBoostSwitchIsLoudness)
    return static_cast<IAudioLoudness*>(Mixer.MicBoostSwitch)->GetEnabled(enabled);
  return static_cast<IAudioAutoGainControl*>(Mixer.MicBoostSwitch)->GetEnabled(enabled);
}

inline HRESULT SetMicBoostSwitchEnabled(BOOL enabled) {
  if (Mixer.MicBoostSwitchIsLoudness)
    return static_cast<IAudioLoudness*>(Mixer.MicBoostSwitch)->SetEnabled(enabled, nullptr);
  return static_cast<IAudioAutoGainControl*>(Mixer.MicBoostSwitch)->SetEnabled(enabled, nullptr);
}

// Writes `code` through `status` unless the host passed no pointer.
inline void WriteStatus(int* status, int code) {
  if (status != nullptr) *status = code;
}
