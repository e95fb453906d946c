#include "platform/CodePage.h"

namespace platform {

std::wstring ToWide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string FromWide(std::wstring_view text, UINT codePage, bool* lost) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const DWORD flags = lost ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL usedDefault = FALSE;
  BOOL* used = lost ? &usedDefault : nullptr;
  const int n = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, used);
  std::string narrow(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), n, nullptr, used);
  if (lost && usedDefault) *lost = true;
  return narrow;
}

std::string Recode(std::string_view text, UINT from, UINT to, bool* lost) {
  return FromWide(ToWide(text, from), to, lost);
}

UINT LegacyAnsiCodePage() {
  // The system locale's code page rather than GetACP(), which the manifest turns to UTF-8,
  // and rather than the registry's "ACP", which says UTF-8 too where the user has switched
  // the whole system to it; files written before that are in the locale's code page.
  constexpr UINT kWestern = 1252;
  DWORD codePage = 0;
  if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&codePage), sizeof(codePage) / sizeof(WCHAR)) == 0 ||
      codePage == CP_ACP || codePage == CP_UTF8 || !IsValidCodePage(codePage)) {
    return kWestern;
  }
  return codePage;
}

}  // namespace platform
