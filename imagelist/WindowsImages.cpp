#include "imagelist/WindowsImages.h"

#include <windows.h>

#include <chrono>

#include "picture/PictureKind.h"
#include "platform/Handles.h"
#include "platform/core/PathText.h"
#include "ui/Window.h"

namespace imagelist {

namespace {

constexpr DWORD kVolumeLabel = 0x08;  // an attribute the search may report on old file systems

// Longest stretch of reading without delivering messages. Asking for them after every entry
// costs a round trip to the Wine server each time, longer than reading the entry itself.
constexpr auto kMessageInterval = std::chrono::milliseconds(10);

bool SameExtension(const char* name, const char* extension) {
  return lstrcmpiA(picture::ExtensionOf(name).c_str(), extension) == 0;
}

std::vector<std::string> ScanFor(const std::string& folder, const char* extension) {
  using Clock = std::chrono::steady_clock;
  std::vector<std::string> found;
  const std::string pattern = platform::JoinPath(folder, std::string("*.") + extension);
  WIN32_FIND_DATAA data;
  // Names only (no short names to make), fetched in large blocks.
  platform::UniqueFindFile find(FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data,
                                                 FindExSearchNameMatch, nullptr,
                                                 FIND_FIRST_EX_LARGE_FETCH));
  ui::ProcessMessages();
  if (!find) return found;
  Clock::time_point nextMessages = Clock::now() + kMessageInterval;
  do {
    const bool skipped = (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kVolumeLabel)) != 0 ||
                         // The pattern also matches through 8.3 short names, which turns up
                         // "x.bmpx" for "*.bmp"; only the real extension counts.
                         !SameExtension(data.cFileName, extension);
    if (!skipped) found.push_back(platform::JoinPath(folder, data.cFileName));
    if (Clock::now() >= nextMessages) {
      ui::ProcessMessages();
      nextMessages = Clock::now() + kMessageInterval;
    }
  } while (FindNextFileA(find.get(), &data));
  return found;
}

}  // namespace

void ScanWindowsImages(const std::string& folder,
                       const std::function<void(const std::vector<std::string>&)>& addAll) {
  // Without a folder the patterns would search the current drive's root.
  if (folder.empty() || folder == "\\") return;
  for (const char* extension : {"bmp", "jpg"}) {
    const std::vector<std::string> found = ScanFor(folder, extension);
    if (!found.empty()) addAll(found);
  }
}

}  // namespace imagelist
