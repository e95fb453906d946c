// The list-file reader against a byte-at-a-time reading of the same rules, and the round
// trip through the writer: a list that was read must come back unchanged once saved.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "imagelist/core/ListFileCodec.h"

namespace {

// Each byte past 127 as "?": always UTF-8, so a saved list reads back unchanged.
std::string Decode8Bit(std::string_view line) {
  std::string out(line);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) > 127) c = '?';
  }
  return out;
}

// UTF-8 by decoding each code point and refusing what the standard refuses.
bool ReferenceIsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const size_t length = lead < 0x80       ? 1
                          : lead >> 5 == 6  ? 2
                          : lead >> 4 == 14 ? 3
                          : lead >> 3 == 30 ? 4
                                            : 0;
    if (length == 0 || i + length > s.size()) return false;
    uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if (b >> 6 != 2) return false;
      cp = cp << 6 | (b & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::vector<std::string> ReferenceParse(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::vector<std::string> entries;
  std::string line;
  bool open = false;  // a line has started and has not ended yet
  const auto end = [&] { entries.push_back(ReferenceIsUtf8(line) ? line : Decode8Bit(line)); };
  for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      end();
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) end();
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = imagelist::ParseListFile(bytes, Decode8Bit);
  FUZZ_CHECK(entries == ReferenceParse(bytes));
  for (const std::string& entry : entries) {
    FUZZ_CHECK(entry.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    FUZZ_CHECK(imagelist::IsUtf8(entry));
  }
  // A first entry that begins with a byte-order mark loses it when read again.
  if (!entries.empty() && entries[0].starts_with("\xEF\xBB\xBF")) return 0;
  const std::string saved = imagelist::SerializeListFile(entries);
  FUZZ_CHECK(imagelist::ParseListFile(saved, Decode8Bit) == entries);
  return 0;
}
