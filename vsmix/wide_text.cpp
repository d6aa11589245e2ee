#include "wide_text.h"

#include <vector>

#include "platform/text.h"
#ifndef _WIN32
#include "card_file.h"
#endif

namespace vsmix {

std::string WideToUtf8(const WCHAR* text) {
  const std::size_t length = WideLength(text);
#ifdef _WIN32
  if (length == 0) return {};
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), bytes, nullptr,
                      nullptr);
  return utf8;
#else
  return sim::ToUtf8(std::u16string(text, text + length));
#endif
}

std::string AnsiToUtf8(const std::string& text) {
  // A single-byte code page gives at most one unit per byte.
  std::vector<WCHAR> wide(text.size() + 1);
  const int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size() + 1),
                                        wide.data(), static_cast<int>(wide.size()));
  if (units == 0) return text;
  return WideToUtf8(wide.data());
}

}  // namespace vsmix
