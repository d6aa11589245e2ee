// The keywords that tell a card's parts apart by their names. Part names are
// searched with A-Z folded to lower case, so the keywords are lower-case.
#pragma once

#include <cstddef>

// A list of keywords, such as one of the tables below.
class KeywordList {
 public:
  template <std::size_t N>
  constexpr KeywordList(const char* const (&keywords)[N]) : keywords_(keywords), count_(N) {}
  constexpr KeywordList(const char* const* keywords, std::size_t count)
      : keywords_(keywords), count_(count) {}
  constexpr const char* const* begin() const { return keywords_; }
  constexpr const char* const* end() const { return keywords_ + count_; }

 private:
  const char* const* keywords_;
  std::size_t count_;
};

namespace part_keywords {
// The playback device's inputs, named for their signal or their jack's colour.
inline constexpr const char* LineInput[] = {"line", "gree"};  // green
inline constexpr const char* MicInput[] = {"mic", "pin"};     // pink
// The capture devices' connectors.
inline constexpr const char* MicConnector[] = {"mic"};
inline constexpr const char* LineConnector[] = {"line"};
// A microphone boost: "Mic Boost", "+20dB", "AGC".
inline constexpr const char* Boost[] = {"boost", "+2", "agc"};
}  // namespace part_keywords
