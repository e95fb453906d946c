#include "imagelist/FileDialogs.h"

#include <commdlg.h>

#include <cstring>

#include "imagelist/PreviewPane.h"
#include "platform/Paths.h"
#include "platform/Seams.h"
#include "platform/core/PathText.h"

namespace imagelist {

namespace {

constexpr char kAddTitle[] = "Add image file ...";
constexpr char kAddFilter[] =
    "All (*.jpg;*.bmp)|*.jpg;*.bmp|JPEG Image File (*.jpg)|*.jpg|Bitmaps (*.bmp)|*.bmp";
constexpr char kListOpenFilter[] = " Kestrova Listfiles|*.kvl";
constexpr char kListSaveFilter[] = "Kestrova Listflies|*.kvl";
constexpr char kListExtension[] = "kvl";

// Room for the many names of a multi-selection; one path needs far less.
constexpr DWORD kMultiSelectChars = 1u << 20;
constexpr DWORD kSingleChars = 32768;

// Flags every dialog here shares.
constexpr DWORD kCommonFlags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;

bool IsAbsolute(const std::string& name) {
  return (name.size() >= 2 && name[1] == ':') ||
         (name.size() >= 2 && name[0] == '\\' && name[1] == '\\');
}

std::string ChooseListFile(HWND owner, const char* filter, bool save, DialogFolder& last) {
  const std::string filters = DialogFilter(filter);
  const std::string folder = last.Get();
  std::string buffer(kSingleChars, '\0');
  OPENFILENAMEA ofn{.lStructSize = sizeof(OPENFILENAMEA),
                    .hwndOwner = owner,
                    .lpstrFilter = filters.c_str(),
                    .nFilterIndex = 1,
                    .lpstrFile = buffer.data(),
                    .nMaxFile = kSingleChars,
                    .lpstrInitialDir = folder.c_str(),
                    // Replacing another list file loses its entries: the dialog asks first.
                    .Flags = save ? kCommonFlags | OFN_OVERWRITEPROMPT : kCommonFlags,
                    .lpstrDefExt = save ? kListExtension : nullptr};
  if (!platform::seams().fileDialog(ofn, save)) return {};
  buffer.resize(strnlen(buffer.data(), buffer.size()));
  last.Remember(buffer);
  return buffer;
}

}  // namespace

std::string DialogFolder::Get() const {
  return folder_.empty() ? platform::CurrentDirectory() : folder_;
}

void DialogFolder::Remember(const std::string& chosenFile) {
  const size_t separator = chosenFile.find_last_of("\\/");
  if (separator == std::string::npos) return;
  // "C:\x.jpg" is in "C:\", not in "C:" (the drive's current folder).
  folder_ = chosenFile.substr(0, separator == 2 && chosenFile[1] == ':' ? 3 : separator);
}

std::string DialogFilter(const std::string& filter) {
  std::string out = filter;
  for (char& c : out) {
    if (c == '|') c = '\0';
  }
  out.push_back('\0');  // with the string's own zero byte, the closing pair
  return out;
}

std::vector<std::string> SplitSelection(const char* buffer, size_t size) {
  std::vector<std::string> parts;
  size_t at = 0;
  while (at < size && buffer[at] != '\0') {
    const size_t length = strnlen(buffer + at, size - at);
    parts.emplace_back(buffer + at, length);
    at += length + 1;
  }
  if (parts.size() <= 1) return parts;
  const std::string folder = parts.front();
  std::vector<std::string> paths;
  paths.reserve(parts.size() - 1);
  for (size_t i = 1; i < parts.size(); ++i) {
    paths.push_back(IsAbsolute(parts[i]) ? parts[i] : platform::JoinPath(folder, parts[i]));
  }
  return paths;
}

std::vector<std::string> ChooseImageFiles(HWND owner, DialogFolder& last) {
  const std::string filters = DialogFilter(kAddFilter);
  const std::string folder = last.Get();
  std::vector<char> buffer(kMultiSelectChars, '\0');
  std::vector<uint32_t> pane = BuildPreviewPaneTemplate();
  PreviewPaneState paneState;
  OPENFILENAMEA ofn{.lStructSize = sizeof(OPENFILENAMEA),
                    .hwndOwner = owner,
                    // With OFN_ENABLETEMPLATEHANDLE this is the template in memory.
                    .hInstance = reinterpret_cast<HINSTANCE>(pane.data()),
                    .lpstrFilter = filters.c_str(),
                    .nFilterIndex = 1,
                    .lpstrFile = buffer.data(),
                    .nMaxFile = kMultiSelectChars,
                    .lpstrInitialDir = folder.c_str(),
                    .lpstrTitle = kAddTitle,
                    .Flags = kCommonFlags | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                             OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT | OFN_ENABLEHOOK |
                             OFN_ENABLETEMPLATEHANDLE,
                    .lCustData = reinterpret_cast<LPARAM>(&paneState),
                    .lpfnHook = &PreviewPaneHook};
  if (!platform::seams().fileDialog(ofn, false)) return {};
  std::vector<std::string> chosen = SplitSelection(buffer.data(), buffer.size());
  if (!chosen.empty()) last.Remember(chosen.front());
  return chosen;
}

std::string ChooseListFileToLoad(HWND owner, DialogFolder& last) {
  return ChooseListFile(owner, kListOpenFilter, false, last);
}

std::string ChooseListFileToSave(HWND owner, DialogFolder& last) {
  return ChooseListFile(owner, kListSaveFilter, true, last);
}

}  // namespace imagelist
