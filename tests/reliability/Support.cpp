#include "Support.h"

#include <psapi.h>

namespace reliabilitytest {

size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof(counters));
  if (counters.PrivateUsage != 0) return counters.PrivateUsage;
  // Wine reports no PrivateUsage: add up the committed private regions instead.
  size_t total = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (const char* at = nullptr; VirtualQuery(at, &info, sizeof(info)) == sizeof(info);
       at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

}  // namespace reliabilitytest
