#include "imagelist/core/ListFileCodec.h"

#include <algorithm>
#include <cstring>

namespace imagelist {

namespace {

// Position of the next `c` at or after `from`, or the end of the text.
size_t NextOf(std::string_view text, char c, size_t from) {
  if (from >= text.size()) return text.size();
  const void* hit = std::memchr(text.data() + from, c, text.size() - from);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      ++p;
      continue;
    }
    // The second byte's range excludes overlong forms, surrogates and code points past
    // U+10FFFF; the bytes after it are plain continuation bytes.
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
      length = 2;
    } else if (InRange(lead, 0xE0, 0xEF)) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (InRange(lead, 0xF0, 0xF4)) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (static_cast<size_t>(end - p) < length || !InRange(p[1], low, high)) return false;
    for (size_t i = 2; i < length; ++i) {
      if (!InRange(p[i], 0x80, 0xBF)) return false;
    }
    p += length;
  }
  return true;
}

std::vector<std::string> ParseListFile(std::string_view bytes,
                                       const LegacyLineDecoder& decodeLegacy) {
  bytes = bytes.substr(0, NextOf(bytes, '\0', 0));
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  // Size the result first, so that large lists do not reallocate as they grow (exact for
  // files with one kind of line end).
  const auto lineFeeds = std::count(bytes.begin(), bytes.end(), '\n');
  const auto returns = std::count(bytes.begin(), bytes.end(), '\r');
  std::vector<std::string> entries;
  entries.reserve(static_cast<size_t>(std::max(lineFeeds, returns)) + 1);

  // The next CR and the next LF are each looked for only once they are passed, so that
  // every byte is searched at most twice whatever line ends the file uses.
  size_t nextCr = NextOf(bytes, '\r', 0);
  size_t nextLf = NextOf(bytes, '\n', 0);
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = std::min(nextCr, nextLf);
    const std::string_view line = bytes.substr(pos, end - pos);
    if (decodeLegacy && !IsUtf8(line)) {
      entries.push_back(decodeLegacy(line));
    } else {
      entries.emplace_back(line);
    }
    if (end == bytes.size()) break;
    pos = end + 1;
    if (end == nextCr && pos == nextLf) ++pos;  // CR LF
    if (nextCr < pos) nextCr = NextOf(bytes, '\r', pos);
    if (nextLf < pos) nextLf = NextOf(bytes, '\n', pos);
  }
  return entries;
}

std::string SerializeListFile(const std::vector<std::string>& entries) {
  size_t total = 0;
  for (const std::string& entry : entries) total += entry.size() + 2;
  std::string out;
  out.reserve(total);
  for (const std::string& entry : entries) {
    out.append(entry);
    out.append("\r\n", 2);
  }
  return out;
}

}  // namespace imagelist
