// Text helpers that behave the same on every build: case folding touches only
// the letters A to Z, whatever the locale, and wide text is 16-bit WCHAR.
#pragma once

#include <cstddef>

// Lower-cases A-Z in place; nothing else changes.
void LowerAsciiInPlace(WCHAR* text);
// Upper-cases a-z in place; nothing else changes.
void UpperAsciiInPlace(char* text);
// First occurrence of `needle` in `haystack`, or null; an empty needle matches at the start.
const WCHAR* FindWideText(const WCHAR* haystack, const WCHAR* needle);
std::size_t WideLength(const WCHAR* text);
