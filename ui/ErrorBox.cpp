#include "ui/ErrorBox.h"

#include <exception>
#include <new>

#include "platform/Seams.h"
#include "platform/core/Error.h"

namespace ui {

namespace {
HWND g_owner = nullptr;
BoxWatch* g_watch = nullptr;

// Shows one box through show(owner), unless the watch refuses it.
template <typename F>
void WatchedBox(bool question, F&& show) noexcept {
  HWND owner = g_owner;
  if (g_watch && !g_watch->BoxOpening(question, owner)) return;
  try {
    show(owner);
  } catch (...) {
    // A failing seam must not take the dispatch down with it.
  }
  if (g_watch) g_watch->BoxClosed();
}
}  // namespace

void SetErrorBoxOwner(HWND owner) noexcept {
  g_owner = owner;
}

void SetBoxWatch(BoxWatch* watch) noexcept {
  g_watch = watch;
}

void ShowErrorBox(const std::string& text) noexcept {
  WatchedBox(false,
             [&](HWND owner) { platform::seams().errorBox(owner, platform::ErrorBoxText(text)); });
}

bool AskYesNo(const std::string& text) noexcept {
  bool yes = false;
  WatchedBox(true, [&](HWND owner) { yes = platform::seams().question(owner, text); });
  return yes;
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
