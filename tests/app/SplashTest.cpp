#include <gtest/gtest.h>

#include "app/SettingNames.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "tests/support/win/TestEnv.h"

namespace {

const std::string kProgram = std::string(app::kProgramKeyPath) + "\\Program";

// The ticks are run by hand, in the orders that the message loop can deliver them.
class SplashTest : public ::testing::Test {
 protected:
  void StartWithSplash(bool show) {
    program.registry.WriteText(kProgram, "ShowSplash", show ? "1" : "0");
    program.Start();
    splash = std::make_unique<app::TForm2>();
    program.form1().AttachSplash(splash.get());
  }
  void SettingsTick() { program.form1().Timer1->onTimer(); }
  void CloseTick() { splash->Timer1->onTimer(); }

  testenv::ProgramFixture program;
  std::unique_ptr<app::TForm2> splash;
};

TEST_F(SplashTest, ShowsOnceThenBothTimersStop) {
  StartWithSplash(true);
  ASSERT_TRUE(splash->Timer1->Enabled());
  EXPECT_FALSE(splash->HasPicture());  // read when it shows
  SettingsTick();
  EXPECT_TRUE(splash->Visible());
  EXPECT_TRUE(splash->HasPicture());
  EXPECT_FALSE(program.form1().Timer1->Enabled());
  EXPECT_TRUE(splash->Timer1->Enabled());  // still has to close it
  CloseTick();
  EXPECT_FALSE(splash->Visible());
  EXPECT_FALSE(splash->Timer1->Enabled());
  EXPECT_FALSE(splash->HasPicture());
}

TEST_F(SplashTest, CloseTickBeforeALateShowKeepsTheCloseTimer) {
  // A slow start-up: the close timer ticks before the settings window's splash timer.
  StartWithSplash(true);
  CloseTick();
  EXPECT_FALSE(splash->Visible());
  EXPECT_TRUE(splash->Timer1->Enabled());
  SettingsTick();
  EXPECT_TRUE(splash->Visible());
  EXPECT_TRUE(splash->HasPicture());
  CloseTick();
  EXPECT_FALSE(splash->Visible());
  EXPECT_FALSE(splash->Timer1->Enabled());
}

TEST_F(SplashTest, WithoutSplashTheCloseTimerStopsAtItsFirstTick) {
  StartWithSplash(false);
  EXPECT_FALSE(program.form1().Timer1->Enabled());
  CloseTick();
  EXPECT_FALSE(splash->Visible());
  EXPECT_FALSE(splash->Timer1->Enabled());
  EXPECT_FALSE(splash->HasPicture());  // never needed
}

TEST_F(SplashTest, RealTimersShowItAboutTwoSecondsAndThenGoQuiet) {
  StartWithSplash(true);
  bool seen = false;
  for (int i = 0; i < 90 && !seen; ++i) {
    testenv::Pump(50);
    seen = splash->Visible();
  }
  EXPECT_TRUE(seen);
  for (int i = 0; i < 90 && splash->Visible(); ++i) testenv::Pump(50);
  EXPECT_FALSE(splash->Visible());
  EXPECT_FALSE(splash->Timer1->Enabled());
  EXPECT_FALSE(program.form1().Timer1->Enabled());
}

}  // namespace
