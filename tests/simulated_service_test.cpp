// The platform's stand-in answers as the platform documents, and its accounting
// catches what a library could do wrong.
#include <cstdlib>
#include <cstring>
#include <thread>

#include "mixer_test.h"
#include "objects.h"

namespace {

class SimulatedServiceTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    sim::Endpoint& speakers = AddPlayback("spk", u"{render-1}", u"Speakers");
    speakers.volume.minDb = -40.0f;
    speakers.volume.maxDb = 6.0f;
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                               __uuidof(IMMDeviceEnumerator), enumerator_.put_void()),
              S_OK);
  }
  void TearDown() override {
    enumerator_.reset();
    CoUninitialize();
    MixerTest::TearDown();
  }

  ComPtr<IAudioEndpointVolume> ActivateVolume() {
    ComPtr<IMMDevice> device;
    EXPECT_EQ(enumerator_->GetDevice(u"{render-1}", device.put()), S_OK);
    ComPtr<IAudioEndpointVolume> volume;
    EXPECT_EQ(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, nullptr,
                               volume.put_void()),
              S_OK);
    return volume;
  }

  ComPtr<IMMDeviceEnumerator> enumerator_;
};

TEST_F(SimulatedServiceTest, EndpointVolumeAnswersAsDocumented) {
  ComPtr<IAudioEndpointVolume> volume = ActivateVolume();
  EXPECT_EQ(volume->SetMute(TRUE, nullptr), S_OK);
  EXPECT_EQ(volume->SetMute(2, nullptr), S_FALSE);  // already muted
  EXPECT_EQ(volume->SetMute(FALSE, nullptr), S_OK);
  EXPECT_EQ(volume->SetChannelVolumeLevel(0, 6.5f, nullptr), E_INVALIDARG);
  EXPECT_EQ(volume->SetChannelVolumeLevel(2, 0.0f, nullptr), E_INVALIDARG);
  EXPECT_EQ(volume->SetMasterVolumeLevel(-40.5f, nullptr), E_INVALIDARG);
  EXPECT_EQ(volume->GetChannelVolumeLevel(2, nullptr), E_POINTER);

  EXPECT_EQ(volume->SetChannelVolumeLevel(1, -3.0f, nullptr), S_OK);
  EXPECT_EQ(volume->SetChannelVolumeLevel(0, -9.0f, nullptr), S_OK);
  float level = 0.0f;
  EXPECT_EQ(volume->GetMasterVolumeLevel(&level), S_OK);
  EXPECT_EQ(level, -3.0f);  // the loudest channel

  // What one activation wrote, another sees.
  ComPtr<IAudioEndpointVolume> again = ActivateVolume();
  EXPECT_EQ(again->GetChannelVolumeLevel(0, &level), S_OK);
  EXPECT_EQ(level, -9.0f);
}

TEST_F(SimulatedServiceTest, FaultRulesSelectCallsAndKeepThePlatformsOutputRules) {
  sim::FaultRule onChannelOne;
  onChannelOne.object = "spk.volume";
  onChannelOne.method = "SetChannelVolumeLevel";
  onChannelOne.index = 1u;
  onChannelOne.result = E_FAIL;
  onChannelOne.skip = 1;
  onChannelOne.times = 1;
  world().Inject(onChannelOne);

  ComPtr<IAudioEndpointVolume> volume = ActivateVolume();
  EXPECT_EQ(volume->SetChannelVolumeLevel(0, -1.0f, nullptr), S_OK);
  EXPECT_EQ(volume->SetChannelVolumeLevel(1, -1.0f, nullptr), S_OK);  // skipped once
  EXPECT_EQ(volume->SetChannelVolumeLevel(1, -2.0f, nullptr), E_FAIL);
  EXPECT_EQ(volume->SetChannelVolumeLevel(1, -2.0f, nullptr), S_OK);  // spent

  // A failure delivers nothing; a success code delivers the outputs.
  Fail("enumerator", "GetDevice", E_NOTFOUND);
  IMMDevice* device = reinterpret_cast<IMMDevice*>(&onChannelOne);
  EXPECT_EQ(enumerator_->GetDevice(u"{render-1}", &device), E_NOTFOUND);
  EXPECT_EQ(device, nullptr);
  world().ClearFaults();
  Fail("spk", "GetId", S_FALSE);
  ComPtr<IMMDevice> found;
  ASSERT_EQ(enumerator_->GetDevice(u"{render-1}", found.put()), S_OK);
  CoTaskMemText id;
  EXPECT_EQ(found->GetId(id.put()), S_FALSE);
  EXPECT_EQ(std::u16string(id.get()), u"{render-1}");

  const auto failed = world().CallsTo("spk.volume", "SetChannelVolumeLevel");
  ASSERT_EQ(failed.size(), 4u);
  EXPECT_EQ(failed[2].result, E_FAIL);
  EXPECT_EQ(failed[2].index, 1u);
  EXPECT_EQ(failed[2].level, -2.0f);
  EXPECT_EQ(failed[2].nullContext, true);
  EXPECT_EQ(world().FaultsInjected(), 3u);
}

