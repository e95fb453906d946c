#pragma once
// A top-level window of the program, owned by the application's hidden tool window so
// that no form gets a taskbar button.
#include "ui/Window.h"

namespace ui {

class Form : public Window {
 protected:
  Form() = default;
  struct FormLayout {
    const char* className;
    std::string caption;
    DWORD style;
    DWORD exStyle = 0;
    int width;
    int height;
    HICON icon = nullptr;
    HWND owner = nullptr;  // null: the application's hidden window
  };
  void CreateForm(const FormLayout& layout);

  // The close box or a close request from the system; the default hides the form.
  virtual void FormClose() { Hide(); }
  // Every time the form becomes visible.
  virtual void FormShow() {}

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 public:
  // Brings the form to the front, shown and active.
  void BringToFront();
};

// The application's hidden top-level tool window: owner of every form, target of the
// session-end messages, and the message loop.
class Application : public Window {
 public:
  Application();
  ~Application() override;
  static Application* Instance() noexcept;
  HWND Owner() const noexcept { return hwnd(); }

  int Run();
  void Terminate();
  bool Terminated() const noexcept { return terminated_; }

  // Runs once when the session ends (log-off, shutdown), before the process is ended.
  std::function<void()> onEndSession;
  // A close request from outside (taskkill without /F, a script). The window itself is never
  // destroyed by it: that would take every form with it and leave the process running.
  std::function<void()> onCloseRequest;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool terminated_ = false;
  bool sessionEnded_ = false;
};

}  // namespace ui
