#include "ui/ErrorBox.h"

#include <exception>
#include <new>

#include "platform/AppTitle.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"

namespace ui {

namespace {
HWND g_owner = nullptr;
}

void SetErrorBoxOwner(HWND owner) noexcept {
  g_owner = owner;
}

void ShowErrorBox(const std::string& text) noexcept {
  try {
    platform::seams().errorBox(g_owner, platform::ErrorBoxText(text));
  } catch (...) {
    // A failing seam must not take the dispatch down with it.
  }
}

bool AskYesNo(const std::string& text) noexcept {
  return MessageBoxA(g_owner, text.c_str(), platform::kAppTitle, MB_YESNO | MB_ICONWARNING) ==
         IDYES;
}

void ReportCurrentException() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    ShowErrorBox("Out of memory");
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  } catch (...) {
    ShowErrorBox("Unknown error");
  }
}

}  // namespace ui
