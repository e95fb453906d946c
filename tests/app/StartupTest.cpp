#include <gtest/gtest.h>

#include "app/SettingNames.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "platform/core/Error.h"
#include "security/StoredPassword.h"
#include "tests/support/win/TestEnv.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

namespace {

const std::string kProgram = std::string(app::kProgramKeyPath) + "\\Program";
const std::string kSecurity = std::string(app::kProgramKeyPath) + "\\Program\\Security";

// Pictures in the Windows directory, so that start-up runs to its end; a test that is
// not about an error sees no error box.
class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    testenv::WriteTestBmp(program.windowsDir.File("a.bmp"), 16, 16, RGB(0, 0, 255));
    testenv::WriteTestJpeg(program.windowsDir.File("b.jpg"), 16, 16, RGB(255, 0, 0));
    platform::seams().shellNotifyIcon = [this](DWORD, NOTIFYICONDATAA* data) {
      if (data->uFlags & NIF_INFO) balloons.emplace_back(data->szInfo);
      return TRUE;
    };
  }
  void TearDown() override {
    if (!errorExpected) {
      EXPECT_EQ(program.errors.texts, std::vector<std::string>{});
    }
  }
  testenv::ProgramFixture program;
  bool errorExpected = false;
  std::vector<std::string> balloons;
};

TEST_F(StartupTest, FirstStartWritesOnlyTheVersionOfItsOwn) {
  program.Start();
  std::vector<std::string> names = program.registry.ValueNames(kProgram);
  std::sort(names.begin(), names.end());
  // The index comes from the start-up change, which installed entry 1.
  EXPECT_EQ(names, (std::vector<std::string>{"ItemIndex", "Program Version"}));
  EXPECT_EQ(program.registry.ReadText(kProgram, "ItemIndex"), "1");
  EXPECT_EQ(program.registry.ReadText(kProgram, "Program Version"), "7.0.1");
  EXPECT_FALSE(program.registry.ValueExists(kSecurity, "UsePwd"));
  ASSERT_EQ(balloons.size(), 1u);  // where the icon is hidden, said once
  EXPECT_NE(balloons[0].find("arrow beside the clock"), std::string::npos);
}

TEST_F(StartupTest, DefaultsLandInTheirControls) {
  program.Start();
  app::TForm1& f = program.form1();
  EXPECT_FALSE(f.autostart->Checked());
  EXPECT_TRUE(f.SplashCheck->Checked());
  EXPECT_TRUE(f.AnimationCheck->Checked());
  EXPECT_FALSE(f.PwdCheck->Checked());
  EXPECT_FALSE(f.Button1->Enabled());
  EXPECT_FALSE(f.TimeChangeCh->Checked());
  EXPECT_FALSE(f.MinuteSpin->Enabled());
  EXPECT_FALSE(f.RandomCh->Checked());
  EXPECT_FALSE(f.SoundCh->Checked());
  EXPECT_FALSE(f.SoundBrowse->Enabled());
  EXPECT_EQ(f.PopupMenu1->Caption(f.SoundPop), "Enable Sound");
  EXPECT_TRUE(f.StartChangeCh->Checked());
  EXPECT_FALSE(f.StartChangeCh->Visible());  // offered only with autostart on
  EXPECT_EQ(f.MinuteSpin->Value(), 15);
  EXPECT_EQ(f.TimedChange->Interval(), 15u * 60000u);
  EXPECT_EQ(f.SoundLabel2, "< default sound >");
  EXPECT_EQ(f.WPStyle->ItemIndex(), 2);
  EXPECT_FALSE(f.SortFiles->Checked());
  EXPECT_EQ(f.VersionLabel, "7.0.1");
  EXPECT_TRUE(f.Timer1->Enabled());  // the splash will show
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(f.PageControl1->ActivePage(), 0);
}

