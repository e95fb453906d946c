#include "imagelist/WindowsImages.h"

#include <windows.h>

#include "imagelist/core/PreviewGeometry.h"
#include "ui/Handles.h"
#include "ui/Window.h"

namespace imagelist {

namespace {

constexpr DWORD kVolumeLabel = 0x08;  // an attribute the search may report on old file systems

bool SameExtension(const std::string& name, const char* extension) {
  return lstrcmpiA(ExtensionOf(name).c_str(), extension) == 0;
}

void ScanFor(const std::string& folder, const char* extension,
             const std::function<void(const std::string&)>& add) {
  const std::string pattern = folder + "\\*." + extension;
  WIN32_FIND_DATAA data;
  ui::UniqueFindFile find(FindFirstFileA(pattern.c_str(), &data));
  if (!find) return;
  do {
    const bool skipped = (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kVolumeLabel)) != 0 ||
                         // The pattern also matches through 8.3 short names, which turns up
                         // "x.bmpx" for "*.bmp"; only the real extension counts.
                         !SameExtension(data.cFileName, extension);
    if (!skipped) add(folder + "\\" + data.cFileName);
    ui::ProcessMessages();
  } while (FindNextFileA(find.get(), &data));
}

}  // namespace

void ScanWindowsImages(const std::string& folder,
                       const std::function<void(const std::string&)>& add) {
  std::string base = folder;
  // A drive's root comes with its backslash; every other folder without.
  if (!base.empty() && base.back() == '\\') base.pop_back();
  if (base.empty()) return;
  ScanFor(base, "bmp", add);
  ScanFor(base, "jpg", add);
}

}  // namespace imagelist
