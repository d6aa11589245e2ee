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
#include "scenarios.h"
#include "simulated_audio.h"
#include "state/mixer_state.h"

namespace {

struct BadInput {
  std::string description;
  std::function<int()> call;
  std::function<bool(int)> acceptable;
};

std::function<bool(int)> Is(int expected) {
  return [expected](int result) { return result == expected; };
}

std::vector<BadInput> NullPointers() {
  return {
      {"GetDeviceNames(null, null, null)",
       [] {
         GetDeviceNames(nullptr, nullptr, nullptr);
         return 0;
       },
       Is(0)},
      {"GetNumberPlayDevices(null)", [] { return GetNumberPlayDevices(nullptr); }, Is(0)},
      {"GetNumberRecordDevices(null)", [] { return GetNumberRecordDevices(nullptr); }, Is(0)},
      {"GetPlayBackDevice(0, null, null)", [] { return GetPlayBackDevice(0, nullptr, nullptr); },
       Is(0)},
      {"GetRecordDevice(0, null, null)", [] { return GetRecordDevice(0, nullptr, nullptr); },
       Is(0)},
      {"GetMasterVolume(null)", [] { return GetMasterVolume(nullptr); }, Is(100)},
      {"SetMasterVolume(50, null)", [] { return SetMasterVolume(50, nullptr); }, Is(50)},
      {"GetMasterMute(null)", [] { return GetMasterMute(nullptr); }, Is(0)},
      {"SetMasterMute(1, null)", [] { return SetMasterMute(1, nullptr); }, Is(0)},
      {"GetLinePlayBack(null)", [] { return GetLinePlayBack(nullptr); }, Is(7)},
      {"SetLinePlayBack(50, null)", [] { return SetLinePlayBack(50, nullptr); }, Is(50)},
      {"GetLinePlayBackMute(null)", [] { return GetLinePlayBackMute(nullptr); }, Is(0)},
      {"SetLinePlayBackMute(1, null)", [] { return SetLinePlayBackMute(1, nullptr); }, Is(0)},
      {"GetMicPlayBack(null)", [] { return GetMicPlayBack(nullptr); }, Is(7)},
      {"SetMicPlayBack(50, null)", [] { return SetMicPlayBack(50, nullptr); }, Is(50)},
      {"GetMicPlayBackMute(null)", [] { return GetMicPlayBackMute(nullptr); }, Is(0)},
      {"SetMicPlayBackMute(1, null)", [] { return SetMicPlayBackMute(1, nullptr); }, Is(0)},
      {"GetMicRecordVolume(null)", [] { return GetMicRecordVolume(nullptr); }, Is(3)},
      {"SetMicRecordVolume(50, null)", [] { return SetMicRecordVolume(50, nullptr); }, Is(50)},
      {"GetLineRecordVolume(null)", [] { return GetLineRecordVolume(nullptr); }, Is(25)},
      {"SetLineRecordVolume(50, null)", [] { return SetLineRecordVolume(50, nullptr); }, Is(50)},
      {"GetVirtualVolume(null)", [] { return GetVirtualVolume(nullptr); }, Is(0)},
      {"SetVirtualVolume(50, null)", [] { return SetVirtualVolume(50, nullptr); }, Is(0)},
      {"GetVirtualMute(null)", [] { return GetVirtualMute(nullptr); }, Is(0)},
      {"SetVirtualMute(1, null)", [] { return SetVirtualMute(1, nullptr); }, Is(0)},
      {"GetMicBoost(null)", [] { return GetMicBoost(nullptr); }, Is(0)},
      {"SetMicBoost(1, null)", [] { return SetMicBoost(1, nullptr); }, Is(0)},
      {"GetMicSliderDetails(null, null, null, null)",
       [] { return GetMicSliderDetails(nullptr, nullptr, nullptr, nullptr); }, Is(0)},
      {"GetMicSliderBoost(null)", [] { return GetMicSliderBoost(nullptr); }, Is(20)},
      {"SetMicSliderBoost(10, null)", [] { return SetMicSliderBoost(10, nullptr); }, Is(0)},
      {"GetNoMonitor(null)", [] { return GetNoMonitor(nullptr); }, Is(1)},
      {"SetNoMonitor(1, null)", [] { return SetNoMonitor(1, nullptr); }, Is(0)},
      {"GetEQRange(null, null, null)", [] { return GetEQRange(nullptr, nullptr, nullptr); }, Is(0)},
      {"SetBass(1, null)", [] { return SetBass(1.0, nullptr); }, Is(0)},
      {"GetBass(null, null)", [] { return GetBass(nullptr, nullptr); }, Is(0)},
      {"SetTreble(1, null)", [] { return SetTreble(1.0, nullptr); }, Is(0)},
      {"GetTreble(null, null)", [] { return GetTreble(nullptr, nullptr); }, Is(0)},
      {"SetMidRange(1, null)", [] { return SetMidRange(1.0, nullptr); }, Is(1)},
      {"GetMidRange(null, null)", [] { return GetMidRange(nullptr, nullptr); }, Is(1)},
      // Last: a null text is a skipped part, so this opening releases the controls.
      {"OpenSoundCard(null, null, null)", [] { return OpenSoundCard(nullptr, nullptr, nullptr); },
       Is(0)},
      {"OpenVirtual_1(null)", [] { return OpenVirtual_1(nullptr); }, Is(1)},
  };
}

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
  for (unsigned int index : {0u, 2u, 3u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
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
  int (*const setters[])(int, int*) = {SetMasterVolume,    SetLinePlayBack,     SetMicPlayBack,
                                       SetMicRecordVolume, SetLineRecordVolume, SetVirtualVolume,
                                       SetMicSliderBoost};
  for (int percent : {-1, 0, 100, 101, 1000, INT_MIN, INT_MAX}) {
    for (auto* setter : setters) {
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
  const double levels[] = {std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e-300};
  for (double level : levels) {
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
  const std::string texts[] = {"",
                               "5",
                               std::string(254, 'a'),
                               std::string(255, '{'),
                               std::string(10000, '0'),
                               "\x80\x9f\xff\xc0\xe9",
                               std::string("5f3e1d2a") + "\xff"};
  for (const std::string& text : texts) {
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
