// The playback device: its master volume and mute, the tone controls on the
// chain of single-input parts behind its connector, and the line and
// microphone inputs of the first part with several inputs.
#include "state/mixer_state.h"
#include "topology/adapter_walk.h"
#include "topology/discovery.h"
#include "topology/part_search.h"

namespace {

// A tone slot is filled only while it is empty: the part nearest the endpoint wins.
template <class Control>
void FindToneControl(IPart* part, Control*& slot, float& saved) {
  if (slot == nullptr && ActivateControl(part, __uuidof(Control), slot))
    slot->GetLevel(0, &saved);  // not examined
}

struct PlaybackInput {
  KeywordList keywords;
  IAudioVolumeLevel*& level;
  IAudioMute*& mute;
  float& savedLevel;
  BOOL& savedMute;
  bool levelReadDecides;  // the line's level must read; the microphone's need not
};

// Takes `input` as the line or microphone input when a part upstream of it is
// named so and a volume level lies on that chain. True when it was taken.
bool TakeInput(IPart* input, IPartsList* upstream, const PlaybackInput& kind) {
  const bool named =
      WalkUpstream(upstream, [&kind](IPart* part) { return MatchPartName(part, kind.keywords); });
  if (!named) return false;
  // The search starts again at the input's first upstream part: the level taken
  // is the nearest to the input, below or above the part that was named.
  if (FindUpstreamVolumeLevel(upstream, kind.level) != 0) return false;
  const HRESULT read = kind.level->GetLevel(0, &kind.savedLevel);
  if (kind.levelReadDecides && read != S_OK) return false;
  if (ActivateControl(input, __uuidof(IAudioMute), kind.mute))
    kind.mute->GetMute(&kind.savedMute);  // not examined
  return true;
}

}  // namespace

int DiscoverPlaybackTopology(const char* idText) {
  StartDiscoveryWalks();
  ComPtr<IDeviceTopology> topology;
  if (!ActivateEndpoint(idText, eRender, Mixer.PlaybackEndpointVolume, topology)) return 1;
  OpenSnapshot& saved = Mixer.Snapshot;
  if (Mixer.PlaybackEndpointVolume->GetMasterVolumeLevel(&saved.SavedMasterLevel) != S_OK) return 1;
  if (Mixer.PlaybackEndpointVolume->GetMute(&saved.SavedMasterMute) != S_OK) return 1;

  ComPtr<IPartsList> list;
  {
    ComPtr<IPart> adapterPart;
    if (!ReachAdapterConnectorPart(topology, adapterPart)) return 1;
    if (adapterPart->EnumPartsIncoming(list.put()) != S_OK) return 1;
  }
  UINT count = 0;
  list->GetCount(&count);  // not examined: without a count there is no input

  // Up the chain of parts with exactly one incoming part, looking for tone controls.
  for (int step = 0; count == 1; ++step) {
    if (step == MaxWalkSteps || !TakeWalkStep()) return 1;  // as a part without incoming parts
    ComPtr<IPart> part;
    if (list->GetPart(0, part.put()) != S_OK) return 1;
    list.reset();
    if (part->EnumPartsIncoming(list.put()) != S_OK) return 1;
    FindToneControl(part.get(), Mixer.BassControl, saved.SavedBassLevel);
    FindToneControl(part.get(), Mixer.TrebleControl, saved.SavedTrebleLevel);
    FindToneControl(part.get(), Mixer.MidrangeControl, saved.SavedMidrangeLevel);
    if (list->GetCount(&count) != S_OK) return 1;
  }

  // `list` is now the branch part's incoming list: the inputs.
  AllowWalkStepsFor(count);
  const PlaybackInput line{part_keywords::LineInput,    Mixer.LinePlaybackLevel,
                           Mixer.LinePlaybackMute,      saved.SavedLinePlaybackLevel,
                           saved.SavedLinePlaybackMute, true};
  const PlaybackInput mic{part_keywords::MicInput,    Mixer.MicPlaybackLevel,
                          Mixer.MicPlaybackMute,      saved.SavedMicPlaybackLevel,
                          saved.SavedMicPlaybackMute, false};
  bool lineFound = false;
  bool micFound = false;
  for (UINT index = 0; index < count; ++index) {
    ComPtr<IPart> input;
    if (list->GetPart(index, input.put()) != S_OK) return 1;
    ComPtr<IPartsList> upstream;
    if (input->EnumPartsIncoming(upstream.put()) != S_OK) continue;
    if (!lineFound) lineFound = TakeInput(input.get(), upstream.get(), line);
    if (!micFound) micFound = TakeInput(input.get(), upstream.get(), mic);
  }
  return 0;
}
