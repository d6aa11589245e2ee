#include "control_cases.h"

#include <initializer_list>
#include <utility>

#include "VelmoraSound.h"
#include "controls/level_mapping.h"
#include "reference_cards.h"
#include "simulated_audio.h"
#include "state/endpoint_lookup.h"
#include "state/mixer_state.h"

namespace control_cases {

namespace {

// The two values each kind of setter alternates; the first differs from what
// the reference machine holds at opening, so every call is a change.
int Percent(unsigned step) { return step % 2 == 0 ? 40 : 60; }
int Switch(unsigned step) { return step % 2 == 0 ? 1 : 0; }           // starts off
int SwitchFromOn(unsigned step) { return step % 2 == 0 ? 0 : 1; }     // the gain control starts on
double Tone(unsigned step) { return step % 2 == 0 ? 6.0 : -6.0; }     // bass 3, treble -1.5, mid 0
int BoostDecibels(unsigned step) { return step % 2 == 0 ? 10 : 30; }  // starts at 20

// Where getters with several outputs write, as a host's variables would be.
struct Outputs {
  double low, high, step, tone;
  int boostLow, boostHigh, boostStep;
  char playback[256], line[256], mic[256];
} out;

int NamesStatus() {
  return out.playback[0] != 0 && out.line[0] != 0 && out.mic[0] != 0 ? StatusOk : StatusNoControl;
}

// --- the baselines' platform calls ---

int ReadEndpointVolume(IAudioEndpointVolume* endpoint) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  float level = 0.0f;
  endpoint->GetChannelVolumeLevel(0, &level);
  return DecibelsToPercent(level, top);
}

int WriteEndpointVolume(IAudioEndpointVolume* endpoint, int percent) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  UINT channels = 0;
  endpoint->GetChannelCount(&channels);
  const float level = PercentToDecibels(percent, bottom, top);
  HRESULT last = E_FAIL;
  for (UINT channel = 0; channel < channels; ++channel)
    last = endpoint->SetChannelVolumeLevel(channel, level, nullptr);
  return last;
}

int ReadEndpointMute(IAudioEndpointVolume* endpoint) {
  BOOL muted = FALSE;
  endpoint->GetMute(&muted);
  return muted;
}

int WriteEndpointMute(IAudioEndpointVolume* endpoint, BOOL mute) {
  return endpoint->SetMute(mute, nullptr);
}

int ReadRecordLevel(IAudioEndpointVolume* endpoint) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  float level = 0.0f;
  endpoint->GetMasterVolumeLevel(&level);
  return DecibelsToPercent(level, top);
}

// `lowestPercent` stands in for 0 %, as in the record setters.
int WriteRecordLevel(IAudioEndpointVolume* endpoint, int percent, int lowestPercent) {
  const int mapped = percent == 0 ? lowestPercent : percent;
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  endpoint->GetVolumeRange(&bottom, &top, &step);
  return endpoint->SetMasterVolumeLevel(PercentToDecibels(mapped, bottom, top), nullptr);
}

int ReadInputLevel(IAudioVolumeLevel* control) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  control->GetLevelRange(0, &bottom, &top, &step);
  float level = 0.0f;
  control->GetLevel(0, &level);
  return DecibelsToPercent(level, top);
}

// The line input asks for its range, then its channel count.
int WriteLineInputLevel(IAudioVolumeLevel* control, int percent) {
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  control->GetLevelRange(0, &bottom, &top, &step);
  UINT channels = 0;
  control->GetChannelCount(&channels);
  const float level = PercentToDecibels(percent, bottom, top);
  HRESULT last = E_FAIL;
  for (UINT channel = 0; channel < channels; ++channel)
    last = control->SetLevel(channel, level, nullptr);
  return last;
}

// The microphone input asks for its channel count, then its range.
int WriteMicInputLevel(IAudioVolumeLevel* control, int percent) {
  UINT channels = 0;
  control->GetChannelCount(&channels);
  float bottom = 0.0f, top = 0.0f, step = 0.0f;
  control->GetLevelRange(0, &bottom, &top, &step);
  const float level = PercentToDecibels(percent, bottom, top);
  HRESULT last = E_FAIL;
  for (UINT channel = 0; channel < channels; ++channel)
    last = control->SetLevel(channel, level, nullptr);
  return last;
}

int ReadMute(IAudioMute* control) {
  BOOL muted = FALSE;
  control->GetMute(&muted);
  return muted;
}

int WriteMute(IAudioMute* control, BOOL mute) { return control->SetMute(mute, nullptr); }

int ReadTone(IPerChannelDbLevel* control) {
  float level = 0.0f;
  const HRESULT result = control->GetLevel(0, &level);
  out.tone = level;
  return result;
}

