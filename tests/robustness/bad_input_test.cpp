// What hosts get wrong, as one table: null pointers everywhere, indices and
// percentages at and past their ends, tone levels that are not numbers, and ID
// texts of awkward lengths and bytes. Each case has a defined result; buffers
// are exactly 255 bytes so that AddressSanitizer catches a write past them;
// nothing may leak.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "VelmoraSound.h"
#include "bad_input.h"
#include "scenarios.h"
#include "simulated_audio.h"
#include "state/mixer_state.h"

namespace {

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override { StartHostSession(); }
  void TearDown() override {
    HostContract host;
    EXPECT_THAT(EndHostSession(host), ::testing::IsEmpty());
    sim::World::Get().Reset();
  }
  static void Run(const std::vector<BadInput>& cases) {
    for (const BadInput& c : cases) {
      const int result = c.call();
      EXPECT_TRUE(c.acceptable(result)) << c.description << " returned " << result;
    }
  }
};

TEST_F(BadInputTest, NullPointersAreNeverWrittenThrough) {
  ASSERT_EQ(OpenSoundCard("5f3e1d2a", "8b1f2c3d", "d4b2e8f1"), 0);
  Run(NullPointers());
}

TEST_F(BadInputTest, IndicesAtAndPastTheEnd) {
  for (unsigned int index : kAwkwardIndices) {
    std::vector<char> name(255, 'Z'), id(255, 'Z');
    const int record = GetRecordDevice(index, name.data(), id.data());
    EXPECT_EQ(record, index < 3 ? 0 : 3) << index;
    const int playback = GetPlayBackDevice(index, name.data(), id.data());
    EXPECT_EQ(playback, index < 2 ? 0 : -1) << index;
  }
}

TEST_F(BadInputTest, PercentagesAtAndPastTheirEnds) {
  ASSERT_EQ(OpenSoundCard("5f3e1d2a", "8b1f2c3d", "d4b2e8f1"), 0);
  ASSERT_EQ(OpenVirtual_1("a81b44c0"), 0);
  for (int percent : kAwkwardPercentages) {
    for (auto* setter : kPercentSetters) {
      int status = -1;
      const int result = setter(percent, &status);
      EXPECT_TRUE(status == StatusOk || status == StatusFailed) << percent;
      EXPECT_TRUE(result == percent || result == 0 || result == 1) << percent;
    }
    int status = -1;
    EXPECT_GE(GetMasterVolume(&status), 0);
  }
}

TEST_F(BadInputTest, ToneLevelsThatAreNotNumbers) {
  ASSERT_EQ(OpenSoundCard("5f3e1d2a", "", ""), 0);
  for (double level : kAwkwardToneLevels) {
    int status = -1;
    const int result = SetBass(level, &status);
    EXPECT_EQ(result, status == StatusOk ? 0 : 1) << level;
    EXPECT_TRUE(status == StatusOk || status == StatusFailed) << level;
    double read = 9.0;
    EXPECT_EQ(GetBass(&read, &status), 0);
    EXPECT_FALSE(std::isnan(read)) << level;  // a refused level was not stored
  }
}

TEST_F(BadInputTest, IdTextsOfAwkwardLengthsAndBytes) {
  for (const std::string& text : AwkwardIdTexts()) {
    const int card = OpenSoundCard(text.c_str(), text.c_str(), text.c_str());
    EXPECT_TRUE(card >= 0 && card <= 7) << text.size();
    const int virtualResult = OpenVirtual_1(text.c_str());
    EXPECT_TRUE(virtualResult == 0 || virtualResult == 1) << text.size();
    std::vector<char> names(3 * 255, 'Z');
    GetDeviceNames(names.data(), names.data() + 255, names.data() + 510);
    CloseSoundCard(1);
    CloseVirtual_1();
  }
  // The empty text matches the first endpoint of each flow, so those open.
  EXPECT_EQ(OpenVirtual_1(""), 0);
}

}  // namespace
