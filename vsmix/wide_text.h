// Platform text as UTF-8, for printing and for JSON.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vsmix {

std::string WideToUtf8(const WCHAR* text);
// Text in the ANSI code page, as the library's exports give it.
std::string AnsiToUtf8(const std::string& text);

}  // namespace vsmix
