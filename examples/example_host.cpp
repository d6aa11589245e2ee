// A small host of the library: lists the playback and record endpoints, then
// opens the first playback endpoint as the auxiliary endpoint and sets its
// volume. On Linux it runs over the simulated service's default machine.
#include <cstdio>

#include "VelmoraSound.h"

#ifndef _WIN32
#include "reference_cards.h"
#endif

namespace {

void ListEndpoints(const char* title, int (*count)(unsigned int*),
                   int (*describe)(unsigned int, char*, char*)) {
  unsigned int endpoints = 0;
  if (count(&endpoints) != 0) {
    std::printf("%s: the device enumerator is not available\n", title);
    return;
  }
  std::printf("%s endpoints: %u\n", title, endpoints);
  for (unsigned int i = 0; i < endpoints; ++i) {
    char name[255] = {};
    char id[255] = {};
    if (describe(i, name, id) == 0) std::printf("  %u  %-42s %s\n", i, name, id);
  }
}

}  // namespace

int main() {
#ifndef _WIN32
  sim::InstallReferenceMachine(sim::World::Get());
#endif
  ListEndpoints("Playback", GetNumberPlayDevices, GetPlayBackDevice);
  ListEndpoints("Record", GetNumberRecordDevices, GetRecordDevice);

  char name[255] = {};
  char id[255] = {};
  if (GetPlayBackDevice(0, name, id) != 0) {
    std::printf("No playback endpoint to open.\n");
    return 1;
  }
  const int opened = OpenVirtual_1(id);
  std::printf("OpenVirtual_1(\"%s\") = %d\n", id, opened);

  int status = 0;
  const int before = GetVirtualVolume(&status);
  std::printf("Auxiliary volume before: %d %% (status %d)\n", before, status);
  const int set = SetVirtualVolume(50, &status);
  std::printf("SetVirtualVolume(50) = %d (status %d)\n", set, status);
  const int after = GetVirtualVolume(&status);
  std::printf("Auxiliary volume after: %d %% (status %d)\n", after, status);
  CloseVirtual_1();
  return status == StatusOk && after == 50 ? 0 : 1;
}
