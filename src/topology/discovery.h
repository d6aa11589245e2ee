// Finding a device's controls when the sound card is opened: each discovery
// activates its endpoint, walks the hardware topology behind it, fills the
// mixer state's slots and saves each control's value in the snapshot.
// 0 when the walk reached its end (whatever it found), 1 when a step that
// counts failed. Controls already stored stay stored either way.
#pragma once

int DiscoverPlaybackTopology(const char* idText);
int DiscoverMicTopology(const char* idText);
int DiscoverLineTopology(const char* idText);
