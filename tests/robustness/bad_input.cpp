#include "bad_input.h"

#include <climits>
#include <limits>

#include "VelmoraSound.h"

namespace {

std::function<bool(int)> Is(int expected) {
  return [expected](int result) { return result == expected; };
}

}  // namespace

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

const unsigned int kAwkwardIndices[5] = {0u, 2u, 3u, 0xFFFFFFFFu, 0x7FFFFFFFu};
const int kAwkwardPercentages[7] = {-1, 0, 100, 101, 1000, INT_MIN, INT_MAX};
const double kAwkwardToneLevels[5] = {std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(), 1e300, -1e-300};

std::vector<std::string> AwkwardIdTexts() {
  return {"",
          "5",
          std::string(254, 'a'),
          std::string(255, '{'),
          std::string(10000, '0'),
          "\x80\x9f\xff\xc0\xe9",
          std::string("5f3e1d2a") + "\xff"};
}

int(VELMORA_API* const kPercentSetters[7])(int, int*) = {
    SetMasterVolume,     SetLinePlayBack,  SetMicPlayBack,   SetMicRecordVolume,
    SetLineRecordVolume, SetVirtualVolume, SetMicSliderBoost};
