#pragma once
// The one place that shows the standard error box, and the guard that every event
// dispatch runs its reaction in, so no exception ever crosses a Win32 callback frame.
#include <windows.h>

#include <string>

namespace ui {

// Owner window of the error box (the application's hidden owner window).
void SetErrorBoxOwner(HWND owner) noexcept;

// Shows text in the standard error box (full stop added by the box's rule).
void ShowErrorBox(const std::string& text) noexcept;

// The program's one question box: Yes and No, the application title as caption. True for Yes.
bool AskYesNo(const std::string& text) noexcept;

// To be called inside a catch block: shows the caught exception's text.
void ReportCurrentException() noexcept;

template <typename F>
void Guarded(F&& reaction) noexcept {
  try {
    reaction();
  } catch (...) {
    ReportCurrentException();
  }
}

}  // namespace ui
