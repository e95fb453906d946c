#pragma once
// The one place that shows the standard error box, and the guard that every event
// dispatch runs its reaction in, so no exception ever crosses a Win32 callback frame.
#include <windows.h>

#include <string>

namespace ui {

// Owner window of the error box (the application's hidden owner window).
void SetErrorBoxOwner(HWND owner) noexcept;

// Told of every box the program opens (the error box and the question). BoxOpening may give
// the box another owner, whose window it then blocks, or refuse it: a refused box is
// answered as its OK (the error box) or its No (the question) would be.
class BoxWatch {
 public:
  virtual bool BoxOpening(bool question, HWND& owner) noexcept = 0;
  virtual void BoxClosed() noexcept = 0;

 protected:
  ~BoxWatch() = default;
};
void SetBoxWatch(BoxWatch* watch) noexcept;

// Shows text in the standard error box (full stop added by the box's rule).
void ShowErrorBox(const std::string& text) noexcept;

// The program's one question box: Yes and No (the default), the application title as
// caption. True for Yes.
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
