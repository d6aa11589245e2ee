#include "platform.h"

void LowerAsciiInPlace(WCHAR* text) {
  for (; *text != 0; ++text)
    if (*text >= u'A' && *text <= u'Z') *text = static_cast<WCHAR>(*text + (u'a' - u'A'));
}

void UpperAsciiInPlace(char* text) {
  for (; *text != 0; ++text)
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - ('a' - 'A'));
}

std::size_t WideLength(const WCHAR* text) {
  std::size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

const WCHAR* FindWideText(const WCHAR* haystack, const WCHAR* needle) {
  const std::size_t needleLength = WideLength(needle);
  for (const WCHAR* start = haystack;; ++start) {
    std::size_t matched = 0;
    while (matched < needleLength && start[matched] == needle[matched]) ++matched;
    if (matched == needleLength) return start;
    if (*start == 0) return nullptr;
  }
}
