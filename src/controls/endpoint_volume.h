// Volume and mute through an IAudioEndpointVolume slot: the procedures behind
// the playback master exports and the auxiliary endpoint's.
#pragma once

#include "platform/platform.h"

// Each writes StatusNoControl and returns 0 when `endpoint` is null.
int SetEndpointVolume(IAudioEndpointVolume* endpoint, int percent, int* status);
int GetEndpointVolume(IAudioEndpointVolume* endpoint, int* status);
// A failed SetMute is reported as StatusNoControl.
int SetEndpointMute(IAudioEndpointVolume* endpoint, BOOL mute, int* status);
int GetEndpointMute(IAudioEndpointVolume* endpoint, int* status);
