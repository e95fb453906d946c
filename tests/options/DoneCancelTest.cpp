// "Done" and "Cancel" of the settings window.
#include <gtest/gtest.h>

#include "tests/options/OptionsSupport.h"

namespace {

using app::kSectionProgram;
using app::kSectionSecurity;
namespace names = app::names;
using optionstest::OptionsTest;

class DoneCancel : public OptionsTest {
 protected:
  void OpenWindow() {
    form1().ShowSettings();
    ASSERT_TRUE(form1().Visible());
  }
  std::string ListFile() const { return program.workDir.File("default.kvl"); }
};

TEST_F(DoneCancel, DoneStoresEveryValueAndClosesTheWindow) {
  Start();
  OpenWindow();
  app::TForm1& f = form1();
  f.SplashCheck->SetChecked(false);
  f.PwdCheck->SetChecked(true);
  f.RandomCh->SetChecked(true);
  f.SoundCh->SetChecked(true);
  f.StartChangeCh->SetChecked(false);
  f.MinuteSpin->SetValue(7);
  f.WPStyle->SetItemIndex(1);
  f.WPStyleChange();
  f.SortFiles->SetChecked(true);
  f.SoundLabel2 = "C:\\x.wav";
  f.FileList->SetItemIndex(1);

  f.BtDoneClick();
  EXPECT_TRUE(program.errors.texts.empty());
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(Stored(kSectionProgram, names::kAutoStart), "0");
  EXPECT_EQ(Stored(kSectionProgram, names::kShowSplash), "0");
  EXPECT_EQ(Stored(kSectionProgram, names::kUseAnimation), "0");
  EXPECT_EQ(Stored(kSectionSecurity, names::kUsePwd), "1");
  EXPECT_EQ(Stored(kSectionProgram, names::kTimeInterval), "0");
  EXPECT_EQ(Stored(kSectionProgram, names::kRandomize), "1");
  EXPECT_EQ(Stored(kSectionProgram, names::kUseSound), "1");
  EXPECT_EQ(Stored(kSectionProgram, names::kRestartChange), "0");
  EXPECT_EQ(Stored(kSectionProgram, names::kChangeIntervalTime), "7");
  EXPECT_EQ(Stored(kSectionProgram, names::kSoundFileName), "C:\\x.wav");
  EXPECT_EQ(Stored(kSectionProgram, names::kFileListSource), f.ListFileName);
  EXPECT_EQ(Stored(kSectionProgram, names::kWallpaperStyle), "1");
  EXPECT_EQ(Stored(kSectionProgram, names::kItemIndex), "1");
  EXPECT_EQ(Stored(kSectionProgram, names::kFileListSorted), "1");
  // The list went into the current list file, in list order.
  EXPECT_EQ(testenv::ReadFileBytes(f.ListFileName),
            f.FileList->Item(0) + "\r\n" + f.FileList->Item(1) + "\r\n");
  // Timed changes stay off.
  EXPECT_FALSE(f.TimedChange->Enabled());
  EXPECT_FALSE(f.MinuteSpin->Enabled());
}

TEST_F(DoneCancel, DoneWithNothingSelectedWritesTheListAndCloses) {
  Store(kSectionProgram, names::kTimeInterval, "1");
  Start();
  OpenWindow();
  form1().FileList->Add("C:\\added.bmp");
  form1().FileList->SetItemIndex(-1);
  form1().RandomCh->SetChecked(true);

  optionstest::Click(*form1().BtDone);
  EXPECT_TRUE(program.errors.texts.empty());
  EXPECT_EQ(Stored(kSectionProgram, names::kRandomize), "1");
  EXPECT_EQ(Stored(kSectionProgram, names::kItemIndex), "-1");
  EXPECT_NE(testenv::ReadFileBytes(form1().ListFileName).find("added.bmp"), std::string::npos);
  EXPECT_TRUE(form1().TimedChange->Enabled());
  EXPECT_FALSE(form1().Visible());
}

TEST_F(DoneCancel, NextTimedChangeComesOneFullIntervalAfterDone) {
  Store(kSectionProgram, names::kTimeInterval, "1");
  Start();
  app::TForm1& f = form1();
  EXPECT_EQ(f.TimedChange->Interval(), 15u * 60000u);
  // A short period stands in for the minutes; the timer runs while Done is pressed.
  std::vector<DWORD> ticks;
  f.TimedChange->onTimer = [&ticks] { ticks.push_back(GetTickCount()); };
  f.TimedChange->SetInterval(500);
  f.TimedChange->SetEnabled(true);
  testenv::Pump(300);
  ASSERT_TRUE(ticks.empty());
  const DWORD done = GetTickCount();
  f.BtDoneClick();
  EXPECT_TRUE(f.TimedChange->Enabled());
  EXPECT_TRUE(f.MinuteSpin->Enabled());
  while (ticks.empty() && GetTickCount() - done < 2000) testenv::Pump(10);
  ASSERT_FALSE(ticks.empty());
  EXPECT_GE(ticks[0] - done, 450u);  // not the 200 ms left of the old period
}

TEST_F(DoneCancel, CancelReadsTheStoreInTheRestoreOrder) {
  Start();
  OpenWindow();
  app::TForm1& f = form1();
  // Stored: the opposite of what the visit leaves in the controls.
  Store(kSectionProgram, names::kItemIndex, "1");
  Store(kSectionProgram, names::kShowSplash, "0");
  Store(kSectionProgram, names::kUseAnimation, "1");
  Store(kSectionSecurity, names::kUsePwd, "1");
  Store(kSectionProgram, names::kTimeInterval, "1");
  Store(kSectionProgram, names::kRandomize, "0");
  const DWORD wrongType = 1;
  program.registry.WriteRaw(optionstest::SectionKey(kSectionProgram), names::kUseSound, REG_DWORD,
                            &wrongType, sizeof(wrongType));
  Store(kSectionProgram, names::kRestartChange, "1");
  Store(kSectionProgram, names::kChangeIntervalTime, "9");
  f.FileList->SetItemIndex(0);
  f.RandomCh->SetChecked(true);
  f.StartChangeCh->SetChecked(false);
  f.MinuteSpin->SetValue(3);

  optionstest::Click(*f.BtCancel);
  // Stopped at "UseSound": everything before it is back, nothing after it.
  EXPECT_EQ(program.errors.texts, std::vector<std::string>{"Invalid data type for 'UseSound'"});
  EXPECT_EQ(f.FileList->ItemIndex(), 1);
  EXPECT_FALSE(f.SplashCheck->Checked());
  EXPECT_TRUE(f.AnimationCheck->Checked());
  EXPECT_TRUE(f.PwdCheck->Checked());
  EXPECT_TRUE(f.Button1->Enabled());
  EXPECT_TRUE(f.TimeChangeCh->Checked());
  EXPECT_FALSE(f.RandomCh->Checked());
  EXPECT_FALSE(f.StartChangeCh->Checked());
  EXPECT_EQ(f.MinuteSpin->Value(), 3);
  EXPECT_TRUE(f.Visible());
}

TEST_F(DoneCancel, CancelWithNothingStoredKeepsEveryValueStartUpGave) {
  Start();
  app::TForm1& f = form1();
  auto settings = [&f] {
    std::string s;
    for (auto* box : {&f.autostart, &f.SplashCheck, &f.AnimationCheck, &f.PwdCheck, &f.TimeChangeCh,
                      &f.RandomCh, &f.SoundCh, &f.StartChangeCh, &f.SortFiles})
      s += (*box)->Checked() ? '1' : '0';
    return s + std::to_string(f.MinuteSpin->Value()) + std::to_string(f.WPStyle->ItemIndex());
  };
  const std::string atStart = settings();
  OpenWindow();
  f.BtCancelClick();
  EXPECT_TRUE(program.errors.texts.empty());
  EXPECT_EQ(settings(), atStart);
  EXPECT_FALSE(f.Visible());
}

TEST_F(DoneCancel, CancelPutsBackTheStoredEntryStyleAndListAndTheRunningTimer) {
  Store(kSectionProgram, names::kTimeInterval, "1");
  Store(kSectionProgram, names::kWallpaperStyle, "0");
  Store(kSectionProgram, names::kItemIndex, "1");
  Store(kSectionProgram, names::kFileListSorted, "1");
  Start();
  OpenWindow();
  app::TForm1& f = form1();
  f.SortFiles->SetChecked(false);
  f.FileList->Add("C:\\0-first.bmp");  // an edit Cancel takes back
  f.WPStyle->SetItemIndex(2);
  f.WPStyleChange();
  program.registry.WriteText("Control Panel\\Desktop", "Wallpaper", "");
  std::vector<std::string> installed;
  platform::seams().systemParametersInfo = [&installed](UINT action, UINT, void* data, UINT) {
    if (action == SPI_SETDESKWALLPAPER) installed.push_back(static_cast<const char*>(data));
    return TRUE;
  };

  f.BtCancelClick();
  ASSERT_TRUE(program.errors.texts.empty()) << program.errors.texts[0];
  EXPECT_TRUE(f.FileList->Sorted());
  EXPECT_EQ(f.FileList->ItemIndex(), 1);
  ASSERT_EQ(installed.size(), 1u);
  EXPECT_EQ(installed[0], imageB);
  EXPECT_EQ(f.DS, "0");
  EXPECT_EQ(f.ST, "1");
  EXPECT_EQ(program.registry.ReadText("Control Panel\\Desktop", "TileWallpaper"), "1");
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(f.TimedChange->Enabled());
}

TEST_F(DoneCancel, CancelAfterALoadKeepsThePreviousListFileIntact) {
  Start();
  const std::string previous = form1().ListFileName;
  const std::string previousBytes = testenv::ReadFileBytes(previous);
  const std::vector<std::string> previousEntries = form1().FileList->Items();
  ASSERT_EQ(previousEntries.size(), 2u);
  Store(kSectionProgram, names::kFileListSource, previous);
  const std::string other = program.workDir.File("other.kvl");
  const std::string otherImage = program.workDir.File("other.bmp");
  testenv::WriteTestBmp(otherImage, 4, 4, RGB(0, 200, 0));
  testenv::WriteFileBytes(other, otherImage + "\r\n");

  OpenWindow();
  platform::seams().fileDialog = [other](OPENFILENAMEA& ofn, bool) {
    lstrcpynA(ofn.lpstrFile, other.c_str(), static_cast<int>(ofn.nMaxFile));
    return true;
  };
  form1().LoadFileClick();
  ASSERT_EQ(form1().ListFileName, other);
  ASSERT_EQ(form1().FileList->Items(), std::vector<std::string>{otherImage});

  form1().BtCancelClick();
  EXPECT_EQ(form1().ListFileName, previous);
  EXPECT_EQ(form1().FileList->Items(), previousEntries);
  form1().SaveForExit();
  EXPECT_EQ(testenv::ReadFileBytes(previous), previousBytes);
  EXPECT_EQ(testenv::ReadFileBytes(other), otherImage + "\r\n");
}

TEST_F(DoneCancel, CancelAtTheFirstStartKeepsTheListFileStartUpMade) {
  Start();  // nothing stored: start-up builds default.kvl but does not store its path yet
  ASSERT_EQ(form1().ListFileName, ListFile());
  OpenWindow();
  form1().BtCancelClick();
  EXPECT_EQ(form1().ListFileName, ListFile());

  // The list edited afterwards reaches its file and the store at Exit, so the next start
  // does not build a fresh list in its place.
  form1().FileList->Add("C:\\added.bmp");
  form1().SaveForExit();
  EXPECT_NE(testenv::ReadFileBytes(ListFile()).find("C:\\added.bmp\r\n"), std::string::npos);
  EXPECT_EQ(Stored(kSectionProgram, names::kFileListSource), ListFile());
}

}  // namespace
