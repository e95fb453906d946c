#include <gtest/gtest.h>

#include "integration/WTaskBar.h"
#include "tests/support/win/TestEnv.h"
#include "ui/Menu.h"

namespace {

using integration::kTrayCallbackMessage;

// The owner form stand-in and a recording shell.
class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    platform::seams().shellNotifyIcon = [this](DWORD message, NOTIFYICONDATAA* data) {
      requests.push_back(message);
      tips.emplace_back(data->szTip);
      lastSize = data->cbSize;
      if (data->uFlags & NIF_INFO)
        balloons.push_back(std::string(data->szInfoTitle) + "|" + data->szInfo);
      return shellAnswers || (message == NIM_MODIFY && lateAdd) ? TRUE : FALSE;
    };
    owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr);
    icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  }
  ~TrayIconTest() override {
    tray.reset();
    DestroyWindow(owner);
    platform::seams().Reset();
  }
  void MakeTray() {
    tray = std::make_unique<integration::TWinTaskbar>(owner);
    tray->SetHint("Papershift 7");
    tray->SetIcon(icon);
    tray->SetShowIcon(true);
  }
  void Mouse(UINT event) { SendMessageA(tray->hwnd(), kTrayCallbackMessage, 0, event); }

  std::vector<DWORD> requests;
  std::vector<std::string> tips;
  DWORD lastSize = 0;
  bool shellAnswers = true;
  bool lateAdd = false;  // an add that timed out reached the shell after all
  std::vector<std::string> balloons;
  HWND owner = nullptr;
  HICON icon = nullptr;
  std::unique_ptr<integration::TWinTaskbar> tray;
};

TEST_F(TrayIconTest, HintAndIconBeforeShowingOnlyDeleteThenOneAddCarriesTheTip) {
  MakeTray();
  // Hint (delete: nothing shown yet), Icon (delete: not shown), ShowIcon (add).
  EXPECT_EQ(requests, (std::vector<DWORD>{NIM_DELETE, NIM_DELETE, NIM_ADD}));
  EXPECT_EQ(tips.back(), "Papershift 7");
  EXPECT_EQ(lastSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_TRUE(tray->IconAdded());
}

TEST_F(TrayIconTest, EqualHintSendsNothingAndShowIconTogglesTheIcon) {
  MakeTray();
  requests.clear();
  tray->SetHint("Papershift 7");
  EXPECT_TRUE(requests.empty());
  tray->SetHint("Other");
  EXPECT_EQ(requests, std::vector<DWORD>{NIM_MODIFY});
  tray->SetShowIcon(false);
  EXPECT_EQ(requests.back(), static_cast<DWORD>(NIM_DELETE));
  EXPECT_FALSE(tray->IconAdded());
  tray->SetShowIcon(true);
  EXPECT_EQ(requests.back(), static_cast<DWORD>(NIM_ADD));
  requests.clear();
  tray.reset();  // destroying the component removes the icon
  EXPECT_EQ(requests, std::vector<DWORD>{NIM_DELETE});
}

TEST_F(TrayIconTest, DoubleClickOfAnyButtonIsReportedOnce) {
  MakeTray();
  int doubles = 0;
  tray->OnDblClick = [&] { ++doubles; };
  Mouse(WM_LBUTTONDOWN);
  Mouse(WM_LBUTTONUP);
  Mouse(WM_LBUTTONDBLCLK);
  Mouse(WM_LBUTTONUP);
  EXPECT_EQ(doubles, 1);
  Mouse(WM_MBUTTONDBLCLK);
  Mouse(WM_RBUTTONDBLCLK);
  EXPECT_EQ(doubles, 3);
  Mouse(0x0999);  // unknown events are ignored
  EXPECT_EQ(doubles, 3);
}

TEST_F(TrayIconTest, RightPressOpensTheMenuAndPostsTheFollowUpAfterItCloses) {
  MakeTray();
  ui::PopupMenu menu;
  bool chosen = false;
  menu.Add("Item", -1, [&] { chosen = true; });
  tray->SetPopUpMenu(&menu);
  // Close the menu from inside its own loop.
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
  MSG stale;
  while (PeekMessageA(&stale, owner, WM_USER, WM_USER, PM_REMOVE)) {
  }
  Mouse(WM_RBUTTONDOWN);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, owner, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(msg.lParam, 0);
  Mouse(WM_RBUTTONUP);  // releasing does nothing more
  EXPECT_FALSE(PeekMessageA(&msg, owner, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_FALSE(chosen);
}

TEST_F(TrayIconTest, FailedAddIsRepeatedWhenTheShellComesBack) {
  shellAnswers = false;  // no notification area yet, as at logon
  MakeTray();
  EXPECT_FALSE(tray->IconAdded());
  shellAnswers = true;
  requests.clear();
  SendMessageA(tray->hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(requests, std::vector<DWORD>{NIM_ADD});
  EXPECT_TRUE(tray->IconAdded());
  // A shell restart loses the icon again: it is added anew, not modified.
  requests.clear();
  SendMessageA(tray->hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(requests, std::vector<DWORD>{NIM_ADD});
}

TEST_F(TrayIconTest, RefusedAddIsRetriedByTimerModifyFirstForAboutTwoMinutes) {
  shellAnswers = false;  // a shell too busy to answer, as at logon
  MakeTray();
  tray->ShowBalloon("Title", "Where the icon is");  // waits for the icon
  requests.clear();
  tray->AddRetry().onTimer();
  EXPECT_EQ(requests, (std::vector<DWORD>{NIM_MODIFY, NIM_ADD}));
  lateAdd = true;  // the first add got through late: modify finds it, no second icon
  requests.clear();
  tray->AddRetry().onTimer();
  EXPECT_EQ(requests, (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY}));  // the icon, its balloon
  EXPECT_TRUE(tray->IconAdded() && !tray->AddRetry().Enabled());
  EXPECT_EQ(balloons, std::vector<std::string>{"Title|Where the icon is"});
  EXPECT_EQ(lastSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
  lateAdd = false;  // a shell that never answers: the retries end after a couple of minutes
  tray->SetShowIcon(false);
  tray->SetShowIcon(true);
  UINT retriedMs = 0;
  for (; tray->AddRetry().Enabled() && retriedMs < 3600000;
       retriedMs += tray->AddRetry().Interval())
    tray->AddRetry().onTimer();
  EXPECT_TRUE(retriedMs >= 60000 && retriedMs <= 300000) << retriedMs;
  EXPECT_EQ(balloons.size(), 1u);  // once only
}

TEST_F(TrayIconTest, LongHintIsCutToTheTipField) {
  MakeTray();
  tray->SetHint(std::string(100, 'x'));
  EXPECT_EQ(tips.back().size(), 63u);
  EXPECT_EQ(tray->Hint().size(), 100u);
}

}  // namespace