TEST_F(SimulatedServiceTest, FaultsCanFollowTheCallSequence) {
  const std::uint64_t next = world().InjectableCalls() + 1;
  sim::FaultRule persistent;
  persistent.fromSequence = next + 1;
  persistent.result = E_OUTOFMEMORY;
  world().Inject(persistent);
  UINT count = 0;
  ComPtr<IMMDeviceCollection> collection;
  EXPECT_EQ(enumerator_->EnumAudioEndpoints(eRender, DEVICE_STATE_ACTIVE, collection.put()), S_OK);
  EXPECT_EQ(collection->GetCount(&count), E_OUTOFMEMORY);
  EXPECT_EQ(SysAllocString(u"x"), nullptr);
  EXPECT_EQ(CoTaskMemAlloc(4), nullptr);
  EXPECT_EQ(LibraryMalloc(4), nullptr);
}

TEST_F(SimulatedServiceTest, AccountingCatchesLeaksDoubleReleasesAndUseAfterRelease) {
  ComPtr<IAudioEndpointVolume> volume = ActivateVolume();
  IAudioEndpointVolume* raw = volume.detach();
  raw->AddRef();
  EXPECT_EQ(raw->Release(), 1u);
  EXPECT_EQ(raw->Release(), 0u);
  raw->Release();                                          // past zero
  EXPECT_EQ(raw->SetMute(TRUE, nullptr), E_UNEXPECTED);    // poisoned
  ComPtr<IAudioEndpointVolume> leaked = ActivateVolume();  // never released
  WCHAR* block = sim::CoTaskMemCopy(u"x");
  CoTaskMemFree(block);
  CoTaskMemFree(block);
  BSTR text = SysAllocString(u"kept");
  (void)text;

  const std::vector<std::string> problems = world().Problems();
  EXPECT_THAT(problems,
              ::testing::Contains(::testing::HasSubstr("Release of spk.volume past zero")));
  EXPECT_THAT(problems, ::testing::Contains(
                            ::testing::HasSubstr("spk.volume.SetMute after its last release")));
  EXPECT_THAT(problems, ::testing::Contains(::testing::HasSubstr("reference leaked: spk.volume")));
  EXPECT_THAT(problems, ::testing::Contains(::testing::HasSubstr("CoTaskMemFree of a block")));
  EXPECT_THAT(problems, ::testing::Contains(::testing::HasSubstr("1 BSTR(s) not freed")));
  EXPECT_THAT(problems, ::testing::Contains(::testing::HasSubstr("COM left initialised 1")));

  // Start again clean so that the fixture's own check passes.
  leaked.detach();
  enumerator_.detach();
  CoUninitialize();
  world().Reset();
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

// On Windows the platform's task allocator frees, and the service only hears of
// it through a malloc spy; the accounting follows the blocks the same way.
TEST_F(SimulatedServiceTest, FollowsTheBlocksWhereThePlatformsAllocatorFrees) {
  using ::testing::Contains;
  using ::testing::HasSubstr;
  using ::testing::Not;
  void* ours = world().AllocateCoTaskMem(8);
  world().NoteTaskMemoryFreed(ours);
  EXPECT_EQ(world().OutstandingCoTaskMem(), 0u);
  world().NoteTaskMemoryAllocated(ours, true);  // the address handed out again,
  world().NoteTaskMemoryFreed(ours);            // so this is no second free
  EXPECT_THAT(world().Problems(), Not(Contains(HasSubstr("freed twice"))));

  // Others' blocks count only while watched; a block moved by reallocation
  // stays counted, the service's as the service's.
  char unwatched = 0, watched = 0, moved = 0;
  world().NoteTaskMemoryAllocated(&unwatched, false);
  world().NoteTaskMemoryAllocated(&watched, true);
  world().NoteTaskMemoryMoved(&watched, &moved);
  EXPECT_THAT(world().Problems(), Contains(HasSubstr("1 block(s) of the platform's task")));
  world().NoteTaskMemoryFreed(&moved);
  void* service = world().AllocateCoTaskMem(8);
  world().NoteTaskMemoryMoved(service, &watched);
  EXPECT_EQ(world().OutstandingCoTaskMem(), 1u);
  world().NoteTaskMemoryFreed(&watched);
  EXPECT_EQ(world().OutstandingCoTaskMem(), 0u);
  EXPECT_THAT(world().Problems(), Not(Contains(HasSubstr("task allocator"))));
  EXPECT_THAT(world().Problems(), Not(Contains(HasSubstr("freed twice"))));

  world().NoteTaskMemoryFreed(&watched);
  EXPECT_THAT(world().Problems(), Contains(HasSubstr("freed twice")));
  // The spy only watched; the blocks are the C heap's here.
  std::free(ours);
  std::free(service);
  enumerator_.reset();
  CoUninitialize();
  world().Reset();
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

TEST_F(SimulatedServiceTest, ComRuntimeModelsApartmentsAndTheEnumeratorsCreation) {
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  CoUninitialize();
  void* object = &object;
  EXPECT_EQ(CoCreateInstance(__uuidof(IMMDevice), nullptr, CLSCTX_ALL,
                             __uuidof(IMMDeviceEnumerator), &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                             __uuidof(IAudioEndpointVolume), &object),
            E_NOINTERFACE);
  // A success code from the class's creation does not reach the caller: the
  // runtime hands the object over with S_OK, as Windows does.
  sim::FaultRule creation;
  creation.object = "runtime";
  creation.method = "CoCreateInstance";
  creation.result = S_FALSE;
  world().Inject(creation);
  IMMDeviceEnumerator* created = nullptr;
  EXPECT_EQ(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                             __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&created)),
            S_OK);
  ASSERT_NE(created, nullptr);
  created->Release();
  std::thread uninitialised([] {
    void* enumerator = nullptr;
    EXPECT_EQ(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                               __uuidof(IMMDeviceEnumerator), &enumerator),
              CO_E_NOTINITIALIZED);
  });
  uninitialised.join();
}

TEST_F(SimulatedServiceTest, ConvertsTextThroughTheSelectedAnsiCodePage) {
  WCHAR wide[4] = {};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\xC0", -1, wide, 4), 3);
  EXPECT_EQ(std::u16string(wide), u"\u20AC\u00C0");
  world().SetAnsiCodePage(1251);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\xC0", -1, wide, 4), 3);
  EXPECT_EQ(std::u16string(wide), u"\u0402\u0410");

  char narrow[8];
  std::memset(narrow, 'Z', sizeof narrow);
  BOOL usedDefault = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u0410\u00C0\U0001F600", -1, narrow, 8, nullptr,
                                &usedDefault),
            4);
  EXPECT_STREQ(narrow, "\xC0??");
  EXPECT_TRUE(usedDefault);
  // Too small a buffer: nothing beyond it is written and the call fails.
  std::memset(narrow, 'Z', sizeof narrow);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abcdef", -1, narrow, 3, nullptr, nullptr), 0);
  EXPECT_EQ(narrow[3], 'Z');
}

}  // namespace
