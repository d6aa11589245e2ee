// The platform boundary: reference holders, text helpers and the interface IDs.
#include <cstdio>
#include <string>
#include <thread>

#include "mixer_test.h"
#include "objects.h"

namespace {

using PlatformTest = MixerTest;

// A live simulated object to hold references to.
IMMDeviceEnumerator* NewEnumerator() { return sim::MakeDeviceEnumerator(); }

std::size_t References(IMMDeviceEnumerator* object) {
  return static_cast<sim::DeviceEnumerator*>(object)->references();
}

TEST_F(PlatformTest, ComPtrReleasesEachReferenceExactlyOnce) {
  IMMDeviceEnumerator* first = NewEnumerator();
  IMMDeviceEnumerator* second = NewEnumerator();
  {
    ComPtr<IMMDeviceEnumerator> holder;
    holder.attach(first);  // takes the reference without AddRef
    EXPECT_EQ(References(first), 1u);
    *holder.put() = second;  // put() let the first one go
    EXPECT_TRUE(static_cast<sim::DeviceEnumerator*>(first)->released());
    ComPtr<IMMDeviceEnumerator> moved(std::move(holder));
    EXPECT_FALSE(holder);
    EXPECT_EQ(moved.get(), second);
    IMMDeviceEnumerator* given = moved.detach();
    EXPECT_EQ(References(given), 1u);
    moved.attach(given);
  }
  EXPECT_EQ(world().LiveReferences(), 0u);
}

TEST_F(PlatformTest, StringAndValueHoldersFreeWhatTheyHold) {
  {
    CoTaskMemText id(sim::CoTaskMemCopy(u"{id}"));
    Bstr text(SysAllocString(u"name"));
    HeapText narrow(static_cast<char*>(LibraryMalloc(4)));
    PropVariantValue value;
    value.put()->vt = VT_LPWSTR;
    value.put()->pwszVal = sim::CoTaskMemCopy(u"friendly");
    EXPECT_EQ(world().OutstandingCoTaskMem(), 2u);
    EXPECT_EQ(world().OutstandingBstrs(), 1u);
    EXPECT_EQ(world().OutstandingHeapBlocks(), 1u);
  }
  EXPECT_EQ(world().OutstandingCoTaskMem(), 0u);
  EXPECT_EQ(world().OutstandingBstrs(), 0u);
  EXPECT_EQ(world().OutstandingHeapBlocks(), 0u);
}

TEST_F(PlatformTest, ComApartmentBalancesOnlyWhatItInitialised) {
  {
    ComApartment outer;
    EXPECT_EQ(world().ComDepth(), 1);
    {
      ComApartment inner;  // S_FALSE: still balanced
      EXPECT_EQ(world().ComDepth(), 2);
    }
    EXPECT_EQ(world().ComDepth(), 1);
  }
  EXPECT_EQ(world().ComDepth(), 0);

  // A host thread in the multithreaded apartment: CoInitialize answers
  // RPC_E_CHANGED_MODE, and the host's own initialisation must survive.
  std::thread host([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    { ComApartment apartment; }
    EXPECT_EQ(sim::World::Get().ComDepth(), 1);
    CoUninitialize();
    EXPECT_EQ(sim::World::Get().ComDepth(), 0);
  });
  host.join();
  EXPECT_EQ(CallCount("runtime", "CoUninitialize"), 3u);
}

TEST(TextHelpers, FoldOnlyTheLettersAToZ) {
  std::u16string wide = u"AbZ[@\u00C0\u00C9\u0100\u0410xyz";
  LowerAsciiInPlace(wide.data());
  EXPECT_EQ(wide, u"abz[@\u00C0\u00C9\u0100\u0410xyz");

  std::string narrow =
      "abz{`\xE0\xE9"
      "ABC mic";
  UpperAsciiInPlace(narrow.data());
  EXPECT_EQ(narrow,
            "ABZ{`\xE0\xE9"
            "ABC MIC");
}

TEST(TextHelpers, FindWideTextFindsTheFirstOccurrence) {
  const struct {
    const char16_t* haystack;
    const char16_t* needle;
    int position;  // -1: not found
  } cases[] = {
      {u"abc", u"", 0},      {u"", u"", 0},         {u"", u"a", -1},    {u"aaab", u"aab", 1},
      {u"abcabc", u"ca", 2}, {u"abc", u"abcd", -1}, {u"abc", u"bc", 1}, {u"ab", u"b\u0100", -1},
  };
  for (const auto& c : cases) {
    const char16_t* found = FindWideText(c.haystack, c.needle);
    EXPECT_EQ(found == nullptr ? -1 : static_cast<int>(found - c.haystack), c.position)
        << sim::Narrow(c.haystack) << " / " << sim::Narrow(c.needle);
  }
}

std::string GuidText(const GUID& id) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1],
                id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
  return text;
}

