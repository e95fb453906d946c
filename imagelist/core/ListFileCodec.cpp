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

}  // namespace

std::vector<std::string> ParseListFile(std::string_view bytes) {
  bytes = bytes.substr(0, NextOf(bytes, '\0', 0));
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
    entries.emplace_back(bytes.data() + pos, end - pos);
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
