// The host side of a host linked with the library and the simulated service.
#include "host_side.h"
#include "reference_cards.h"
#include "scenarios.h"
#include "state/mixer_state.h"

std::optional<bool> MixerHolds(Slot slot) {
  const void* held = nullptr;
  switch (slot) {
    case Slot::Card:
      held = Mixer.CurrentDeviceId;
      break;
    case Slot::PlaybackName:
      held = Mixer.PlaybackDeviceName;
      break;
    case Slot::PlaybackEndpointVolume:
      held = Mixer.PlaybackEndpointVolume;
      break;
    case Slot::LinePlaybackLevel:
      held = Mixer.LinePlaybackLevel;
      break;
    case Slot::LinePlaybackMute:
      held = Mixer.LinePlaybackMute;
      break;
    case Slot::MicPlaybackLevel:
      held = Mixer.MicPlaybackLevel;
      break;
    case Slot::MicPlaybackMute:
      held = Mixer.MicPlaybackMute;
      break;
    case Slot::MicEndpointVolume:
      held = Mixer.MicEndpointVolume;
      break;
    case Slot::LineEndpointVolume:
      held = Mixer.LineEndpointVolume;
      break;
    case Slot::MicBoostSwitch:
      held = Mixer.MicBoostSwitch;
      break;
    case Slot::MicBoostLevel:
      held = Mixer.MicBoostLevel;
      break;
    case Slot::LineMonitorSwitch:
      held = Mixer.LineMonitorSwitch;
      break;
    case Slot::Bass:
      held = Mixer.BassControl;
      break;
    case Slot::Treble:
      held = Mixer.TrebleControl;
      break;
    case Slot::Midrange:
      held = Mixer.MidrangeControl;
      break;
    case Slot::VirtualEndpointVolume:
      held = Mixer.VirtualEndpointVolume;
      break;
  }
  return held != nullptr;
}

void StartHostSession() {
  Mixer = MixerState{};
  sim::World::Get().Reset();
  sim::InstallReferenceMachine(sim::World::Get());
}

std::vector<std::string> PlatformProblems() { return sim::World::Get().Problems(); }