TEST_F(StartupTest, StoredSettingsLandInTheirControls) {
  auto& r = program.registry;
  r.WriteText(kProgram, "Program Version", "7.0.1");
  r.WriteText(kProgram, "AutoStart", "1");
  r.WriteText(kProgram, "ShowSplash", "0");
  r.WriteText(kProgram, "UseAnimation", "0");
  r.WriteText(kSecurity, "UsePwd", "1");
  r.WriteText(kProgram, "TimeInterval", "1");
  r.WriteText(kProgram, "Randomize", "1");
  r.WriteText(kProgram, "UseSound", "1");
  r.WriteText(kProgram, "RestartChange", "0");
  r.WriteText(kProgram, "WallpaperStyle", "1");
  r.WriteText(kProgram, "FileListSorted", "1");
  r.WriteText(kProgram, "SoundFileName", "C:\\sounds\\ding.wav");
  program.Start();
  app::TForm1& f = program.form1();
  EXPECT_FALSE(f.autostart->Checked());  // no Run value: nothing starts it at logon
  EXPECT_FALSE(f.StartChangeCh->Visible());
  EXPECT_FALSE(f.StartChangeCh->Checked());
  EXPECT_FALSE(f.SplashCheck->Checked());
  EXPECT_FALSE(f.Timer1->Enabled());
  EXPECT_FALSE(f.AnimationCheck->Checked());
  EXPECT_TRUE(f.PwdCheck->Checked());
  EXPECT_TRUE(f.Button1->Enabled());
  EXPECT_TRUE(f.TimeChangeCh->Checked());
  EXPECT_TRUE(f.MinuteSpin->Enabled());
  EXPECT_TRUE(f.RandomCh->Checked());
  EXPECT_TRUE(f.SoundCh->Checked());
  EXPECT_TRUE(f.SoundBrowse->Enabled());
  EXPECT_EQ(f.PopupMenu1->Caption(f.SoundPop), "Disable Sound");
  EXPECT_EQ(f.WPStyle->ItemIndex(), 1);
  EXPECT_TRUE(f.SortFiles->Checked());
  EXPECT_TRUE(f.FileList->Sorted());
  EXPECT_EQ(f.SoundLabel2, "C:\\sounds\\ding.wav");
  EXPECT_TRUE(balloons.empty());  // not the first start
}

TEST_F(StartupTest, IntervalOutsideItsBoundsIsHeldToThem) {
  program.registry.WriteText(kProgram, "ChangeIntervalTime", "0");
  program.Start();
  EXPECT_EQ(program.form1().MinuteSpin->Value(), 1);
  EXPECT_EQ(program.form1().TimedChange->Interval(), 60000u);
}

TEST_F(StartupTest, IntervalAboveSixtyIsHeldToSixty) {
  program.registry.WriteText(kProgram, "ChangeIntervalTime", "99");
  program.Start();
  EXPECT_EQ(program.form1().MinuteSpin->Value(), 60);
  EXPECT_EQ(program.form1().TimedChange->Interval(), 3600000u);
}

