// The platform boundary: reference holders, text helpers and the interface IDs.
#include <cstdio>
#include <string>
#include <thread>

#include "documented_ids.h"
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

// Every ID the library asks the platform for, against the documented values.
TEST(InterfaceIds, MatchThePlatformDocumentation) {
  for (const DocumentedId& entry : DocumentedIds()) EXPECT_EQ(GuidText(entry.id), entry.documented);
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
