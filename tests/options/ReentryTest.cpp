// Requests arriving while another runs: a show during a slide (the shell's icon messages
// come inside the system's calls), clicks and menu choices from an open dialog's loop.
#include <gtest/gtest.h>

#include "tests/options/OptionsSupport.h"

namespace {

app::TForm1* g_form = nullptr;
int g_moves = 0;

// Inside the 100th move of the settings window: a show, with no slide of its own.
LRESULT CALLBACK ShowDuringSlide(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (m->hwnd == g_form->hwnd() && m->message == WM_WINDOWPOSCHANGED && ++g_moves == 100) {
    g_form->AnimationCheck->SetChecked(false);
    g_form->ShowSettings();
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

using Reentry = optionstest::OptionsTest;

TEST_F(Reentry, ShowsDuringASlideAndClicksFromAnOpenDialogWaitTheirTurn) {
  Start();
  app::TForm1& f = *(g_form = &form1());
  const int centred = ui::CentredOffset(ui::ScreenWidth(), f.Width());
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ShowDuringSlide, nullptr, GetCurrentThreadId());
  for (auto request :
       {&app::TForm1::ShowSettings, &app::TForm1::ShowSettings, &app::TForm1::HideSettings}) {
    const bool shown = f.Visible();
    f.AnimationCheck->SetChecked(true);
    g_moves = 0;
    (f.*request)();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.Left(), centred);
    EXPECT_TRUE(!shown || request != &app::TForm1::ShowSettings || g_moves == 0);  // 1 slide
  }
  UnhookWindowsHookEx(hook);

  int dialogs = 0;
  platform::seams().fileDialog = [&](OPENFILENAMEA&, bool) {
    if (++dialogs == 1) {
      f.BtDone->Click();
      f.LoadFile->Click();
      f.PopupMenu1->Dispatch(f.ExitPop);
    }
    return false;
  };
  f.LoadFile->Click();
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(f.ExitRequested());
  EXPECT_EQ(Stored(app::kSectionProgram, app::names::kAutoStart), "<absent>");
  f.BtDone->Click();  // with the dialog closed, the click works
  EXPECT_FALSE(f.Visible());
}

}  // namespace
