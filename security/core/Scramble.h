#pragma once
// The exclusive-or scrambling of the stored settings password. Scrambling and
// unscrambling are the same operation.
#include <string>
#include <string_view>

namespace security {

inline constexpr char kPasswordKey[] = "wqkzdvmrt";

// Character p (1-based) is combined with key character ((p mod L) + 1): the first text
// character meets the key's second character, and after the key's last character the
// count goes on with its first. An empty key leaves the text as it is.
std::string ScrambleText(std::string_view text, std::string_view key);

// The 1-based position of the first character that scrambles to the zero character (it
// equals the key character it meets), or 0 when there is none. The settings store reads a
// text only up to its first zero byte, so such a password would come back shortened: it
// must be refused rather than stored.
int UnstorablePosition(std::string_view password, std::string_view key);

}  // namespace security