int WriteTone(IPerChannelDbLevel* control, double decibels) {
  const float level = NearestFloat(decibels);
  UINT channels = 0;
  HRESULT last = control->GetChannelCount(&channels);
  for (UINT channel = 0; channel < channels; ++channel)
    last = control->SetLevel(channel, level, nullptr);
  return last;
}

IAudioLoudness* Loudness() { return static_cast<IAudioLoudness*>(Mixer.MicBoostSwitch); }

// --- one call of each export, reporting its status ---

template <class Export, class... Args>
int StatusOf(Export function, Args... args) {
  int status = -1;
  function(args..., &status);
  return status;
}

}  // namespace

const std::vector<ControlCase>& ControlCases() {
  static const std::vector<ControlCase> cases = {
      {"GetMasterVolume", Card::Speakers, [](unsigned) { return StatusOf(GetMasterVolume); },
       [](unsigned) { return ReadEndpointVolume(Mixer.PlaybackEndpointVolume); }},
      {"SetMasterVolume", Card::Speakers,
       [](unsigned step) { return StatusOf(SetMasterVolume, Percent(step)); },
       [](unsigned step) {
         return WriteEndpointVolume(Mixer.PlaybackEndpointVolume, Percent(step));
       }},
      {"GetMasterMute", Card::Speakers, [](unsigned) { return StatusOf(GetMasterMute); },
       [](unsigned) { return ReadEndpointMute(Mixer.PlaybackEndpointVolume); }},
      {"SetMasterMute", Card::Speakers,
       [](unsigned step) {
         return StatusOf(SetMasterMute, static_cast<unsigned char>(Switch(step)));
       },
       [](unsigned step) { return WriteEndpointMute(Mixer.PlaybackEndpointVolume, Switch(step)); }},

      {"GetLinePlayBack", Card::Speakers, [](unsigned) { return StatusOf(GetLinePlayBack); },
       [](unsigned) { return ReadInputLevel(Mixer.LinePlaybackLevel); }},
      {"SetLinePlayBack", Card::Speakers,
       [](unsigned step) { return StatusOf(SetLinePlayBack, Percent(step)); },
       [](unsigned step) { return WriteLineInputLevel(Mixer.LinePlaybackLevel, Percent(step)); }},
      {"GetLinePlayBackMute", Card::Speakers,
       [](unsigned) { return StatusOf(GetLinePlayBackMute); },
       [](unsigned) { return ReadMute(Mixer.LinePlaybackMute); }},
      {"SetLinePlayBackMute", Card::Speakers,
       [](unsigned step) { return StatusOf(SetLinePlayBackMute, Switch(step)); },
       [](unsigned step) { return WriteMute(Mixer.LinePlaybackMute, Switch(step)); }},

      {"GetMicPlayBack", Card::Speakers, [](unsigned) { return StatusOf(GetMicPlayBack); },
       [](unsigned) { return ReadInputLevel(Mixer.MicPlaybackLevel); }},
      {"SetMicPlayBack", Card::Speakers,
       [](unsigned step) { return StatusOf(SetMicPlayBack, Percent(step)); },
       [](unsigned step) { return WriteMicInputLevel(Mixer.MicPlaybackLevel, Percent(step)); }},
      {"GetMicPlayBackMute", Card::Speakers, [](unsigned) { return StatusOf(GetMicPlayBackMute); },
       [](unsigned) { return ReadMute(Mixer.MicPlaybackMute); }},
      {"SetMicPlayBackMute", Card::Speakers,
       [](unsigned step) { return StatusOf(SetMicPlayBackMute, Switch(step)); },
       [](unsigned step) { return WriteMute(Mixer.MicPlaybackMute, Switch(step)); }},

      {"GetMicRecordVolume", Card::UsbMicrophone,
       [](unsigned) { return StatusOf(GetMicRecordVolume); },
       [](unsigned) { return ReadRecordLevel(Mixer.MicEndpointVolume); }},
      {"SetMicRecordVolume", Card::UsbMicrophone,
       [](unsigned step) { return StatusOf(SetMicRecordVolume, Percent(step)); },
       [](unsigned step) { return WriteRecordLevel(Mixer.MicEndpointVolume, Percent(step), 0); }},
      {"GetLineRecordVolume", Card::LineInput,
       [](unsigned) { return StatusOf(GetLineRecordVolume); },
       [](unsigned) { return ReadRecordLevel(Mixer.LineEndpointVolume); }},
      {"SetLineRecordVolume", Card::LineInput,
       [](unsigned step) { return StatusOf(SetLineRecordVolume, Percent(step)); },
       [](unsigned step) { return WriteRecordLevel(Mixer.LineEndpointVolume, Percent(step), 1); }},

      {"GetVirtualVolume", Card::Headphones, [](unsigned) { return StatusOf(GetVirtualVolume); },
       [](unsigned) { return ReadEndpointVolume(Mixer.VirtualEndpointVolume); }},
      {"SetVirtualVolume", Card::Headphones,
       [](unsigned step) { return StatusOf(SetVirtualVolume, Percent(step)); },
       [](unsigned step) {
         return WriteEndpointVolume(Mixer.VirtualEndpointVolume, Percent(step));
       }},
      {"GetVirtualMute", Card::Headphones, [](unsigned) { return StatusOf(GetVirtualMute); },
       [](unsigned) { return ReadEndpointMute(Mixer.VirtualEndpointVolume); }},
      {"SetVirtualMute", Card::Headphones,
       [](unsigned step) { return StatusOf(SetVirtualMute, Switch(step)); },
       [](unsigned step) { return WriteEndpointMute(Mixer.VirtualEndpointVolume, Switch(step)); }},

      // The reference machine's only boost switch is the USB microphone's
      // loudness control; no microphone there has an automatic gain control
      // as its boost.
      {"GetMicBoost.loudness", Card::UsbMicrophone, [](unsigned) { return StatusOf(GetMicBoost); },
       [](unsigned) {
         BOOL enabled = FALSE;
         Loudness()->GetEnabled(&enabled);
         return static_cast<int>(enabled);
       }},
      {"SetMicBoost.loudness", Card::UsbMicrophone,
       [](unsigned step) { return StatusOf(SetMicBoost, Switch(step)); },
       [](unsigned step) {
         return static_cast<int>(Loudness()->SetEnabled(Switch(step), nullptr));
       }},

      {"GetMicSliderDetails", Card::MicArray,
       [](unsigned) {
         int status = -1;
         GetMicSliderDetails(&status, &out.boostLow, &out.boostHigh, &out.boostStep);
         return status;
       },
       [](unsigned) {
         float bottom = 0.0f, top = 0.0f, step = 0.0f;
         const HRESULT result = Mixer.MicBoostLevel->GetLevelRange(0, &bottom, &top, &step);
         out.boostLow = TruncateToInt(bottom);
         out.boostHigh = TruncateToInt(top);
         out.boostStep = TruncateToInt(step);
         return static_cast<int>(result);
       }},
      {"GetMicSliderBoost", Card::MicArray, [](unsigned) { return StatusOf(GetMicSliderBoost); },
       [](unsigned) {
         float level = 0.0f;
         Mixer.MicBoostLevel->GetLevel(0, &level);
         return TruncateToInt(level);
       }},
      {"SetMicSliderBoost", Card::MicArray,
       [](unsigned step) { return StatusOf(SetMicSliderBoost, BoostDecibels(step)); },
       [](unsigned step) {
         return static_cast<int>(
             Mixer.MicBoostLevel->SetLevel(0, static_cast<float>(BoostDecibels(step)), nullptr));
       }},

      {"GetNoMonitor", Card::LineInput, [](unsigned) { return StatusOf(GetNoMonitor); },
       [](unsigned) {
         BOOL enabled = FALSE;
         Mixer.LineMonitorSwitch->GetEnabled(&enabled);
         return static_cast<int>(enabled);
       }},
      {"SetNoMonitor", Card::LineInput,
       [](unsigned step) { return StatusOf(SetNoMonitor, SwitchFromOn(step)); },
       [](unsigned step) {
         return static_cast<int>(Mixer.LineMonitorSwitch->SetEnabled(SwitchFromOn(step), nullptr));
       }},

      // The range of the first tone control held: the bass on the reference machine.
      {"GetEQRange", Card::Speakers,
       [](unsigned) { return GetEQRange(&out.low, &out.high, &out.step); },
       [](unsigned) {
         float bottom = 0.0f, top = 0.0f, step = 0.0f;
         const HRESULT result = Mixer.BassControl->GetLevelRange(0, &bottom, &top, &step);
         out.low = bottom;
         out.high = top;
         out.step = step;
         return static_cast<int>(result);
       }},
      {"GetBass", Card::Speakers, [](unsigned) { return StatusOf(GetBass, &out.tone); },
       [](unsigned) { return ReadTone(Mixer.BassControl); }},
      {"SetBass", Card::Speakers, [](unsigned step) { return StatusOf(SetBass, Tone(step)); },
       [](unsigned step) { return WriteTone(Mixer.BassControl, Tone(step)); }},
      {"GetTreble", Card::Speakers, [](unsigned) { return StatusOf(GetTreble, &out.tone); },
       [](unsigned) { return ReadTone(Mixer.TrebleControl); }},
      {"SetTreble", Card::Speakers, [](unsigned step) { return StatusOf(SetTreble, Tone(step)); },
       [](unsigned step) { return WriteTone(Mixer.TrebleControl, Tone(step)); }},
      {"GetMidRange", Card::Speakers, [](unsigned) { return StatusOf(GetMidRange, &out.tone); },
       [](unsigned) { return ReadTone(Mixer.MidrangeControl); }},
      {"SetMidRange", Card::Speakers,
       [](unsigned step) { return StatusOf(SetMidRange, Tone(step)); },
       [](unsigned step) { return WriteTone(Mixer.MidrangeControl, Tone(step)); }},

      // No platform calls: the names kept at opening are copied out.
      {"GetDeviceNames", Card::WholeCard,
       [](unsigned) {
         GetDeviceNames(out.playback, out.line, out.mic);
         return NamesStatus();
       },
       [](unsigned) {
         CopyNameOut(out.playback, Mixer.PlaybackDeviceName);
         CopyNameOut(out.line, Mixer.LineDeviceName);
         CopyNameOut(out.mic, Mixer.MicDeviceName);
         return NamesStatus();
       }},
  };
  return cases;
}

