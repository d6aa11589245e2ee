// A whole host session on the reference machine: enumerate, open, read and
// change every control, close with the restore, and find every control back
// where the restore puts it.
#include <cstring>

#include "controls/level_mapping.h"
#include "reference_cards.h"
#include "topology_test.h"

namespace {

using HostSessionTest = TopologyTest;

// The ID of the endpoint whose friendly name starts with `name`.
std::string FindId(int (*count)(unsigned int*), int (*describe)(unsigned int, char*, char*),
                   const char* name) {
  unsigned int endpoints = 0;
  EXPECT_EQ(count(&endpoints), 0);
  for (unsigned int i = 0; i < endpoints; ++i) {
    char friendlyName[255] = {};
    char id[255] = {};
    EXPECT_EQ(describe(i, friendlyName, id), 0);
    if (std::strncmp(friendlyName, name, std::strlen(name)) == 0) return id;
  }
  ADD_FAILURE() << "no endpoint named " << name;
  return "";
}

int Read(int (*getter)(int*)) {
  int status = -1;
  const int value = getter(&status);
  EXPECT_EQ(status, StatusOk);
  return value;
}

void Set(int (*setter)(int, int*), int value) {
  int status = -1;
  setter(value, &status);
  EXPECT_EQ(status, StatusOk);
}

double ReadTone(int (*getter)(double*, int*)) {
  double level = 0.0;
  int status = -1;
  getter(&level, &status);
  EXPECT_EQ(status, StatusOk);
  return level;
}

TEST_F(HostSessionTest, EveryControlComesBackWhereTheRestorePutsIt) {
  sim::InstallReferenceMachine(world());
  world().FindEndpoint("speakers")->volume.masterDb = -7.3f;
  world().FindEndpoint("speakers")->volume.channelDb.assign(2, -7.3f);
  world().FindEndpoint("speakers")->volume.mute = 5;
  const std::string speakers = FindId(GetNumberPlayDevices, GetPlayBackDevice, "Speakers");
  const std::string array = FindId(GetNumberRecordDevices, GetRecordDevice, "Microphone Array");
  const std::string line = FindId(GetNumberRecordDevices, GetRecordDevice, "Line In");
  ASSERT_EQ(OpenSoundCard(speakers.c_str(), array.c_str(), line.c_str()), 0);

  char playbackName[255], lineName[255], micName[255];
  GetDeviceNames(playbackName, lineName, micName);
  EXPECT_STREQ(micName, "Microphone Array (Realtek Audio)");

  // What the host sees at opening.
  const int master = Read(GetMasterVolume);
  const int masterMute = Read(GetMasterMute);
  const int linePlayback = Read(GetLinePlayBack);
  const int lineMute = Read(GetLinePlayBackMute);
  const int micPlayback = Read(GetMicPlayBack);
  const int micMute = Read(GetMicPlayBackMute);
  const int micRecord = Read(GetMicRecordVolume);
  const int lineRecord = Read(GetLineRecordVolume);
  const int boost = Read(GetMicSliderBoost);
  const int monitor = Read(GetNoMonitor);
  const double bass = ReadTone(GetBass), treble = ReadTone(GetTreble),
               midrange = ReadTone(GetMidRange);
  EXPECT_EQ(master, 43);
  EXPECT_EQ(masterMute, 5);

  // The host changes everything.
  Set(SetMasterVolume, 90);
  int status = -1;
  SetMasterMute(0, &status);
  Set(SetLinePlayBack, 60);
  Set(SetLinePlayBackMute, 1);
  Set(SetMicPlayBack, 20);
  Set(SetMicPlayBackMute, 1);
  Set(SetMicRecordVolume, 80);
  Set(SetLineRecordVolume, 15);
  EXPECT_EQ(SetMicSliderBoost(10, &status), 0);
  Set(SetNoMonitor, 0);
  EXPECT_EQ(SetBass(6.0, &status), 0);
  EXPECT_EQ(SetTreble(-3.0, &status), 0);
  SetMidRange(1.5, &status);
  EXPECT_THAT(Read(GetMasterVolume), ::testing::AnyOf(90, 89));  // the read truncates
  EXPECT_EQ(Read(GetMicSliderBoost), 10);
  EXPECT_EQ(ReadTone(GetMidRange), 1.5);

  ASSERT_EQ(CloseSoundCard(1), 0);

  // Levels come back at the whole percentage the host saw, switches as they were.
  const auto channels = [](const char* endpoint) {
    return world().FindEndpoint(endpoint)->volume.channelDb;
  };
  for (float level : channels("speakers"))
    EXPECT_EQ(level, PercentToDecibels(master, -65.25f, 0.0f));
  EXPECT_EQ(world().FindEndpoint("speakers")->volume.mute, 1);  // non-zero becomes 1
  sim::Adapter& codec = *world().FindEndpoint("speakers")->connectedTo->adapter;
  for (const auto& channel : codec["line-volume"].volume->channels)
    EXPECT_EQ(channel.levelDb, PercentToDecibels(linePlayback, -34.5f, 12.0f));
  for (const auto& channel : codec["mic-volume"].volume->channels)
    EXPECT_EQ(channel.levelDb, PercentToDecibels(micPlayback, -34.5f, 12.0f));
  EXPECT_EQ(*codec["line-mute"].mute, lineMute);
  EXPECT_EQ(*codec["mic-mute"].mute, micMute);
  EXPECT_EQ(world().FindEndpoint("mic-array")->volume.masterDb,
            PercentToDecibels(micRecord, -17.25f, 30.0f));
  EXPECT_EQ(world().FindEndpoint("line-in")->volume.masterDb,
            PercentToDecibels(lineRecord, -34.5f, 12.0f));
  sim::Adapter& arrayCard = *world().FindEndpoint("mic-array")->connectedTo->adapter;
  EXPECT_EQ(arrayCard["boost"].volume->channels[0].levelDb, static_cast<float>(boost));
  sim::Adapter& lineCard = *world().FindEndpoint("line-in")->connectedTo->adapter;
  EXPECT_EQ(*lineCard["agc"].autoGain, monitor);
  EXPECT_EQ(codec["tone"].bass->channels[1].levelDb, bass);
  EXPECT_EQ(codec["tone"].treble->channels[1].levelDb, treble);
  EXPECT_EQ(codec["midrange"].midrange->channels[1].levelDb, midrange);

  // And the host, opening again, reads what it read the first time or one
  // percent less where the truncating read-back lands below.
  ASSERT_EQ(OpenSoundCard(speakers.c_str(), array.c_str(), line.c_str()), 0);
  EXPECT_THAT(Read(GetMasterVolume), ::testing::AnyOf(master, master - 1));
  EXPECT_THAT(Read(GetLinePlayBack), ::testing::AnyOf(linePlayback, linePlayback - 1));
  EXPECT_EQ(ReadTone(GetBass), bass);
}

}  // namespace
