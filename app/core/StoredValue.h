#pragma once
// Decoding of the settings store's values. Every value is registry text: integers as
// decimal text, booleans as "0"/"1". A value that is absent or does not read as a number
// falls back to the caller's default without a word.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// Decimal text with optional leading blanks and an optional sign; the number must fit a
// 32-bit int. Anything else (trailing characters, empty text, overflow) is nullopt.
std::optional<int> ParseInteger(std::string_view text);

// `stored` is nullopt when the value is absent.
int DecodeInteger(const std::optional<std::string>& stored, int def);

// Read as an integer with the default 1 or 0; any number but 0 is true ("2" too).
bool DecodeBool(const std::optional<std::string>& stored, bool def);

// Registry text up to its first zero byte. The stored data need not carry a terminator
// (hand-made values often do not), so never read past byteCount.
std::string TextUpToZero(const char* data, size_t byteCount);

}  // namespace app
