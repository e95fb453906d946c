#include "security/core/Scramble.h"

namespace security {

namespace {

// 0-based index of the key character that text index i (0-based) meets.
size_t KeyIndex(size_t i, size_t keyLength) {
  return (i + 1) % keyLength;
}

}  // namespace

std::string ScrambleText(std::string_view text, std::string_view key) {
  std::string out(text);
  if (key.empty()) return out;
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char>(static_cast<unsigned char>(out[i]) ^
                               static_cast<unsigned char>(key[KeyIndex(i, key.size())]));
  }
  return out;
}

int UnstorablePosition(std::string_view password, std::string_view key) {
  if (key.empty()) {
    // Without a key the text is stored as it is: only a zero character itself is lost.
    const size_t zero = password.find('\0');
    return zero == std::string_view::npos ? 0 : static_cast<int>(zero + 1);
  }
  for (size_t i = 0; i < password.size(); ++i) {
    if (password[i] == key[KeyIndex(i, key.size())]) return static_cast<int>(i + 1);
  }
  return 0;
}

}  // namespace security