namespace {

struct Slot {
  const void* held;
  const char* name;
};

// Empty when every slot is held, else the first one missing.
std::string Missing(std::initializer_list<Slot> slots) {
  for (const Slot& slot : slots)
    if (slot.held == nullptr) return std::string("no ") + slot.name + " was found";
  return {};
}

std::string Opened(int result, const char* what) {
  if (result == 0) return {};
  return std::string(what) + " returned " + std::to_string(result);
}

}  // namespace

std::string OpenCard(Card card, CallLog log) {
  Mixer = MixerState{};
  sim::World& world = sim::World::Get();
  world.Reset();
  sim::InstallReferenceMachine(world);
  if (log == CallLog::Off) world.SetRecording(false);

  std::string problem;
  switch (card) {
    case Card::Speakers:
      problem = Opened(OpenSoundCard(sim::reference_ids::Speakers, "", ""),
                       "OpenSoundCard of the speakers");
      if (problem.empty())
        problem = Missing({{Mixer.PlaybackEndpointVolume, "master volume"},
                           {Mixer.LinePlaybackLevel, "line input level"},
                           {Mixer.LinePlaybackMute, "line input mute"},
                           {Mixer.MicPlaybackLevel, "microphone input level"},
                           {Mixer.MicPlaybackMute, "microphone input mute"},
                           {Mixer.BassControl, "bass control"},
                           {Mixer.TrebleControl, "treble control"},
                           {Mixer.MidrangeControl, "midrange control"}});
      break;
    case Card::UsbMicrophone:
      problem = Opened(OpenSoundCard("", sim::reference_ids::UsbMicrophone, ""),
                       "OpenSoundCard of the USB microphone");
      if (problem.empty())
        problem = Missing({{Mixer.MicEndpointVolume, "microphone record level"},
                           {Mixer.MicBoostSwitch, "microphone boost switch"}});
      if (problem.empty() && !Mixer.MicBoostSwitchIsLoudness)
        problem = "the USB microphone's boost switch is not a loudness control";
      break;
    case Card::MicArray:
      problem = Opened(OpenSoundCard("", sim::reference_ids::MicArray, ""),
                       "OpenSoundCard of the microphone array");
      if (problem.empty()) problem = Missing({{Mixer.MicBoostLevel, "microphone boost level"}});
      break;
    case Card::LineInput:
      problem = Opened(OpenSoundCard("", "", sim::reference_ids::LineInput),
                       "OpenSoundCard of the line input");
      if (problem.empty())
        problem = Missing({{Mixer.LineEndpointVolume, "line record level"},
                           {Mixer.LineMonitorSwitch, "line monitor switch"}});
      break;
    case Card::WholeCard:
      problem =
          Opened(OpenSoundCard(sim::reference_ids::Speakers, sim::reference_ids::UsbMicrophone,
                               sim::reference_ids::LineInput),
                 "OpenSoundCard of the whole card");
      break;
    case Card::Headphones:
      problem =
          Opened(OpenVirtual_1(sim::reference_ids::Headphones), "OpenVirtual_1 of the headphones");
      if (problem.empty())
        problem = Missing({{Mixer.VirtualEndpointVolume, "auxiliary endpoint volume"}});
      break;
  }
  return problem;
}

void CloseCard() {
  CloseVirtual_1();
  // Also ends what the auxiliary endpoint's lookup leaves counting as an open card.
  CloseSoundCard(0);
}

}  // namespace control_cases
