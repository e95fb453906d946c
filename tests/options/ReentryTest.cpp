// Requests arriving while another runs: a show during a slide (the shell's icon messages
// come inside the system's calls), clicks and menu choices from an open dialog's loop.
#include <gtest/gtest.h>

#include <utility>

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

  // Exit from the icon's menu while a file dialog is open: the dialog ends as cancelled, its
  // reaction stops, and Exit saves and ends; clicks on the blocked window run nothing.
  int dialogs = 0;
  platform::seams().fileDialog = [&](OPENFILENAMEA&, bool) {
    if (++dialogs == 1) {
      f.LoadFile->Click();
      f.PopupMenu1->Dispatch(f.ExitPop);
      EXPECT_FALSE(f.ExitRequested());
    }
    return false;
  };
  f.add->Click();
  testenv::Pump();
  EXPECT_EQ(dialogs, 1);
  EXPECT_TRUE(f.ExitRequested());
  EXPECT_EQ(Stored(app::kSectionProgram, app::names::kAutoStart), "0");
}

TEST_F(Reentry, ADoubleClickDuringStartUpsScanShowsTheWindowOnceStartUpIsOver) {
  const auto windowsDirectory = platform::seams().windowsDirectory;
  bool posted = false;
  platform::seams().windowsDirectory = [&] {
    // Delivered by the scan of the folder that this call names.
    if (!std::exchange(posted, true)) {
      PostMessageA(FindWindowA(integration::kTrayWindowClass, nullptr),
                   integration::kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
    }
    return windowsDirectory();
  };
  Start();
  testenv::Pump();
  EXPECT_TRUE(posted);
  EXPECT_TRUE(form1().Visible());
}

// Each request against each thing that can be open. Recorded: R the reaction runs, F what is
// open comes to the front, C what is open is closed as by its Cancel, | what is open closes.
TEST(RequestModel, EachRequestIsAnsweredAtOnceAfterwardsOrByWhatIsOpen) {
  using app::Opened;
  using R = app::Request;
  const std::vector<std::vector<Opened>> opens = {{},
                                                  {Opened::StartUp},
                                                  {Opened::StartUp, Opened::ErrorBox},
                                                  {Opened::FileDialog},
                                                  {Opened::ErrorBox},
                                                  {Opened::Question}};
  const std::vector<std::string> waits = {"R|", "|R", "F|R", "F|R", "F|R", "F|R"};
  const std::vector<std::pair<R, std::vector<std::string>>> table = {
      {R::Exit, {"R|", "C|R", "C|R", "C|R", "C|R", "F|"}},
      {R::Close, {"R|", "C|R", "C|R", "C|R", "C|R", "C|R"}},
      {R::Show, {"R|", "|R", "F|R", "F|", "F|", "F|"}},
      {R::DoubleClick, {"R|", "|R", "F|R", "F|", "F|", "F|"}},
      {R::Change, waits},
      {R::Style, waits},
      {R::Colour, waits},
      {R::Sound, waits},
      {R::Tick, {"R|", "|R", "|R", "|R", "|R", "|R"}},
      {R::Click, {"R|", "F|", "F|", "F|", "F|", "F|"}}};
  for (const auto& [request, answers] : table) {
    for (size_t i = 0; i < opens.size(); ++i) {
      std::string seen;
      bool posted = false;
      app::Requests requests({.answerLater = [&] { posted = true; },
                              .boxOwner = [] { return HWND{}; },
                              .ended = [] { return false; },
                              .bringToFront = [&] { seen += 'F'; },
                              .closeOpen = [&] { seen += 'C'; }});
      std::vector<app::Requests::Scope> scopes;
      HWND owner = nullptr;
      for (const Opened open : opens[i]) {
        if (open == Opened::ErrorBox || open == Opened::Question) {
          requests.BoxOpening(open == Opened::Question, owner);
        } else {
          scopes.push_back(requests.Open(open));
        }
      }
      requests.Ask(request, [&] { seen += 'R'; });
      seen += '|';
      if (opens[i].size() > scopes.size()) requests.BoxClosed();
      scopes.clear();
      if (posted) requests.AnswerWaiting();
      EXPECT_EQ(seen, answers[i]) << static_cast<int>(request) << " with open set " << i;
    }
  }
}

}  // namespace
