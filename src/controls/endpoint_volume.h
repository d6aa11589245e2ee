// Volume and mute through an IAudioEndpointVolume slot: the procedures behind
// the playback master exports and the auxiliary endpoint's, which differ only
// in their guard.
#pragma once

#include "controls/control_frame.h"

// The level is written to every channel and read from channel 0; after the
// platform call the setter returns `percent` whatever the outcome.
int SetEndpointVolume(IAudioEndpointVolume* endpoint, Guard guard, int percent, int* status);
int GetEndpointVolume(IAudioEndpointVolume* endpoint, Guard guard, int* status);
// A failed SetMute is reported as StatusNoControl.
int SetEndpointMute(IAudioEndpointVolume* endpoint, Guard guard, BOOL mute, int* status);
int GetEndpointMute(IAudioEndpointVolume* endpoint, Guard guard, int* status);
