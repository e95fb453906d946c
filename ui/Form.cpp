#include "ui/Form.h"

#include "platform/AppTitle.h"
#include "ui/ErrorBox.h"

namespace ui {

namespace {
Application* g_application = nullptr;
}

void Form::CreateForm(const FormLayout& layout) {
  Application* app = Application::Instance();
  CreateHwnd({.className = layout.className,
              .caption = layout.caption,
              .style = layout.style,
              .exStyle = layout.exStyle | WS_EX_CONTROLPARENT,
              .x = 0,
              .y = 0,
              .width = layout.width,
              .height = layout.height,
              .parent = layout.owner ? layout.owner : (app ? app->Owner() : nullptr),
              .icon = layout.icon});
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
    default:
      break;
  }
  return Window::OnMessage(msg, wp, lp);
}

void Form::BringToFront() {
  Show();
  SetForegroundWindow(hwnd());
}

Application::Application() {
  CreateHwnd({.className = "TApplication",
              .caption = platform::kAppTitle,
              .style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
              .exStyle = WS_EX_TOOLWINDOW,
              .x = 0,
              .y = 0,
              .width = 0,
              .height = 0});
  g_application = this;
  SetErrorBoxOwner(hwnd());
}

Application::~Application() {
  if (g_application == this) g_application = nullptr;
  SetErrorBoxOwner(nullptr);
}

Application* Application::Instance() noexcept {
  return g_application;
}

int Application::Run() {
  MSG msg;
  while (!terminated_) {
    // The W forms: a typed character outside the keyboard's code page stays whole on its way
    // to a field (ANSI windows still get their messages converted by the system).
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (Window* window = Window::FromHwnd(root); window && window->PreTranslate(msg)) continue;
    if (!IsDialogMessageW(root, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}

void Application::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

LRESULT Application::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_QUERYENDSESSION:
      return TRUE;  // a log-off is never blocked
    case WM_CLOSE:
      Guarded([this] {
        if (onCloseRequest) onCloseRequest();
      });
      return 0;
    case WM_ENDSESSION:
      if (wp && !sessionEnded_) {
        sessionEnded_ = true;
        Guarded([this] {
          if (onEndSession) onEndSession();
        });
        // An installer or the Restart Manager closing this program alone: the session
        // goes on, so the program ends itself (removing its icon) instead of waiting to
        // be terminated.
        if (static_cast<DWORD>(lp) & ENDSESSION_CLOSEAPP) Terminate();
      }
      return 0;
    default:
      return Window::OnMessage(msg, wp, lp);
  }
}

}  // namespace ui
