#include "topology/part_search.h"

#include "state/mixer_state.h"

bool MatchPartName(IPart* part, KeywordList keywords) {
  CoTaskMemText name;
  if (part->GetName(name.put()) != S_OK || !name) return false;
  LowerAsciiInPlace(name.get());
  for (const char* keyword : keywords) {
    // The keyword in the ANSI code page, its terminator included.
    WCHAR wide[8];
    const int length = lstrlenA(keyword) + 1;
    if (MultiByteToWideChar(CP_ACP, 0, keyword, length, wide, 8) == 0) continue;
    if (FindWideText(name.get(), wide) != nullptr) return true;
  }
  return false;
}

int FindUpstreamVolumeLevel(IPartsList* list, IAudioVolumeLevel*& slot) {
  const bool found = WalkUpstream(list, [&slot](IPart* part) {
    return ActivateControl(part, __uuidof(IAudioVolumeLevel), slot);
  });
  return found ? 0 : 1;
}

namespace {
bool NamedLikeABoost(IPart* part) { return MatchPartName(part, part_keywords::Boost); }
}  // namespace

int FindBoostSwitch(IPartsList* list) {
  const bool found = SearchDownstream(list, [](IPart* part) {
    if (!NamedLikeABoost(part)) return false;
    if (ActivateControl(part, __uuidof(IAudioAutoGainControl), Mixer.MicBoostSwitch)) {
      Mixer.MicBoostSwitchIsLoudness = false;
      return true;
    }
    if (ActivateControl(part, __uuidof(IAudioLoudness), Mixer.MicBoostSwitch)) {
      Mixer.MicBoostSwitchIsLoudness = true;
      return true;
    }
    return false;
  });
  return found ? 0 : 1;
}

int FindBoostLevel(IPartsList* list) {
  const bool found = SearchDownstream(list, [](IPart* part) {
    return NamedLikeABoost(part) &&
           ActivateControl(part, __uuidof(IAudioVolumeLevel), Mixer.MicBoostLevel);
  });
  return found ? 0 : 1;
}
