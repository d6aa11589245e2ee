// The simulated service's control functions for a test host: load a card, make
// platform calls fail, read the call log and the accounting. On Linux they are
// linked into the host with the service. On Windows the service's COM server
// DLL exports them, so that a host reaches the very world that the library
// under test reaches through CoCreateInstance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32) && defined(VELMORA_SIMULATED_SERVICE_DLL)
#define VELMORA_SIM_API extern "C" __declspec(dllexport)
#elif defined(_WIN32)
#define VELMORA_SIM_API extern "C" __declspec(dllimport)
#else
#define VELMORA_SIM_API extern "C"
#endif

// Forgets everything and loads the card file at `path`. 0 on success; on
// failure the world is empty and the reason is in `error` (cut to `size`).
VELMORA_SIM_API int VelmoraSimLoadCard(const char* path, char* error, std::size_t size);

// Faults and positions count only the calls that the service answers on every
// platform: the calls on its objects, the enumerator's creation (object
// "runtime", method "CoCreateInstance") and its own allocations. The runtime's
// other functions are the platform's on Windows.
//
// From the `fromCall`-th such call on (1 is the first, 0 any), calls on
// `object` to `method` ('*' patterns) answer `result`, `times` times.
VELMORA_SIM_API void VelmoraSimInjectFault(const char* object, const char* method,
                                           std::int32_t result, std::uint64_t fromCall,
                                           std::uint32_t times);
// How many such calls there have been since the card was loaded.
VELMORA_SIM_API std::uint64_t VelmoraSimInjectableCalls(void);
VELMORA_SIM_API std::uint64_t VelmoraSimFaultsInjected(void);
// Whether calls are kept in the log (a long sweep keeps only the count).
VELMORA_SIM_API void VelmoraSimSetRecording(int recording);

// The log of calls on the simulated objects, one call per line:
// "object.Method(arguments) -> result". The runtime's own calls (COM
// initialisation, text conversion, allocation) are left out: on Windows the
// platform answers them, not the service. Returns the bytes the whole text
// needs with its terminator; writes at most `size` of them.
VELMORA_SIM_API std::size_t VelmoraSimCallLog(char* buffer, std::size_t size);
// Every problem found so far (leaked references, blocks not freed, misuse),
// one per line, in the same way.
VELMORA_SIM_API std::size_t VelmoraSimProblems(char* buffer, std::size_t size);
// The control objects the library holds now, one per line:
// "<adapter device ID>\t<part local ID>\t<interface name>", texts in UTF-8.
VELMORA_SIM_API std::size_t VelmoraSimHeldControls(char* buffer, std::size_t size);
// Frees the objects released so far (they stay poisoned until then).
VELMORA_SIM_API void VelmoraSimCollectReleased(void);

namespace sim {

// One of the text functions above, linked in or found with GetProcAddress.
using ServiceTextFunction = std::size_t (*)(char*, std::size_t);

// The whole text that `read` writes out.
inline std::string ReadServiceText(ServiceTextFunction read) {
  std::string text(read(nullptr, 0), '\0');
  read(text.data(), text.size());
  text.pop_back();  // the terminator
  return text;
}

// The same text, a string per line.
inline std::vector<std::string> ReadServiceLines(ServiceTextFunction read) {
  const std::string text = ReadServiceText(read);
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

}  // namespace sim
