// Counting and describing the active endpoints of each flow.
#include <cstring>
#include <string>

#include "mixer_test.h"
#include "state/endpoint_lookup.h"

namespace {

constexpr char kUntouched = 0x5A;

class EnumerationTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    AddPlayback("spk", u"{0.0.0.00000000}.{render-speakers}", u"Speakers");
    AddPlayback("hp", u"{0.0.0.00000000}.{render-headphones}", u"Headphones");
    AddCapture("mic", u"{0.0.1.00000000}.{capture-mic}", u"Microphone");
    AddCapture("line", u"{0.0.1.00000000}.{capture-line}", u"Line In");
    AddCapture("usb", u"{0.0.1.00000000}.{capture-usb-\u20AC}", u"USB Mikrofon \u00E9\u0410");
    for (DWORD state : {DEVICE_STATE_DISABLED, DEVICE_STATE_UNPLUGGED, DEVICE_STATE_NOTPRESENT})
      AddCapture("off" + std::to_string(state), u"{0.0.1.00000000}.{off}", u"Off").state = state;
    std::memset(name_, kUntouched, sizeof name_);
    std::memset(id_, kUntouched, sizeof id_);
  }

  bool Untouched() const {
    for (std::size_t i = 0; i < sizeof name_; ++i)
      if (name_[i] != kUntouched || id_[i] != kUntouched) return false;
    return true;
  }

  char name_[300];
  char id_[300];
};

TEST_F(EnumerationTest, CountsOnlyActiveEndpoints) {
  unsigned int count = 99;
  EXPECT_EQ(GetNumberRecordDevices(&count), 0);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(GetNumberPlayDevices(&count), 0);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(GetNumberPlayDevices(nullptr), 0);
  EXPECT_EQ(CallCount("runtime", "CoInitialize"), 3u);
  EXPECT_EQ(CallCount("runtime", "CoUninitialize"), 3u);
}

TEST_F(EnumerationTest, DescribesAnEndpointByPosition) {
  EXPECT_EQ(GetRecordDevice(2, name_, id_), 0);
  // The name keeps the low byte of each unit; the ID goes through the ANSI code page.
  EXPECT_STREQ(name_, "USB Mikrofon \xE9\x10");
  EXPECT_STREQ(id_, "{0.0.1.00000000}.{capture-usb-\x80}");
  world().SetAnsiCodePage(1251);
  EXPECT_EQ(GetRecordDevice(2, name_, id_), 0);
  EXPECT_STREQ(name_, "USB Mikrofon \xE9\x10");
  EXPECT_STREQ(id_, "{0.0.1.00000000}.{capture-usb-\x88}");
  EXPECT_EQ(GetPlayBackDevice(1, name_, id_), 0);
  EXPECT_STREQ(name_, "Headphones");
  EXPECT_STREQ(id_, "{0.0.0.00000000}.{render-headphones}");
}

TEST_F(EnumerationTest, OutOfRangeIndicesWriteNothing) {
  const struct {
    int (*describe)(unsigned int, char*, char*);
    unsigned int index;
    int expected;
  } cases[] = {
      {GetRecordDevice, 3, 3},
      {GetRecordDevice, 7, 3},
      {GetRecordDevice, static_cast<unsigned int>(-1), 3},
      {GetPlayBackDevice, 2, -1},
      {GetPlayBackDevice, static_cast<unsigned int>(-1), -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.describe(c.index, name_, id_), c.expected) << c.index;
    EXPECT_TRUE(Untouched()) << c.index;
  }
}

TEST_F(EnumerationTest, NoCaptureEndpointAtAllIsAFailureNotSuccess) {
  world().Reset();
  AddPlayback("spk", u"{render}");
  unsigned int count = 99;
  EXPECT_EQ(GetNumberRecordDevices(&count), 0);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(GetRecordDevice(0, name_, id_), -1);
  EXPECT_TRUE(Untouched());
}

TEST_F(EnumerationTest, EveryListedIdSelectsItsOwnEndpoint) {
  for (unsigned int i = 0; i < 3; ++i) {
    ASSERT_EQ(GetRecordDevice(i, name_, id_), 0);
    ASSERT_EQ(FindEndpointById(id_, eCapture), 0);
    EXPECT_STREQ(Mixer.CurrentDeviceName, name_);
  }
}

TEST_F(EnumerationTest, LongTextsAreCutToTheBufferSize) {
  world().Reset();
  AddPlayback("long", u"{" + std::u16string(300, u'i') + u"}", std::u16string(300, u'n'));
  ASSERT_EQ(GetPlayBackDevice(0, name_, id_), 0);
  EXPECT_EQ(std::string(name_), std::string(254, 'n'));
  EXPECT_EQ(std::string(id_), "{" + std::string(253, 'i'));
  EXPECT_EQ(name_[255], kUntouched);
  EXPECT_EQ(id_[255], kUntouched);
}

TEST_F(EnumerationTest, NullBuffersAreNotWritten) {
  EXPECT_EQ(GetPlayBackDevice(0, nullptr, id_), 0);
  EXPECT_STREQ(id_, "{0.0.0.00000000}.{render-speakers}");
  EXPECT_EQ(GetRecordDevice(0, name_, nullptr), 0);
  EXPECT_STREQ(name_, "Microphone");
}

TEST_F(EnumerationTest, PlatformFailuresAreReportedAndWriteNothing) {
  const Fault faults[] = {
      {"runtime", "CoCreateInstance", REGDB_E_CLASSNOTREG},
      {"enumerator", "EnumAudioEndpoints", E_FAIL},
      {"collection", "GetCount", E_FAIL},
      {"collection", "GetCount", S_FALSE},
  };
  for (const Fault& fault : faults) {
    const std::string context = fault.Describe();
    fault.InjectAlone();
    unsigned int count = 99;
    EXPECT_EQ(GetNumberPlayDevices(&count), 1) << context;
    EXPECT_EQ(count, 99u) << context;
    EXPECT_EQ(GetRecordDevice(0, name_, id_), -1) << context;
    EXPECT_TRUE(Untouched()) << context;
    EXPECT_THAT(world().Problems(), ::testing::IsEmpty()) << context;
  }
}

TEST_F(EnumerationTest, AnEndpointThatCannotBeDescribedWritesNothing) {
  const Fault faults[] = {
      {"collection", "Item", E_INVALIDARG},
      {"collection", "Item", S_FALSE},
      {"mic", "GetId", E_OUTOFMEMORY},
      {"runtime", "WideCharToMultiByte", E_FAIL},
      {"runtime", "SysAllocString", E_OUTOFMEMORY},
      {"runtime", "LibraryMalloc", E_OUTOFMEMORY},
  };
  for (const Fault& fault : faults) {
    const std::string context = fault.Describe();
    fault.InjectAlone();
    EXPECT_EQ(GetRecordDevice(0, name_, id_), -1) << context;
    EXPECT_TRUE(Untouched()) << context;
    EXPECT_THAT(world().Problems(), ::testing::IsEmpty()) << context;
  }
}

TEST_F(EnumerationTest, AnUnreadableNameIsListedAsEmpty) {
  for (const char* method : {"OpenPropertyStore", "GetValue"}) {
    world().ClearFaults();
    Fail(method == std::string("GetValue") ? "mic.properties" : "mic", method, E_FAIL);
    EXPECT_EQ(GetRecordDevice(0, name_, id_), 0) << method;
    EXPECT_STREQ(name_, "") << method;
    EXPECT_STREQ(id_, "{0.0.1.00000000}.{capture-mic}") << method;
  }
}

}  // namespace