// Every ID the library asks the platform for, against the documented values.
TEST(InterfaceIds, MatchThePlatformDocumentation) {
  const struct {
    GUID id;
    const char* documented;
  } ids[] = {
      {__uuidof(MMDeviceEnumerator), "BCDE0395-E52F-467C-8E3D-C4579291692E"},
      {__uuidof(IMMDeviceEnumerator), "A95664D2-9614-4F35-A746-DE8DB63617E6"},
      {__uuidof(IMMDeviceCollection), "0BD7A1BE-7A1A-44DB-8397-CC5392387B5E"},
      {__uuidof(IMMDevice), "D666063F-1587-4E43-81F1-B948E807363F"},
      {__uuidof(IPropertyStore), "886D8EEB-8CF2-4446-8D02-CDBA1DBDCF99"},
      {__uuidof(IAudioEndpointVolume), "5CDF2C82-841E-4546-9722-0CF74078229A"},
      {__uuidof(IDeviceTopology), "2A07407E-6497-4A18-9787-32F79BD0D98F"},
      {__uuidof(IConnector), "9C2C4058-23F5-41DE-877A-DF3AF236A09E"},
      {__uuidof(IPart), "AE2DE0E4-5BCA-4F2D-AA46-5D13F8FDB3A9"},
      {__uuidof(IPartsList), "6DAA848C-5EB0-45CC-AEA5-998A2CDA1FFB"},
      {__uuidof(IPerChannelDbLevel), "C2F8E001-F205-4BC9-99BC-C13B1E048CCB"},
      {__uuidof(IAudioVolumeLevel), "7FB7B48F-531D-44A2-BCB3-5AD5A134B3DC"},
      {__uuidof(IAudioBass), "A2B1A1D9-4DB3-425D-A2B2-BD335CB3E2E5"},
      {__uuidof(IAudioTreble), "0A717812-694E-4907-B74B-BAFA5CFDCA7B"},
      {__uuidof(IAudioMidrange), "5E54B6D7-B44B-40D9-9A9E-E691D9CE6EDF"},
      {__uuidof(IAudioMute), "DF45AEEA-B74A-4B6B-AFAD-2366B6AA012E"},
      {__uuidof(IAudioAutoGainControl), "85401FD4-6DE4-4B9D-9869-2D6753A82F3C"},
      {__uuidof(IAudioLoudness), "7D8B1437-DD53-4350-9C1B-1EE2890BD938"},
      {__uuidof(IUnknown), "00000000-0000-0000-C000-000000000046"},
      {PKEY_Device_FriendlyName.fmtid, "A45C254E-DF1C-4EFD-8020-67D146A850E0"},
  };
  for (const auto& entry : ids) EXPECT_EQ(GuidText(entry.id), entry.documented);
  EXPECT_EQ(PKEY_Device_FriendlyName.pid, 14u);
}

TEST(ResultCodes, HaveThePlatformValues) {
  EXPECT_EQ(static_cast<unsigned>(E_FAIL), 0x80004005u);
  EXPECT_EQ(static_cast<unsigned>(E_NOINTERFACE), 0x80004002u);
  EXPECT_EQ(static_cast<unsigned>(E_NOTIMPL), 0x80004001u);
  EXPECT_EQ(static_cast<unsigned>(E_INVALIDARG), 0x80070057u);
  EXPECT_EQ(static_cast<unsigned>(E_OUTOFMEMORY), 0x8007000Eu);
  EXPECT_EQ(static_cast<unsigned>(E_NOTFOUND), 0x80070490u);
  EXPECT_EQ(static_cast<unsigned>(RPC_E_CHANGED_MODE), 0x80010106u);
}

}  // namespace
