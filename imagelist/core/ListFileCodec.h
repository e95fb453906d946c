#pragma once
// The list file: UTF-8 text without a byte-order mark, one full path per line, every line
// ended by CR LF, no header or framing. Reading accepts the line ends that other programs
// write, a leading byte-order mark, and lines that earlier versions wrote in the system's
// 8-bit code page.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace imagelist {

// Text of a line that is not UTF-8, decoded from its 8-bit code page into UTF-8.
using LegacyLineDecoder = std::function<std::string(std::string_view line)>;

// Whether the text is well-formed UTF-8: no overlong forms, surrogates or code points
// above U+10FFFF.
bool IsUtf8(std::string_view text);

// CR LF, a lone CR or a lone LF ends a line; a zero byte ends the text; a UTF-8 byte-order
// mark at the very start is skipped. Lines are kept exactly (no trimming, an empty line is
// an empty entry); the line end at the very end adds no entry. A line that is not UTF-8
// goes through decodeLegacy when one is given, and is kept as it is otherwise.
std::vector<std::string> ParseListFile(std::string_view bytes,
                                       const LegacyLineDecoder& decodeLegacy = nullptr);

// Every entry followed by CR LF; an empty list is empty text. Entries never hold CR, LF or
// zero bytes (they are Windows paths), so ParseListFile gives them back unchanged, unless
// the first begins with a byte-order mark.
std::string SerializeListFile(const std::vector<std::string>& entries);

}  // namespace imagelist
