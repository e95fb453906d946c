#include "app/core/StoredValue.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace app {

std::optional<int> ParseInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return std::nullopt;
  // Accumulate the magnitude in 64 bits and stop as soon as it cannot fit, so that any
  // number of digits is safe.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<int>(negative ? -magnitude : magnitude);
}

int DecodeInteger(const std::optional<std::string>& stored, int def) {
  if (!stored) return def;
  return ParseInteger(*stored).value_or(def);
}

bool DecodeBool(const std::optional<std::string>& stored, bool def) {
  return DecodeInteger(stored, def ? 1 : 0) != 0;
}

std::string TextUpToZero(const char* data, size_t byteCount) {
  if (data == nullptr || byteCount == 0) return {};
  const void* zero = std::memchr(data, 0, byteCount);
  const size_t length =
      zero ? static_cast<size_t>(static_cast<const char*>(zero) - data) : byteCount;
  return std::string(data, length);
}

}  // namespace app
