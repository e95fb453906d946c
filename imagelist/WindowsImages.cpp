#include "imagelist/WindowsImages.h"

#include <windows.h>

#include <algorithm>
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

// Where Windows 7 to 11 keep their own wallpapers, one folder per theme; nothing stands
// in the Windows directory itself on those systems.
constexpr char kSystemWallpapers[] = "Web\\Wallpaper";
// Deep enough for any theme layout, and an end for a folder that loops back on itself.
constexpr int kMaxWallpaperDepth = 8;

constexpr char kImageExtensions[][4] = {"bmp", "jpg"};

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

void SortByName(std::vector<std::string>& paths) {
  std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
}

std::vector<std::string> SubfoldersOf(const std::string& folder) {
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  platform::UniqueFindFile find(
      FindFirstFileExA(platform::JoinPath(folder, "*").c_str(), FindExInfoBasic, &data,
                       FindExSearchLimitToDirectories, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return found;
  do {
    const std::string name = data.cFileName;
    // A junction could lead back up the tree; the system's themes are plain folders.
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || name == "." ||
        name == "..") {
      continue;
    }
    found.push_back(platform::JoinPath(folder, name));
  } while (FindNextFileA(find.get(), &data));
  SortByName(found);
  return found;
}

// A folder's pictures (bitmaps, then JPEG files, each by name), then its subfolders' by
// folder name: the same order on every machine, whatever order the file system lists in.
void ScanTree(const std::string& folder, int depth, std::vector<std::string>& found) {
  for (const char* extension : kImageExtensions) {
    std::vector<std::string> files = ScanFor(folder, extension);
    SortByName(files);
    found.insert(found.end(), files.begin(), files.end());
  }
  if (depth >= kMaxWallpaperDepth) return;
  for (const std::string& subfolder : SubfoldersOf(folder)) ScanTree(subfolder, depth + 1, found);
}

}  // namespace

void ScanWindowsImages(const std::string& folder,
                       const std::function<void(const std::vector<std::string>&)>& addAll) {
  // Without a folder the patterns would search the current drive's root.
  if (folder.empty() || folder == "\\") return;
  for (const char* extension : kImageExtensions) {
    const std::vector<std::string> found = ScanFor(folder, extension);
    if (!found.empty()) addAll(found);
  }
  std::vector<std::string> wallpapers;
  ScanTree(platform::JoinPath(folder, kSystemWallpapers), 0, wallpapers);
  if (!wallpapers.empty()) addAll(wallpapers);
}

}  // namespace imagelist
