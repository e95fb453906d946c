// The list-file reader against a byte-at-a-time reading of the same rules, and the round
// trip through the writer: a list that was read must come back unchanged once saved.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "imagelist/core/ListFileCodec.h"

namespace {

std::vector<std::string> ReferenceParse(std::string_view bytes) {
  std::vector<std::string> entries;
  std::string line;
  bool open = false;  // a line has started and has not ended yet
  for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      entries.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) entries.push_back(line);
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = imagelist::ParseListFile(bytes);
  FUZZ_CHECK(entries == ReferenceParse(bytes));
  for (const std::string& entry : entries) {
    FUZZ_CHECK(entry.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
  }
  const std::string saved = imagelist::SerializeListFile(entries);
  FUZZ_CHECK(imagelist::ParseListFile(saved) == entries);
  return 0;
}
