// Decoding of stored values against std::from_chars: the text up to the first zero byte,
// blanks and an optional sign before the digits, and the range of a 32-bit int.
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "app/core/StoredValue.h"
#include "fuzz/FuzzCheck.h"

namespace {

std::optional<int> ReferenceInteger(std::string_view text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return std::nullopt;
  // from_chars takes a minus sign but no plus sign; after a plus a digit must follow.
  if (text[i] == '+') {
    ++i;
    if (i == text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data() + i, end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* chars = reinterpret_cast<const char*>(data);
  const std::string_view whole(chars, size);
  FUZZ_CHECK(app::ParseInteger(whole) == ReferenceInteger(whole));

  // A registry value as the settings store reads it.
  const std::string text = app::TextUpToZero(chars, size);
  const void* zero = size ? std::memchr(chars, 0, size) : nullptr;
  const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - chars) : size;
  FUZZ_CHECK(text == whole.substr(0, length));

  const std::optional<int> expected = ReferenceInteger(text);
  FUZZ_CHECK(app::ParseInteger(text) == expected);
  for (const int def : {0, 1, -1, 15}) {
    FUZZ_CHECK(app::DecodeInteger(text, def) == expected.value_or(def));
  }
  for (const bool def : {false, true}) {
    FUZZ_CHECK(app::DecodeBool(text, def) == (expected ? *expected != 0 : def));
  }
  return 0;
}
