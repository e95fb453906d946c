#pragma once
// Thin window layer: a window object owns its HWND, registers its window class once
// (named after the C++ class), finds itself from the HWND in one static procedure and
// runs every reaction inside the error guard.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "platform/Handles.h"

namespace ui {

class Control;
class Timer;

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const noexcept { return hwnd_.get(); }
  bool Visible() const noexcept;
  void Show();
  void ShowInactive();  // shown, leaving the keyboard where it is
  void Hide();
  void SetText(const std::string& text);
  std::string Text() const;
  // Outer bounds: screen coordinates for top-level windows, client coordinates of
  // the parent for child windows.
  RECT Bounds() const;
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const;
  int Height() const;
  void MoveTo(int left, int top);
  // Moves a top-level window that reaches out of the work area of its monitor back into
  // it (after a change of the display, a position kept from before can lie off the
  // screen); one wholly inside stays where it is.
  void KeepWithinWorkArea();
  void SetBounds(int left, int top, int width, int height);
  int ClientWidth() const;
  int ClientHeight() const;

  // The window object of one of our windows, or null.
  static Window* FromHwnd(HWND hwnd) noexcept;
  // Offered every message of the loop for which this is the top-level window, before the
  // dialog manager; true when it was used.
  virtual bool PreTranslate(const MSG&) { return false; }

 protected:
  Window() = default;

  struct Layout {
    const char* className;
    std::string caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    HICON icon = nullptr;
    UINT classStyle = 0;
  };
  void CreateHwnd(const Layout& layout);

  // Handles one message; the default routes control notifications and timers and
  // then calls DefWindowProcA.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

 private:
  friend class Timer;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool RouteToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // Taken at WM_NCCREATE, let go at WM_NCDESTROY: a window destroyed by others is not ours
  // to free any more.
  platform::UniqueWindow hwnd_;
  std::map<UINT_PTR, Timer*> timers_;
};

// A plain child container (a page of the settings window, a frame panel): routes the
// notifications of its controls like any window of ours.
class Panel : public Window {
 public:
  struct Layout {
    int x = 0, y = 0, width = 0, height = 0;
    DWORD exStyle = 0;  // WS_EX_CLIENTEDGE: a lowered frame
  };
  Panel(HWND parent, const Layout& layout);
};

// Lets the window system deliver pending messages (used by long scans).
void ProcessMessages();

// Centre by integer halves: screen size div 2 - window size div 2.
int CentredOffset(int screenSize, int windowSize);
int ScreenWidth();
int ScreenHeight();

// The top left corner that puts a window of these bounds wholly inside the work area of
// the monitor nearest to them, moved as little as it can be; a window larger than the work
// area keeps its top left corner (and so its caption) on the screen.
POINT WithinWorkArea(const RECT& bounds);

}  // namespace ui
