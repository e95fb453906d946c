#include "platform/Wine.h"

#include <windows.h>

namespace platform {

bool RunningUnderWine() noexcept {
  // Wine's ntdll exports its version; Windows' does not.
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace platform
