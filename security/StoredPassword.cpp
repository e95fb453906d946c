#include "security/StoredPassword.h"

#include <vector>

#include "security/core/Scramble.h"
#include "platform/CodePage.h"

namespace security {

namespace {

std::string Scrambled(const std::string& text) {
  if (text.empty()) return {};
  const UINT legacy = platform::LegacyAnsiCodePage();
  const std::string bytes = platform::Recode(text, CP_ACP, legacy);
  return platform::Recode(ScrambleText(bytes, kPasswordKey), legacy, CP_ACP);
}

}  // namespace

std::string PasswordFromStored(const std::string& stored) {
  return Scrambled(stored);
}

std::string StoredFromPassword(const std::string& password) {
  return Scrambled(password);
}

int UnstorablePasswordPosition(const std::string& password) {
  const UINT legacy = platform::LegacyAnsiCodePage();
  const std::wstring wide = platform::ToWide(password);
  std::string bytes;
  std::vector<int> positionOfByte;
  int position = 0;
  for (size_t i = 0; i < wide.size(); ++i) {
    const int units = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() ? 2 : 1;
    ++position;
    char encoded[8] = {};
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(legacy, WC_NO_BEST_FIT_CHARS, wide.data() + i, units, encoded,
                                      sizeof(encoded), nullptr, &lost);
    if (n <= 0 || lost) return position;
    bytes.append(encoded, static_cast<size_t>(n));
    positionOfByte.insert(positionOfByte.end(), static_cast<size_t>(n), position);
    i += static_cast<size_t>(units - 1);
  }
  const int zero = UnstorablePosition(bytes, kPasswordKey);
  return zero == 0 ? 0 : positionOfByte[static_cast<size_t>(zero - 1)];
}

}  // namespace security
