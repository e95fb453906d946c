#include "ui/Window.h"

#include <commctrl.h>

#include <set>

#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/ErrorBox.h"
#include "ui/Timer.h"
#include "platform/core/Error.h"

namespace ui {

namespace {

void RegisterOnce(const char* className, UINT classStyle, HBRUSH background, HICON icon,
                  WNDPROC proc) {
  static std::set<std::string> registered;
  if (registered.count(className)) return;
  WNDCLASSEXA wc{
      .cbSize = sizeof(WNDCLASSEXA),
      .style = classStyle,
      .lpfnWndProc = proc,
      .hInstance = GetModuleHandleA(nullptr),
      .hIcon = icon,
      .hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
      .hbrBackground = background,
      .lpszClassName = className,
  };
  RegisterClassExA(&wc);
  registered.insert(className);
}

}  // namespace

Window::~Window() {
  // Detached first: the messages of its destruction find no object. hwnd_ then destroys it.
  if (hwnd_) {
    SetWindowLongPtrA(hwnd(), GWLP_USERDATA, 0);
    for (auto& [id, timer] : timers_) KillTimer(hwnd(), id);
  }
}

void Window::CreateHwnd(const Layout& layout) {
  RegisterOnce(layout.className, layout.classStyle, layout.background, layout.icon, &Window::Proc);
  CreateWindowExA(layout.exStyle, layout.className, layout.caption.c_str(), layout.style,
                  ScaleToDpi(layout.x), ScaleToDpi(layout.y), ScaleToDpi(layout.width),
                  ScaleToDpi(layout.height), layout.parent, nullptr, GetModuleHandleA(nullptr),
                  this);
  if (!hwnd_)
    throw platform::Error(platform::Format("Error creating window class %s", layout.className));
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->hwnd_.reset(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_.release();
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  try {
    result = self->OnMessage(msg, wp, lp);
  } catch (...) {
    ReportCurrentException();
  }
  return result;
}

Window* Window::FromHwnd(HWND hwnd) noexcept {
  if (!hwnd || reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != &Window::Proc)
    return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool Window::RouteToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      child = reinterpret_cast<HWND>(lp);
      break;
    default:
      return false;
  }
  Control* control = Control::FromHwnd(child);
  if (!control) return false;
  return control->OnParentNotify(msg, wp, lp, result);
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (RouteToControl(msg, wp, lp, result)) return result;
  if (msg == WM_TIMER) {
    auto it = timers_.find(wp);
    if (it != timers_.end()) {
      it->second->Fire();
      return 0;
    }
  }
  return Default(msg, wp, lp);
}

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd(), msg, wp, lp);
}

bool Window::Visible() const noexcept {
  return hwnd_ && (GetWindowLongA(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Window::Show() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
}
void Window::ShowInactive() {
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}
void Window::Hide() {
  ShowWindow(hwnd(), SW_HIDE);
}

void Window::SetText(const std::string& text) {
  SetWindowTextA(hwnd(), text.c_str());
}

std::string Window::Text() const {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd())) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(hwnd(), text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT Window::Bounds() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  if (HWND parent = GetParent(hwnd()); parent && (GetWindowLongA(hwnd(), GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

int Window::Width() const {
  const RECT r = Bounds();
  return r.right - r.left;
}

int Window::Height() const {
  const RECT r = Bounds();
  return r.bottom - r.top;
}

void Window::MoveTo(int left, int top) {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Window::ClientWidth() const {
  RECT r{};
  GetClientRect(hwnd(), &r);
  return ScaleFromDpi(r.right);
}

int Window::ClientHeight() const {
  RECT r{};
  GetClientRect(hwnd(), &r);
  return ScaleFromDpi(r.bottom);
}

Panel::Panel(HWND parent, const Layout& layout) {
  CreateHwnd({.className = "TPanel",
              .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
              .exStyle = layout.exStyle | WS_EX_CONTROLPARENT,
              .x = layout.x,
              .y = layout.y,
              .width = layout.width,
              .height = layout.height,
              .parent = parent});
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave it for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Window::KeepWithinWorkArea() {
  const RECT bounds = Bounds();
  const POINT at = WithinWorkArea(bounds);
  if (at.x != bounds.left || at.y != bounds.top) MoveTo(at.x, at.y);
}

int CentredOffset(int screenSize, int windowSize) {
  return screenSize / 2 - windowSize / 2;
}
int ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
  return GetSystemMetrics(SM_CYSCREEN);
}

namespace {
int SystemDpi() {
  const platform::WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kLayoutDpi;
}
}  // namespace

int ScaleToDpi(int layoutPixels) {
  return MulDiv(layoutPixels, SystemDpi(), kLayoutDpi);
}

int ScaleFromDpi(int pixels) {
  return MulDiv(pixels, kLayoutDpi, SystemDpi());
}

POINT WithinWorkArea(const RECT& bounds) {
  MONITORINFO monitor{.cbSize = sizeof(MONITORINFO)};
  if (!GetMonitorInfoA(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return {bounds.left, bounds.top};
  }
  const RECT& work = monitor.rcWork;
  auto fit = [](LONG at, LONG size, LONG first, LONG end) {
    if (at + size > end) at = end - size;
    return at < first ? first : at;
  };
  return {fit(bounds.left, bounds.right - bounds.left, work.left, work.right),
          fit(bounds.top, bounds.bottom - bounds.top, work.top, work.bottom)};
}

}  // namespace ui
