#pragma once
// Text between the process's code page, UTF-16 and other code pages. The manifest makes
// UTF-8 the process's code page; systems before Windows 10 1903 ignore that and keep the
// system's 8-bit one, so nothing here assumes either.
#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

std::wstring ToWide(std::string_view text, UINT codePage = CP_ACP);
// With lost given, a character the code page does not hold becomes its default character
// (no look-alike, which could name another file) and *lost is set.
std::string FromWide(std::wstring_view text, UINT codePage = CP_ACP, bool* lost = nullptr);
// Text of one code page in another, through UTF-16; lost as for FromWide.
std::string Recode(std::string_view text, UINT from, UINT to, bool* lost = nullptr);

// The 8-bit code page that programs without the UTF-8 setting use on this system: that of
// the system locale ("language for non-Unicode programs"). Windows-1252 where the locale
// has none.
UINT LegacyAnsiCodePage();

}  // namespace platform
