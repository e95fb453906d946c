#include "imagelist/ListFile.h"

#include <windows.h>

#include <string_view>

#include "imagelist/core/ListFileCodec.h"
#include "platform/CodePage.h"
#include "platform/FileIO.h"
#include "platform/core/PathText.h"

namespace imagelist {

namespace {

// The file is UTF-8 and the entries are in the process's code page: the same under the
// manifest, but not on systems that ignore it.
bool ProcessUsesUtf8() {
  return GetACP() == CP_UTF8;
}

}  // namespace

std::vector<std::string> ReadListFileEntries(const std::string& path, bool* lostCharacters) {
  if (lostCharacters) *lostCharacters = false;
  const std::vector<uint8_t> bytes = platform::ReadWholeFile(path);
  const UINT legacy = platform::LegacyAnsiCodePage();
  std::vector<std::string> entries = ParseListFile(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
      [legacy](std::string_view line) { return platform::Recode(line, legacy, CP_UTF8); });
  if (!ProcessUsesUtf8()) {
    bool lost = false;
    for (std::string& entry : entries) {
      entry = platform::Recode(entry, CP_UTF8, CP_ACP, &lost);
    }
    if (lostCharacters) *lostCharacters = lost;
  }
  return entries;
}

void WriteListFileEntries(const std::string& path, const std::vector<std::string>& entries) {
  std::string text;
  if (ProcessUsesUtf8()) {
    text = SerializeListFile(entries);
  } else {
    std::vector<std::string> utf8;
    utf8.reserve(entries.size());
    for (const std::string& entry : entries)
      utf8.push_back(platform::Recode(entry, CP_ACP, CP_UTF8));
    text = SerializeListFile(utf8);
  }
  platform::SafeFileWriter writer(path);
  writer.Append(text.data(), text.size());
  writer.Commit();
}

std::string DefaultListFilePath(const std::string& folder) {
  return platform::JoinPath(folder, "default.kvl");
}

}  // namespace imagelist
