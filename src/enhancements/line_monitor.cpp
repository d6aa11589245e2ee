// The line input's automatic gain control, which the interface calls its
// monitor switch. The state passes through unchanged in both directions.
#include "controls/control_frame.h"

extern "C" {

int VELMORA_API GetNoMonitor(int* status) {
  BOOL enabled = FALSE;
  const Outcome outcome = RunControl(
      Mixer.LineMonitorSwitch, status,
      [&enabled](IAudioAutoGainControl* gain) { return Accepted(gain->GetEnabled(&enabled)); });
  return outcome == Outcome::Succeeded ? enabled : 0;
}

int VELMORA_API SetNoMonitor(int enabled, int* status) {
  RunControl(Mixer.LineMonitorSwitch, status, [enabled](IAudioAutoGainControl* gain) {
    return Accepted(gain->SetEnabled(enabled, nullptr));
  });
  return 0;
}

}  // extern "C"
