#include "platform/Paths.h"

#include <windows.h>

namespace platform {

std::string CurrentDirectory() {
  std::string dir(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(dir.size()), dir.data());
    if (n == 0) return {};
    if (n < dir.size()) {
      dir.resize(n);
      return dir;
    }
    dir.assign(n, '\0');  // n is the size needed, its zero byte included
  }
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FolderOfExists(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return true;
  std::string folder = path.substr(0, cut);
  // "C:" alone names the drive's current directory; its root is what must be there.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return PathExists(folder);
}

}  // namespace platform
