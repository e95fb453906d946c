// Requests that arrive while another one is under way: a show or hide during a slide (the
// shell's icon messages are delivered inside the system's calls), and clicks or menu
// choices delivered by the message loop of an open dialog.
#include <gtest/gtest.h>

#include "tests/options/OptionsSupport.h"

namespace {

using optionstest::OptionsTest;

// Runs duringMove inside the 100th move of the watched window.
HWND g_watched = nullptr;
int g_moves = 0;
std::function<void()> g_duringMove;

LRESULT CALLBACK WatchMoves(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->hwnd == g_watched && m->message == WM_WINDOWPOSCHANGED &&
      ++g_moves == 100 && g_duringMove) {
    g_duringMove();
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

class Reentry : public OptionsTest {
 protected:
  void Slide(void (app::TForm1::*request)(), void (app::TForm1::*during)()) {
    form1().AnimationCheck->SetChecked(true);
    g_moves = 0;
    g_duringMove = [this, during] {
      // What follows the slide under way need not slide too (each slide takes seconds).
      form1().AnimationCheck->SetChecked(false);
      if (during) (form1().*during)();
    };
    (form1().*request)();
  }
};

TEST_F(Reentry, ShowOrHideDuringASlideEndsWhereTheLastRequestWants) {
  Start();
  app::TForm1& f = form1();
  g_watched = f.hwnd();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchMoves, nullptr, GetCurrentThreadId());
  const int centred = ui::CentredOffset(ui::ScreenWidth(), f.Width());

  Slide(&app::TForm1::ShowSettings, &app::TForm1::ShowSettings);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Left(), centred);
  Slide(&app::TForm1::ShowSettings, nullptr);  // already shown: no second slide
  EXPECT_EQ(g_moves, 0);
  Slide(&app::TForm1::HideSettings, &app::TForm1::ShowSettings);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Left(), centred);
  form1().AnimationCheck->SetChecked(false);
  form1().HideSettings();
  Slide(&app::TForm1::ShowSettings, &app::TForm1::HideSettings);
  EXPECT_FALSE(f.Visible());

  UnhookWindowsHookEx(hook);
  g_duringMove = nullptr;
}

TEST_F(Reentry, ClicksAndMenuChoicesWhileADialogIsOpenAreDropped) {
  Start();
  app::TForm1& f = form1();
  f.ShowSettings();
  int dialogs = 0;
  ui::seams().fileDialog = [&](OPENFILENAMEA&, bool) {
    if (++dialogs == 1) {
      // What the dialog's own message loop delivers.
      f.BtDone->Click();
      f.LoadFile->Click();
      f.PopupMenu1->Dispatch(f.ExitPop);
    }
    return false;
  };
  f.LoadFile->Click();
  EXPECT_EQ(dialogs, 1);
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(f.ExitRequested());
  EXPECT_EQ(Stored(app::kSectionProgram, app::names::kAutoStart), "<absent>");

  // Once the dialog is closed, the same click works.
  f.BtDone->Click();
  EXPECT_FALSE(f.Visible());
}

}  // namespace
