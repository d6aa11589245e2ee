// Finding endpoints by ID text, activating their controls, and narrow names.
#include <cstring>
#include <thread>

#include "mixer_test.h"
#include "state/endpoint_lookup.h"

namespace {

class EndpointLookupTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    AddPlayback("hdmi", u"{0.0.0.00000000}.{AA11-hdmi}", u"Digital Output");
    AddPlayback("spk", u"{0.0.0.00000000}.{BB22-Speakers}", u"Speakers (Caf\u00E9 \u20AC)");
    AddCapture("mic", u"{0.0.1.00000000}.{CC33-mic}", u"Microphone");
  }

  static std::u16string CurrentId() {
    return Mixer.CurrentDeviceId == nullptr ? u"(null)" : std::u16string(Mixer.CurrentDeviceId);
  }
  static std::string CurrentName() {
    return Mixer.CurrentDeviceName == nullptr ? "(null)" : Mixer.CurrentDeviceName;
  }
};

TEST_F(EndpointLookupTest, MatchesIdTextIgnoringTheCaseOfAToZOnly) {
  const struct {
    const char* text;
    EDataFlow flow;
    const char* expectedKey;  // null: nothing found
  } cases[] = {
      {"bb22-speakers", eRender, "spk"},
      {"{0.0.0.00000000}.{BB22-SPEAKERS}", eRender, "spk"},
      {"HDMI", eRender, "hdmi"},
      {"", eRender, "hdmi"},                // an empty text matches the first endpoint
      {"{0.0.0.", eRender, "hdmi"},         // the first of two matches
      {"Speakers (Caf", eRender, nullptr},  // a friendly name is no ID
      {"cc33", eRender, nullptr},           // other flow
      {"cc33", eCapture, "mic"},
      {nullptr, eRender, nullptr},
  };
  for (const auto& c : cases) {
    const int found = FindEndpointById(c.text, c.flow);
    if (c.expectedKey == nullptr) {
      EXPECT_EQ(found, -1) << (c.text ? c.text : "(null)");
    } else {
      ASSERT_EQ(found, 0) << c.text;
      EXPECT_EQ(CurrentId(), world().FindEndpoint(c.expectedKey)->id) << c.text;
    }
  }
}

TEST_F(EndpointLookupTest, RecordsTheIdAsGivenAndTheNameByLowBytes) {
  ASSERT_EQ(FindEndpointById("bb22", eRender), 0);
  EXPECT_EQ(CurrentId(), u"{0.0.0.00000000}.{BB22-Speakers}");  // not lower-cased
  EXPECT_EQ(CurrentName(), "Speakers (Caf\xE9 \xAC)");
  // The search stops at the match: later endpoints are not examined.
  EXPECT_EQ(CallCount("*", "Item"), 2u);
  EXPECT_EQ(CallCount("runtime", "CoInitialize"), 1u);
  EXPECT_EQ(CallCount("runtime", "CoUninitialize"), 1u);
}

TEST_F(EndpointLookupTest, ConvertsTheTextThroughTheAnsiCodePage) {
  AddCapture("cyr", u"{0.0.1.00000000}.{\u0430\u0443\u0434\u0438\u043E}", u"Audio");
  world().SetAnsiCodePage(1251);
  EXPECT_EQ(FindEndpointById("{\xE0\xF3\xE4\xE8\xEE}", eCapture), 0);
  EXPECT_EQ(CurrentId(), world().FindEndpoint("cyr")->id);
  // The same bytes read as Windows-1252 are other letters; capital Cyrillic is not folded.
  world().SetAnsiCodePage(1252);
  EXPECT_EQ(FindEndpointById("{\xE0\xF3\xE4\xE8\xEE}", eCapture), -1);
  world().SetAnsiCodePage(1251);
  EXPECT_EQ(FindEndpointById("{\xC0\xD3\xC4\xC8\xCE}", eCapture), -1);
}

TEST_F(EndpointLookupTest, SkipsEndpointsThatAreNotActive) {
  world().FindEndpoint("hdmi")->state = DEVICE_STATE_UNPLUGGED;
  ASSERT_EQ(FindEndpointById("{0.0.0.", eRender), 0);
  EXPECT_EQ(CurrentId(), world().FindEndpoint("spk")->id);
  world().FindEndpoint("spk")->state = DEVICE_STATE_DISABLED;
  EXPECT_EQ(FindEndpointById("", eRender), -1);
}

