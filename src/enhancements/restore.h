#pragma once

// Writes the values saved while the sound card was opened back through the
// slots still held, in a fixed order; every platform result is ignored.
void RestoreOpenSnapshot();
