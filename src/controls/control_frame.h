// The shape every control export shares: the card must be open (the auxiliary
// endpoint's exports skip that test), the control's slot must be held, then a
// few platform calls through the slot decide between success and failure, and
// one status code reports the outcome. Each export keeps its own return value.
#pragma once

#include "state/mixer_state.h"

enum class Outcome { Stopped, Succeeded, Failed };  // Stopped: a guard stopped it
enum class Guard { CardOpen, ControlOnly };

// `call(control)` makes the platform calls and tells whether they succeeded.
template <class Control, class Call>
Outcome RunControl(Control* control, int* status, Call call, Guard guard = Guard::CardOpen,
                   int failureStatus = StatusFailed) {
  if (guard == Guard::CardOpen && Mixer.CurrentDeviceId == nullptr) {
    WriteStatus(status, StatusNotOpen);
    return Outcome::Stopped;
  }
  if (control == nullptr) {
    WriteStatus(status, StatusNoControl);
    return Outcome::Stopped;
  }
  if (call(control)) {
    WriteStatus(status, StatusOk);
    return Outcome::Succeeded;
  }
  WriteStatus(status, failureStatus);
  return Outcome::Failed;
}

// A platform call succeeds only with exactly S_OK.
inline bool Accepted(HRESULT result) { return result == S_OK; }

// HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION), which the microphone's playback
// setters also take as success.
constexpr HRESULT InvalidFunctionResult = static_cast<HRESULT>(0x80070001u);
inline bool AcceptedByMicSetter(HRESULT result) {
  return result == S_OK || result == InvalidFunctionResult;
}