TEST_F(EndpointLookupTest, FailuresLeaveTheLastFoundEndpointInPlace) {
  const Fault faults[] = {
      {"runtime", "CoCreateInstance", REGDB_E_CLASSNOTREG},
      {"enumerator", "EnumAudioEndpoints", E_FAIL},
      {"enumerator", "EnumAudioEndpoints", S_FALSE},
      {"collection", "GetCount", E_FAIL},
      {"runtime", "SysAllocStringLen", E_OUTOFMEMORY},
      {"runtime", "MultiByteToWideChar", E_FAIL},
      {"runtime", "SysAllocString", E_OUTOFMEMORY},
      {"runtime", "LibraryMalloc", E_OUTOFMEMORY},
      {"spk", "GetId", E_FAIL},
      {"*", "Item", E_FAIL},
  };
  for (const Fault& fault : faults) {
    const std::string context = fault.Describe();
    world().ClearFaults();
    ASSERT_EQ(FindEndpointById("mic", eCapture), 0);
    fault.InjectAlone();
    EXPECT_EQ(FindEndpointById("speakers", eRender), -1) << context;
    EXPECT_EQ(CurrentId(), u"{0.0.1.00000000}.{CC33-mic}") << context;
    EXPECT_EQ(CurrentName(), "Microphone") << context;
    ExpectCleanAfterClosing(context);
  }
}

TEST_F(EndpointLookupTest, PassesOverEndpointsThatCannotBeFetchedOrNamed) {
  sim::FaultRule firstItem;
  firstItem.method = "Item";
  firstItem.index = 0u;
  world().Inject(firstItem);
  ASSERT_EQ(FindEndpointById("{0.0.0.", eRender), 0);
  EXPECT_EQ(CurrentId(), world().FindEndpoint("spk")->id);

  world().ClearFaults();
  Fail("hdmi", "GetId", E_FAIL);
  ASSERT_EQ(FindEndpointById("{0.0.0.", eRender), 0);
  EXPECT_EQ(CurrentId(), world().FindEndpoint("spk")->id);

  // The second reading of the matched ID is the one recorded; when it fails the
  // endpoint is passed over like any whose ID cannot be read.
  world().ClearFaults();
  sim::FaultRule secondGetId;
  secondGetId.object = "hdmi";
  secondGetId.method = "GetId";
  secondGetId.skip = 1;
  world().Inject(secondGetId);
  ASSERT_EQ(FindEndpointById("{0.0.0.", eRender), 0);
  EXPECT_EQ(CurrentId(), world().FindEndpoint("spk")->id);
}

TEST_F(EndpointLookupTest, AnUnreadableFriendlyNameBecomesAnEmptyName) {
  const struct {
    const char* object;
    const char* method;
    sim::NameKind kind;
  } cases[] = {
      {"spk", "OpenPropertyStore", sim::NameKind::Text},
      {"spk.properties", "GetValue", sim::NameKind::Text},
      {"spk.properties", "GetValue", sim::NameKind::Text},  // with S_FALSE below
      {"", "", sim::NameKind::Empty},
      {"", "", sim::NameKind::NullText},
      {"", "", sim::NameKind::OtherType},
  };
  int row = 0;
  for (const auto& c : cases) {
    world().ClearFaults();
    world().FindEndpoint("spk")->nameKind = c.kind;
    if (*c.object != 0) Fail(c.object, c.method, row == 2 ? S_FALSE : E_FAIL);
    ASSERT_EQ(FindEndpointById("bb22", eRender), 0) << row;
    EXPECT_EQ(CurrentName(), "") << row;
    ExpectCleanAfterClosing("row " + std::to_string(row));
    ++row;
  }
}

TEST_F(EndpointLookupTest, WorksForAHostThreadInTheMultithreadedApartment) {
  std::thread host([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(FindEndpointById("bb22", eRender), 0);
    EXPECT_EQ(sim::World::Get().ComDepth(), 1);  // the host's own initialisation stands
    CoUninitialize();
  });
  host.join();
  EXPECT_EQ(CurrentId(), world().FindEndpoint("spk")->id);
  EXPECT_EQ(CallCount("runtime", "CoUninitialize"), 1u);  // the host's alone
}

