#include "wallpaper/DesktopColour.h"

#include "platform/FileIO.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"

namespace wallpaper {

void SetDesktopColour(COLORREF colour) {
  const INT element = COLOR_DESKTOP;
  SetLastError(ERROR_SUCCESS);
  if (platform::seams().setSysColors(1, &element, &colour)) return;
  const DWORD code = GetLastError();
  if (code == ERROR_SUCCESS) throw platform::Error("A call to an OS function failed");
  throw platform::Error(platform::Format("System Error.  Code: %d.\r\n%s", static_cast<int>(code),
                                         platform::SystemErrorText(code).c_str()));
}

}  // namespace wallpaper
