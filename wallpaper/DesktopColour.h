#pragma once
// The plain desktop colour of the current logon (not saved in the user's profile).
#include <windows.h>

namespace wallpaper {

// The five colours of the "Background Color" menu; red, blue and green at half intensity.
inline constexpr COLORREF kDesktopBlack = RGB(0, 0, 0);
inline constexpr COLORREF kDesktopWhite = RGB(255, 255, 255);
inline constexpr COLORREF kDesktopRed = RGB(128, 0, 0);
inline constexpr COLORREF kDesktopBlue = RGB(0, 0, 128);
inline constexpr COLORREF kDesktopGreen = RGB(0, 128, 0);

// SetSysColors for COLOR_DESKTOP. A refusal throws "System Error.  Code: %d.\r\n%s" with the
// system's text for its last error, or "A call to an OS function failed" without one.
void SetDesktopColour(COLORREF colour);

}  // namespace wallpaper
