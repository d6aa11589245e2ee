// A host that knows the library only from its header and an import library:
// it links only if the import library offers the names the header makes the
// compiler ask for.
#include <cstdio>

#include "VelmoraSound.h"

int main() {
  unsigned int count = 0;
  int status = -1;
  const int counted = GetNumberPlayDevices(&count);
  GetMasterVolume(&status);
  const bool ok = counted == 0 && status == StatusNotOpen && CloseSoundCard(0) == 0;
  std::printf("%d passed, %d failed\n", ok ? 1 : 0, ok ? 0 : 1);
  return ok ? 0 : 1;
}
