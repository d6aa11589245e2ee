#pragma once

#include "platform/platform.h"

namespace sim {
// The 128 UTF-16 units of bytes 0x80 to 0xFF, or null for an unknown code page.
const char16_t* CodePageUpperHalf(UINT codePage);
}  // namespace sim
