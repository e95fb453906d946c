#include "imagelist/ListFile.h"

#include <string_view>

#include "imagelist/core/ListFileCodec.h"
#include "ui/FileIO.h"

namespace imagelist {

std::vector<std::string> ReadListFileEntries(const std::string& path) {
  const std::vector<uint8_t> bytes = ui::ReadWholeFile(path);
  return ParseListFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void WriteListFileEntries(const std::string& path, const std::vector<std::string>& entries) {
  const std::string text = SerializeListFile(entries);
  ui::SafeFileWriter writer(path);
  writer.Append(text.data(), text.size());
  writer.Commit();
}

std::string DefaultListFilePath(const std::string& folder) {
  // A drive's root already ends with its backslash.
  if (!folder.empty() && folder.back() == '\\') return folder + "default.kvl";
  return folder + "\\default.kvl";
}

}  // namespace imagelist