// What the store meets in users' registries, one case a row: the password stays in force,
// the user's settings are neither lost nor replaced by defaults, a damaged value is repaired.
TEST(StoreRefusals, SettingsSurviveWhatTheRegistryDoes) {
  struct Row {
    const char* name;
    std::function<void(testenv::ScratchRegistry&)> prepare;
    std::function<void(app::TForm1&, testenv::ProgramFixture&)> check;
  } rows[] = {
      {"read-only",
       [](testenv::ScratchRegistry& r) {
         for (const std::string& key : {std::string(app::kProgramKeyPath), kProgram, kSecurity}) {
           r.SetReadOnly(key, true);
         }
       },
       [](app::TForm1& f, testenv::ProgramFixture& p) {
         EXPECT_EQ(p.errors.texts, std::vector<std::string>{});
         EXPECT_FALSE(f.SplashCheck->Checked());
         EXPECT_EQ(f.ListFileName, p.workDir.File("mine.kvl"));
         EXPECT_THROW(f.StorePassword("new"), platform::Error);
         EXPECT_EQ(f.Password(), "pw");
         const std::vector<std::string> said = f.SaveForExit();
         ASSERT_EQ(said.size(), 1u);
         EXPECT_NE(said[0].find("cannot be stored"), std::string::npos);
         EXPECT_EQ(f.SaveForExit(), std::vector<std::string>{});       // said once
         EXPECT_FALSE(p.registry.ValueExists(kProgram, "AutoStart"));  // nothing written
       }},
      {"style out of range",
       [](testenv::ScratchRegistry& r) { r.WriteText(kProgram, "WallpaperStyle", "5"); },
       [](app::TForm1& f, testenv::ProgramFixture& p) {
         EXPECT_EQ(f.WPStyle->ItemIndex(), 2);
         EXPECT_EQ(f.DS + f.ST, "20");
         f.SaveAllSettings();
         EXPECT_EQ(p.registry.ReadText(kProgram, "WallpaperStyle"), "2");
       }},
      {"deleted while running", [](testenv::ScratchRegistry&) {},
       [](app::TForm1& f, testenv::ProgramFixture& p) {
         RegDeleteTreeA(p.registry.root(), app::kProgramKeyPath);
         f.SaveAllSettings();
         EXPECT_EQ(p.registry.ReadText(kProgram, "ShowSplash"), "0");
         EXPECT_EQ(p.errors.texts, std::vector<std::string>{});
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testenv::ProgramFixture program;
    testenv::WriteTestBmp(program.windowsDir.File("a.bmp"), 8, 8, RGB(0, 0, 255));
    auto& r = program.registry;
    r.WriteText(kProgram, "RestartChange", "0");
    r.WriteText(kProgram, "ShowSplash", "0");
    program.workDir.Write("mine.kvl", program.windowsDir.File("a.bmp") + "\r\n");
    r.WriteText(kProgram, "FileListSource", program.workDir.File("mine.kvl"));
    r.WriteText(kSecurity, "UsePwd", "1");
    r.WriteText(kSecurity, "Password", security::StoredFromPassword("pw"));
    row.prepare(r);
    program.Start();
    row.check(program.form1(), program);
  }
}

TEST_F(StartupTest, EmptyListRunsToTheEndWithOneNoticeAndTicksChangeNothing) {
  program.workDir.Write("empty.kvl", "");
  program.registry.WriteText(kProgram, "FileListSource", program.workDir.File("empty.kvl"));
  program.registry.WriteText(kProgram, "TimeInterval", "1");
  program.registry.WriteText(kProgram, "FileListSorted", "1");
  program.Start();
  app::TForm1& f = program.form1();
  EXPECT_TRUE(f.TimedChange->Enabled());
  EXPECT_TRUE(f.MinuteSpin->Enabled());  // the box's own reaction ran
  EXPECT_TRUE(f.FileList->Sorted());
  EXPECT_EQ(f.DS + f.ST, "20");
  EXPECT_EQ(program.form3().Text(), "No pictures yet");
  EXPECT_NE(program.form3().Memo1->Text().find("\"add file(s)..\""), std::string::npos);
  EXPECT_FALSE(program.registry.ValueExists(kProgram, "ItemIndex"));  // nothing installed
  f.TimedChange->onTimer();  // no error box either (TearDown)
  EXPECT_EQ(program.workDir.Read("empty.kvl"), "");
}

TEST(StartupWithoutKey, ReportsOnceAndRunsOnDefaults) {
  testenv::ProgramFixture program;
  HKEY gone = nullptr;
  RegCreateKeyExA(program.registry.root(), "Gone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &gone,
                  nullptr);
  RegDeleteTreeA(program.registry.root(), "Gone");
  platform::seams().registryRoot = gone;
  program.Start();
  ASSERT_GE(program.errors.texts.size(), 1u);
  EXPECT_EQ(program.errors.texts[0], "Failed to create key Software\\Kestrova\\Papershift 7.");
  EXPECT_EQ(
      std::count(program.errors.texts.begin(), program.errors.texts.end(), program.errors.texts[0]),
      1);
  EXPECT_EQ(program.form1().MinuteSpin->Value(), 15);
  EXPECT_TRUE(program.form1().SplashCheck->Checked());
  program.form1().ShowSettings();  // the program keeps working
  EXPECT_TRUE(program.form1().Visible());
  RegCloseKey(gone);
}

TEST_F(StartupTest, ExitWritesEverySettingInItsOrder) {
  program.Start();
  app::TForm1& f = program.form1();
  f.TimeChangeCh->SetChecked(true);
  f.MinuteSpin->SetValue(7);
  std::vector<std::string> order;
  f.Store().onWrite = [&](const char*, const char* name) { order.push_back(name); };
  f.ExitPopClick();
  EXPECT_EQ(order,
            (std::vector<std::string>{"AutoStart", "ShowSplash", "UseAnimation", "UsePwd",
                                      "TimeInterval", "Randomize", "UseSound", "RestartChange",
                                      "ChangeIntervalTime", "SoundFileName", "FileListSource",
                                      "WallpaperStyle", "ItemIndex", "FileListSorted"}));
  f.Store().onWrite = nullptr;
  auto& r = program.registry;
  EXPECT_EQ(r.ReadText(kProgram, "TimeInterval"), "1");
  EXPECT_EQ(r.ReadText(kProgram, "ChangeIntervalTime"), "7");
  EXPECT_EQ(r.ReadText(kProgram, "ShowSplash"), "1");
  EXPECT_EQ(r.ReadText(kProgram, "RestartChange"), "1");
  EXPECT_EQ(r.ReadText(kProgram, "WallpaperStyle"), "2");
  EXPECT_EQ(r.ReadText(kProgram, "SoundFileName"), "< default sound >");
  EXPECT_EQ(r.ReadText(kSecurity, "UsePwd"), "0");
  EXPECT_TRUE(f.ExitRequested());
  EXPECT_TRUE(ui::Application::Instance()->Terminated());
}

TEST_F(StartupTest, SessionEndSavesLikeExitAndIsNeverRefused) {
  program.Start();
  program.form1().RandomCh->SetChecked(true);
  HWND app = ui::Application::Instance()->Owner();
  EXPECT_EQ(SendMessageA(app, WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(app, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(program.registry.ReadText(kProgram, "Randomize"), "1");
  EXPECT_TRUE(program.registry.ValueExists(kProgram, "FileListSorted"));
}

// ---- the settings window ----

// Counts the moves of a window while it is visible.
class MoveCounter {
 public:
  explicit MoveCounter(HWND hwnd) : hwnd_(hwnd) {
    SetWindowSubclass(hwnd_, &MoveCounter::Proc, 77, reinterpret_cast<DWORD_PTR>(this));
  }
  ~MoveCounter() { RemoveWindowSubclass(hwnd_, &MoveCounter::Proc, 77); }
  int moves = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    if (msg == WM_MOVE && IsWindowVisible(hwnd)) ++reinterpret_cast<MoveCounter*>(ref)->moves;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  HWND hwnd_;
};

TEST_F(StartupTest, AnimatedShowSlidesInPixelByPixelToTheCentre) {
  program.Start();
  app::TForm1& f = program.form1();
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024) << "tests expect a 1024-pixel screen";
  ASSERT_EQ(f.Width(), 490);
  const int top = f.Top();
  {
    MoveCounter counter(f.hwnd());
    f.ShowSettings();
    EXPECT_EQ(counter.moves, 1233);
  }
  EXPECT_EQ(f.Left(), 267);
  EXPECT_EQ(f.Top(), top);
  EXPECT_TRUE(f.Visible());
  {
    MoveCounter counter(f.hwnd());
    f.HideSettings();
    EXPECT_EQ(counter.moves, 1233);
  }
  EXPECT_EQ(f.Left(), 1500);
  EXPECT_FALSE(f.Visible());
}

TEST_F(StartupTest, WithoutAnimationEveryShowCentresHorizontally) {
  program.Start();
  app::TForm1& f = program.form1();
  f.AnimationCheck->SetChecked(false);
  const int top = f.Top();
  f.MoveTo(5, top);
  f.ShowSettings();
  EXPECT_EQ(f.Left(), 267);
  f.MoveTo(40, top);
  f.ShowSettings();  // shown again while shown
  EXPECT_EQ(f.Left(), 267);
  EXPECT_EQ(f.Top(), top);
}

TEST_F(StartupTest, ShowingStopsTimedChangesAndTheCloseBoxOnlyHides) {
  program.Start();
  app::TForm1& f = program.form1();
  f.AnimationCheck->SetChecked(false);
  f.TimedChange->SetEnabled(true);
  f.ShowSettings();
  EXPECT_FALSE(f.TimedChange->Enabled());
  SendMessageA(f.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(f.hwnd()));
  EXPECT_FALSE(f.Visible());
}

TEST_F(StartupTest, TheMessageWindowRefusesToCloseAndKeepsOkOnceShown) {
  program.Start();
  app::TForm1& f = program.form1();
  app::TForm3& m = program.form3();
  EXPECT_FALSE(m.bt2->Visible());
  f.ShowMessageWindow("First", "one", 0);
  EXPECT_FALSE(m.bt2->Visible());
  f.ShowMessageWindow("Caption", "text", 1);
  EXPECT_TRUE(m.bt2->Visible());
  f.ShowMessageWindow("Later", "again", 0);
  EXPECT_TRUE(m.bt2->Visible());
  EXPECT_EQ(m.Text(), "Later");
  EXPECT_EQ(m.Memo1->Text(), "again");
  SendMessageA(m.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(m.Visible());
  EXPECT_FALSE(m.bt1->Enabled());
  f.AnimationCheck->SetChecked(false);
  f.ShowSettings();  // the notice is kept above the window shown after it
  m.bt2->Click();
  EXPECT_FALSE(m.Visible());
  testenv::Pump(500);
  EXPECT_FALSE(m.Visible());  // dismissed, it stays dismissed
}

}  // namespace
