// Program entry: no taskbar button, no visible window at start; the windows are created
// in their fixed order and live until the message loop ends.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/SingleInstance.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "security/Unit4.h"
#include "security/Unit5.h"
#include "ui/ErrorBox.h"
#include "ui/Form.h"

namespace {
// How long a second start waits for the running copy to answer.
constexpr DWORD kActivateTimeoutMs = 10000;

// A second start that found no running copy's window to ask: said in the message window,
// until its "Ok".
void ShowUnreachableNotice() {
  try {
    ui::Application application;
    app::TForm3 notice;
    notice.bt2->onClick = [&application] { application.Terminate(); };
    notice.ShowNotice("Papershift 7 is already running",
                      "Another copy of Papershift 7 is running but does not answer, so its "
                      "settings cannot be shown. Only one copy runs at a time, as all copies "
                      "share one set of settings: wait for it, or end it in the Task Manager, "
                      "and start Papershift 7 again.",
                      1);
    application.Run();
  } catch (...) {
    ui::ReportCurrentException();
  }
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX icc{.dwSize = sizeof(icc),
                           .dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                    ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  // A second start opens the settings of the copy that runs, and writes nothing.
  app::SingleInstance instance;
  if (instance.AnotherIsRunning()) {
    if (!app::SingleInstance::ActivateRunningCopy(kActivateTimeoutMs)) ShowUnreachableNotice();
    return 0;
  }

  try {
    ui::Application application;
    auto form3 = std::make_unique<app::TForm3>();
    auto form1 = std::make_unique<app::TForm1>(*form3);
    auto form2 = std::make_unique<app::TForm2>();
    form1->AttachSplash(form2.get());
    auto form4 = std::make_unique<security::TForm4>(*form1, form1->hwnd());
    auto form5 = std::make_unique<security::TForm5>(*form1);
    form1->AttachPasswordWindows(form4.get(), form5.get());
    application.Run();
    // Destroyed in reverse order of creation; the tray icon goes with the settings window.
    form1->AttachPasswordWindows(nullptr, nullptr);
    form5.reset();
    form4.reset();
    form2.reset();
    form1.reset();
    form3.reset();
  } catch (...) {
    ui::ReportCurrentException();
    return 1;
  }
  return 0;
}
