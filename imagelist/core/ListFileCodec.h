#pragma once
// The list file: plain 8-bit text, one full path per line, every line ended by CR LF, no
// header or framing. Reading accepts the line ends that other programs write.
#include <string>
#include <string_view>
#include <vector>

namespace imagelist {

// CR LF, a lone CR or a lone LF ends a line; a zero byte ends the text. Lines are kept
// exactly (no trimming, an empty line is an empty entry); the line end at the very end adds
// no entry.
std::vector<std::string> ParseListFile(std::string_view bytes);

// Every entry followed by CR LF; an empty list is empty text. Entries never hold CR, LF or
// zero bytes (they are Windows paths), so ParseListFile gives them back unchanged.
std::string SerializeListFile(const std::vector<std::string>& entries);

}  // namespace imagelist