TEST_F(EndpointLookupTest, ActivatesTheEndpointVolumeAndTopology) {
  ComPtr<IDeviceTopology> topology;
  ASSERT_EQ(
      ActivateEndpointControls("bb22", eRender, topology.put(), &Mixer.PlaybackEndpointVolume), 0);
  EXPECT_TRUE(topology);
  EXPECT_NE(Mixer.PlaybackEndpointVolume, nullptr);
  const auto activations = world().CallsTo("spk", "Activate");
  ASSERT_EQ(activations.size(), 2u);
  EXPECT_TRUE(*activations[0].iid == __uuidof(IDeviceTopology));
  EXPECT_EQ(activations[0].value, static_cast<std::int32_t>(CLSCTX_ALL));
  EXPECT_TRUE(*activations[1].iid == __uuidof(IAudioEndpointVolume));
  EXPECT_EQ(activations[1].value, static_cast<std::int32_t>(CLSCTX_INPROC_SERVER));
  EXPECT_EQ(CallCount("runtime", "CoInitialize"), 2u);  // the lookup's and the activation's
}

TEST_F(EndpointLookupTest, ActivationWithoutTopologyStillSucceeds) {
  world().FindEndpoint("spk")->offersTopology = false;
  ComPtr<IDeviceTopology> topology;
  EXPECT_EQ(
      ActivateEndpointControls("bb22", eRender, topology.put(), &Mixer.PlaybackEndpointVolume), 0);
  EXPECT_FALSE(topology);
  EXPECT_NE(Mixer.PlaybackEndpointVolume, nullptr);
}

TEST_F(EndpointLookupTest, ActivationFailuresLeaveTheSlotEmpty) {
  const struct {
    Fault fault;
    bool lookupRecorded;
  } cases[] = {
      {{"runtime", "CoCreateInstance", E_OUTOFMEMORY, 1}, true},  // the activation's enumerator
      {{"enumerator", "GetDevice", E_NOTFOUND}, true},
      {{"enumerator", "GetDevice", S_FALSE}, true},
      {{"spk", "Activate", E_NOINTERFACE, 1}, true},  // the endpoint volume
      {{"spk", "Activate", S_FALSE, 1}, true},        // delivered, yet no success
      {{"spk", "GetId", E_FAIL}, false},
  };
  for (const auto& c : cases) {
    const std::string context = c.fault.Describe();
    c.fault.InjectAlone();
    ComPtr<IDeviceTopology> topology;
    EXPECT_EQ(
        ActivateEndpointControls("bb22", eRender, topology.put(), &Mixer.PlaybackEndpointVolume), 1)
        << context;
    EXPECT_EQ(Mixer.PlaybackEndpointVolume, nullptr) << context;
    EXPECT_EQ(Mixer.CurrentDeviceId != nullptr, c.lookupRecorded) << context;
    topology.reset();
    ExpectCleanAfterClosing(context);
  }
}

TEST(BstrToNarrow, KeepsTheLowByteOfEachUnit) {
  sim::World::Get().Reset();
  const struct {
    const char16_t* text;  // null: a null BSTR
    std::string expected;
  } cases[] = {
      {u"abc", "abc"}, {u"\u00E9", "\xE9"}, {u"\u20AC", "\xAC"},
      {nullptr, ""},   {u"", ""},           {u"a\u0100b", std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    BSTR text = c.text == nullptr ? nullptr : SysAllocString(c.text);
    char* narrow = BstrToNarrow(text);
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(std::string(narrow, c.expected.size() + 1), c.expected + '\0');
    LibraryFree(narrow);
    SysFreeString(text);
  }
  // The length recorded in the BSTR counts, not the first zero.
  BSTR embedded = SysAllocStringLen(u"x\0y", 3);
  char* narrow = BstrToNarrow(embedded);
  EXPECT_EQ(std::string(narrow, 4), std::string("x\0y\0", 4));
  LibraryFree(narrow);
  SysFreeString(embedded);
  EXPECT_THAT(sim::World::Get().Problems(), ::testing::IsEmpty());
}

}  // namespace
