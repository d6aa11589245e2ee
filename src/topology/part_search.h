// Telling a card's controls apart in its hardware topology: by keywords in the
// driver's part names and by position along the upstream chain or downstream.
#pragma once

#include <initializer_list>

#include "platform/platform.h"
#include "state/mixer_state.h"
#include "topology/part_keywords.h"

// Bounds on the parts a walk examines, so that a topology with cycles cannot
// hang a discovery: each walk stops after MaxWalkSteps parts, and all the
// walks of one discovery together after BaseDiscoverySteps parts plus
// StepsPerListedPart for each input or connector the discovery goes through.
// The bound grows with the card, so a large card is walked in full, but not
// with its cycles. Real topologies are a few dozen parts deep and need a few
// hundred steps in all. Reaching a bound ends the walk as a part without
// further links would.
constexpr int MaxWalkSteps = 256;
constexpr long long BaseDiscoverySteps = 4096;
constexpr long long StepsPerListedPart = 16;

// Starts the count of a discovery's walks.
inline void StartDiscoveryWalks() {
  Mixer.WalkStepsTaken = 0;
  Mixer.WalkStepAllowance = 0;
}

// Allows the walks more steps for `listed` inputs or connectors to go through.
inline void AllowWalkStepsFor(UINT listed) {
  Mixer.WalkStepAllowance += StepsPerListedPart * listed;
}

// Counts one part examined against the discovery's bound; false once it is spent.
inline bool TakeWalkStep() {
  return Mixer.WalkStepsTaken++ < BaseDiscoverySteps + Mixer.WalkStepAllowance;
}

// True when one of `keywords` (lower-case, narrow) occurs in the part's name,
// whose letters A-Z alone are folded to lower case. A name that cannot be read
// matches nothing.
bool MatchPartName(IPart* part, KeywordList keywords);
inline bool MatchPartName(IPart* part, std::initializer_list<const char*> keywords) {
  return MatchPartName(part, KeywordList(keywords.begin(), keywords.size()));
}

// Activates `iid` on `part` into `slot`, releasing what the slot held first.
// True on S_OK; otherwise the slot is left empty.
template <class Slot>
bool ActivateControl(IPart* part, REFIID iid, Slot*& slot) {
  ReleaseSlot(slot);
  if (part->Activate(CLSCTX_ALL, iid, reinterpret_cast<void**>(&slot)) == S_OK) return true;
  ReleaseSlot(slot);  // a success code other than S_OK may still have delivered one
  return false;
}

// Walks the upstream chain of `list`: its first part, then the first part of
// that part's incoming list, and so on, until `visit(part)` returns true (the
// result is then true) or the chain ends.
template <class Visit>
bool WalkUpstream(IPartsList* list, Visit visit) {
  ComPtr<IPartsList> held;  // every list after the caller's
  IPartsList* current = list;
  for (int step = 0; step < MaxWalkSteps && TakeWalkStep(); ++step) {
    ComPtr<IPart> part;
    if (current->GetPart(0, part.put()) != S_OK) return false;
    if (visit(part.get())) return true;
    ComPtr<IPartsList> next;
    if (part->EnumPartsIncoming(next.put()) != S_OK) return false;
    held = std::move(next);
    current = held.get();
  }
  return false;
}

// Examines the parts of `list` in index order, then those of the outgoing list
// of its last part, and so on, until `take(part)` returns true (the result is
// then true) or the search ends. A part that cannot be fetched is passed over.
template <class Take>
bool SearchDownstream(IPartsList* list, Take take) {
  ComPtr<IPartsList> held;  // every list after the caller's
  IPartsList* current = list;
  int examined = 0;  // each part examined is one step of the walk
  while (examined < MaxWalkSteps) {
    UINT count = 0;
    if (current->GetCount(&count) != S_OK || count == 0) return false;
    ComPtr<IPart> last;
    for (UINT index = 0; index < count; ++index) {
      if (examined++ == MaxWalkSteps || !TakeWalkStep()) return false;
      ComPtr<IPart> part;
      if (current->GetPart(index, part.put()) != S_OK) continue;
      if (take(part.get())) return true;
      if (index == count - 1) last = std::move(part);
    }
    if (!last) return false;
    ComPtr<IPartsList> next;
    if (last->EnumPartsOutgoing(next.put()) != S_OK) return false;
    held = std::move(next);
    current = held.get();
  }
  return false;
}

// 0 when the nearest part on the upstream chain of `list` offers
// IAudioVolumeLevel, now in `slot`; 1 otherwise, with `slot` empty.
int FindUpstreamVolumeLevel(IPartsList* list, IAudioVolumeLevel*& slot);
// 0 when a part downstream of `list` named like a boost offers an automatic
// gain control or a loudness switch, now in MicBoostSwitch; 1 otherwise.
int FindBoostSwitch(IPartsList* list);
// 0 when a part downstream of `list` named like a boost offers
// IAudioVolumeLevel, now in MicBoostLevel; 1 otherwise.
int FindBoostLevel(IPartsList* list);
