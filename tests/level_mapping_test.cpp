#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>

#include "controls/level_mapping.h"
#include "mixer_test.h"

namespace {

struct MappingCase {
  int percent;
  float maximum;
  const char* levelBits;  // the exact single-precision level
  float levelRounded;     // the same level to four decimals
  int readBack;
};

std::ostream& operator<<(std::ostream& out, const MappingCase& c) {
  return out << c.percent << " % with a maximum of " << c.maximum << " dB";
}

class LevelMappingTable : public ::testing::TestWithParam<MappingCase> {};

TEST_P(LevelMappingTable, MapsPercentToTheExactLevelAndReadsItBackTruncated) {
  const MappingCase& c = GetParam();
  const float level = PercentToDecibels(c.percent, -96.0f, c.maximum);
  EXPECT_EQ(FloatBits(level), c.levelBits);
  EXPECT_NEAR(level, c.levelRounded, 0.00005f);
  EXPECT_EQ(DecibelsToPercent(level, c.maximum), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    TopAtZeroAndTwelveDecibels, LevelMappingTable,
    ::testing::Values(MappingCase{100, 0.0f, "0x00000000", 0.0f, 100},
                      MappingCase{75, 0.0f, "0xC01FEBED", -2.4988f, 74},
                      MappingCase{51, 0.0f, "0xC0BB27B4", -5.8486f, 50},
                      MappingCase{50, 0.0f, "0xC0C0A8C1", -6.0206f, 50},
                      MappingCase{25, 0.0f, "0xC140A8C1", -12.0412f, 25},
                      MappingCase{10, 0.0f, "0xC1A00000", -20.0f, 10},
                      MappingCase{3, 0.0f, "0xC1F3A91D", -30.4576f, 2},
                      MappingCase{2, 0.0f, "0xC207EAE8", -33.9794f, 1},
                      MappingCase{1, 0.0f, "0xC2200000", -40.0f, 1},
                      MappingCase{150, 0.0f, "0x40616595", 3.5218f, 149},
                      MappingCase{200, 0.0f, "0x40C0A8C1", 6.0206f, 199},
                      // The single-precision sum rounds differently with another maximum.
                      MappingCase{50, 12.0f, "0x40BF573F", 5.9794f, 50},
                      MappingCase{75, 12.0f, "0x41180505", 9.5012f, 75},
                      // Rows that a step at another precision would change: the
                      // single-precision ratio (4 %), the narrowing before the sum
                      // (4 % and 12 % at 12 dB), the single-precision quotient on
                      // the way back (3 % and 47 %).
                      MappingCase{4, 0.0f, "0xC1DFABA0", -27.9588f, 3},
                      MappingCase{4, 12.0f, "0xC17F5740", -15.9588f, 3},
                      MappingCase{12, 12.0f, "0xC0CD52F4", -6.4164f, 11},
                      MappingCase{47, 0.0f, "0xC0D1DB7D", -6.5580f, 47}));

TEST(LevelMapping, ZeroPercentIsTheRangeMinimumAndReadsBackAsOne) {
  EXPECT_EQ(PercentToDecibels(0, -34.5f, 0.0f), -34.5f);
  EXPECT_EQ(PercentToDecibels(0, -12.0f, 30.0f), -12.0f);
  EXPECT_EQ(DecibelsToPercent(-34.5f, 0.0f), 1);
}

TEST(LevelMapping, ReadsLevelsRelativeToTheMaximumOnly) {
  const struct {
    float level;
    int percent;
  } cases[] = {{-3.0f, 70}, {-10.0f, 31}, {-60.0f, 0}, {6.0f, 199}, {12.0f, 398}, {-96.0f, 0}};
  for (const auto& c : cases) EXPECT_EQ(DecibelsToPercent(c.level, 0.0f), c.percent) << c.level;
}

TEST(LevelMapping, NoClampingOnTheWayOut) {
  // Levels below the minimum of a narrow range are handed on as computed.
  EXPECT_EQ(PercentToDecibels(1, -10.0f, 0.0f), -40.0f);
  // A negative percentage has no level: the one quiet NaN, whatever the C
  // runtime's logarithm makes of a negative ratio (glibc and msvcrt differ in
  // its sign), so the same bits reach the platform on every build.
  for (const int percent : {-5, -1, INT_MIN}) {
    const float level = PercentToDecibels(percent, -96.0f, 6.0f);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &level, sizeof bits);
    EXPECT_EQ(bits, 0x7FC00000u) << percent;
  }
}

TEST(LevelMapping, ValuesWithoutAnIntegerPercentAreDefined) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  EXPECT_EQ(DecibelsToPercent(nan, 0.0f), 0);
  EXPECT_EQ(DecibelsToPercent(infinity, 0.0f), INT_MAX);
  EXPECT_EQ(DecibelsToPercent(-infinity, 0.0f), 0);
  EXPECT_EQ(DecibelsToPercent(150.0f, 0.0f), INT_MAX);  // above about 146.6 dB
  EXPECT_EQ(DecibelsToPercent(146.0f, 0.0f), 1995263191);
}

}  // namespace
