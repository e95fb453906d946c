#include "wallpaper/DesktopColour.h"

#include "ui/FileIO.h"
#include "ui/Seams.h"
#include "ui/core/Error.h"

namespace wallpaper {

void SetDesktopColour(COLORREF colour) {
  const INT element = COLOR_DESKTOP;
  SetLastError(ERROR_SUCCESS);
  if (ui::seams().setSysColors(1, &element, &colour)) return;
  const DWORD code = GetLastError();
  if (code == ERROR_SUCCESS) throw ui::Error("A call to an OS function failed");
  throw ui::Error(ui::Format("System Error.  Code: %d.\r\n%s", static_cast<int>(code),
                             ui::SystemErrorText(code).c_str()));
}

}  // namespace wallpaper
