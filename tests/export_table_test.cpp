// The 44 exports: every one defined, with the name, ordinal and argument size
// that the module definition fixes for the 32-bit DLL.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <type_traits>

#include "VelmoraSound.h"

namespace {

// Bytes an argument takes on the 32-bit stack: 8 for a double, 4 for the rest.
template <class Argument>
constexpr int StackBytes() {
  return std::is_same_v<Argument, double> ? 8 : 4;
}

template <class Result, class... Arguments>
constexpr int ArgumentBytes(Result(VELMORA_API*)(Arguments...)) {
  return (0 + ... + StackBytes<Arguments>());
}

#define EXPORT(name) \
  { #name, ArgumentBytes(&name) }

TEST(ExportTable, TheModuleDefinitionMatchesTheHeader) {
  const std::map<std::string, int> header = {
      EXPORT(OpenSoundCard),
      EXPORT(OpenDefaultDevices),
      EXPORT(CloseSoundCard),
      EXPORT(GetDeviceNames),
      EXPORT(GetNumberPlayDevices),
      EXPORT(GetNumberRecordDevices),
      EXPORT(GetPlayBackDevice),
      EXPORT(GetRecordDevice),
      EXPORT(GetMasterVolume),
      EXPORT(SetMasterVolume),
      EXPORT(GetMasterMute),
      EXPORT(SetMasterMute),
      EXPORT(GetLinePlayBack),
      EXPORT(SetLinePlayBack),
      EXPORT(GetLinePlayBackMute),
      EXPORT(SetLinePlayBackMute),
      EXPORT(GetMicPlayBack),
      EXPORT(SetMicPlayBack),
      EXPORT(GetMicPlayBackMute),
      EXPORT(SetMicPlayBackMute),
      EXPORT(GetMicRecordVolume),
      EXPORT(SetMicRecordVolume),
      EXPORT(GetLineRecordVolume),
      EXPORT(SetLineRecordVolume),
      EXPORT(OpenVirtual_1),
      EXPORT(CloseVirtual_1),
      EXPORT(GetVirtualVolume),
      EXPORT(SetVirtualVolume),
      EXPORT(GetVirtualMute),
      EXPORT(SetVirtualMute),
      EXPORT(GetMicBoost),
      EXPORT(SetMicBoost),
      EXPORT(GetMicSliderDetails),
      EXPORT(GetMicSliderBoost),
      EXPORT(SetMicSliderBoost),
      EXPORT(GetNoMonitor),
      EXPORT(SetNoMonitor),
      EXPORT(GetEQRange),
      EXPORT(SetBass),
      EXPORT(GetBass),
      EXPORT(SetTreble),
      EXPORT(GetTreble),
      EXPORT(SetMidRange),
      EXPORT(GetMidRange),
  };
  ASSERT_EQ(header.size(), 44u);

  std::ifstream definition(VELMORA_SOURCE_DIR "/include/VelmoraSound.def");
  ASSERT_TRUE(definition) << "cannot read the module definition";
  const std::regex entry(R"(^\s+(\w+)=(\w+)@(\d+) @(\d+)\s*$)");
  std::set<int> ordinals;
  std::set<std::string> names;
  for (std::string line; std::getline(definition, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, entry)) continue;
    const std::string name = match[1];
    EXPECT_EQ(match[2], name);
    ASSERT_TRUE(header.count(name)) << name << " is not declared";
    EXPECT_EQ(std::stoi(match[3]), header.at(name)) << name;
    const int ordinal = std::stoi(match[4]);
    EXPECT_TRUE(ordinal >= 1 && ordinal <= 44) << name;
    EXPECT_TRUE(ordinals.insert(ordinal).second) << "ordinal " << ordinal << " twice";
    EXPECT_TRUE(names.insert(name).second) << name << " twice";
  }
  EXPECT_EQ(names.size(), 44u);
}

}  // namespace
