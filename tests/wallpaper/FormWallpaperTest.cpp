// The wallpaper reactions of the settings window over the running program objects.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/SettingNames.h"
#include "tests/support/Checks.h"
#include "tests/support/win/TestEnv.h"
#include "platform/FileIO.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"
#include "wallpaper/DesktopColour.h"
#include "wallpaper/JpegConversion.h"

namespace {

using testenv::kDesktop;
using testenv::kProgramSection;
using testsupport::ErrorOf;

class FormWallpaperTest : public ::testing::Test {
 protected:
  app::TForm1& form() { return program.form(); }
  // Replaces the list by pictures that exist, nothing selected.
  std::vector<std::string> UseList(int n) {
    std::vector<std::string> paths;
    form().FileList->Clear();
    for (int i = 0; i < n; ++i) {
      paths.push_back(pictures.File("p" + std::to_string(i) + ".bmp"));
      testenv::WriteTestBmp(paths.back(), 3, 3, RGB(10 * i, 0, 0));
      form().FileList->Add(paths.back());
    }
    return paths;
  }
  std::string Desktop(const char* name) const {
    return program.fixture.registry.ReadText(kDesktop, name);
  }

  testenv::QuietProgram program;
  testenv::TempDir pictures;
};

TEST_F(FormWallpaperTest, ChangeImageInstallsTheNextEntryAndKeepsItsPosition) {
  program.Start();
  const auto paths = UseList(2);
  form().FileList->SetItemIndex(0);
  form().SoundCh->SetChecked(true);  // the device is not open: its failure is ignored
  form().ChangePopClick();
  EXPECT_EQ(program.installed, std::vector<std::string>{paths[1]});
  EXPECT_EQ(Desktop("Wallpaper"), paths[1]);
  EXPECT_EQ(program.fixture.registry.ReadText(kProgramSection, app::names::kItemIndex), "1");
  form().ChangePopClick();
  EXPECT_EQ(program.installed.back(), paths[0]);
  EXPECT_EQ(program.fixture.registry.ReadText(kProgramSection, app::names::kItemIndex), "0");
  EXPECT_TRUE(program.fixture.errors.texts.empty());
  EXPECT_EQ(form().FileList->Count(), 2);
}

TEST_F(FormWallpaperTest, StartUpChangeGoesOnAfterTheStoredEntryInTheStoredStyle) {
  // The new list is filled from the Windows directory: "start.bmp" and this one.
  testenv::WriteTestBmp(program.fixture.windowsDir.File("second.bmp"), 4, 4, RGB(4, 5, 6));
  program.fixture.registry.WriteText(kProgramSection, app::names::kRestartChange, "1");
  program.fixture.registry.WriteText(kProgramSection, app::names::kItemIndex, "1");
  program.fixture.registry.WriteText(kProgramSection, app::names::kWallpaperStyle, "0");
  program.fixture.Start();
  ASSERT_EQ(form().FileList->Count(), 2);
  EXPECT_EQ(form().FileList->ItemIndex(), 0);  // the last entry was the stored one
  EXPECT_EQ(program.installed, std::vector<std::string>{form().FileList->Item(0)});
  EXPECT_EQ(Desktop("WallpaperStyle"), "0");
  EXPECT_EQ(Desktop("TileWallpaper"), "1");
  EXPECT_EQ(program.fixture.registry.ReadText(kProgramSection, app::names::kItemIndex), "0");
  EXPECT_TRUE(program.fixture.errors.texts.empty());
}

TEST_F(FormWallpaperTest, StyleEntriesSetTheTextsThenInstallTheSelectedEntry) {
  program.Start();
  const auto paths = UseList(1);
  form().FileList->SetItemIndex(-1);
  EXPECT_EQ(ErrorOf([&] { form().CenterPopClick(); }), "List index out of bounds (-1)");
  EXPECT_EQ(form().WPStyle->ItemIndex(), 1);
  EXPECT_EQ(form().DS, "0");
  EXPECT_EQ(form().ST, "0");
  EXPECT_TRUE(program.installed.empty());

  form().FileList->SetItemIndex(0);
  form().TitlePopClick();
  EXPECT_EQ(Desktop("WallpaperStyle"), "0");
  EXPECT_EQ(Desktop("TileWallpaper"), "1");
  form().StreckPopClick();
  EXPECT_EQ(form().WPStyle->ItemIndex(), 2);
  EXPECT_EQ(Desktop("WallpaperStyle"), "2");
  EXPECT_EQ(Desktop("TileWallpaper"), "0");
  EXPECT_EQ(program.installed, std::vector<std::string>(2, paths[0]));

  // Picking in the combo derives the texts without installing; no item keeps them.
  form().WPStyle->SetItemIndex(1);
  form().WPStyleChange();
  EXPECT_EQ(form().DS + form().ST, "00");
  form().WPStyle->SetItemIndex(-1);
  form().WPStyleChange();
  EXPECT_EQ(form().DS + form().ST, "00");
  EXPECT_EQ(program.installed.size(), 2u);
}

TEST_F(FormWallpaperTest, ChangeNowInstallsTheSelectedEntryWithoutPicking) {
  program.Start();
  const auto paths = UseList(3);
  form().FileList->SetItemIndex(1);
  form().InstantChClick();
  EXPECT_EQ(program.installed, std::vector<std::string>{paths[1]});
  EXPECT_EQ(form().FileList->ItemIndex(), 1);
  form().FileList->SetItemIndex(-1);
  EXPECT_EQ(ErrorOf([&] { form().InstantChClick(); }), "List index out of bounds (-1)");
}

TEST_F(FormWallpaperTest, IntervalFollowsTheMinuteFieldWithinItsBounds) {
  program.Start();
  const std::vector<std::pair<int, UINT>> cases = {
      {1, 60000}, {60, 3600000}, {0, 60000}, {300, 3600000}, {15, 900000}};
  for (const auto& [minutes, interval] : cases) {
    form().MinuteSpin->SetValue(minutes);
    EXPECT_EQ(form().TimedChange->Interval(), interval) << minutes;
  }
}

TEST_F(FormWallpaperTest, ShowingTheWindowPausesTimedChanges) {
  program.fixture.registry.WriteText(kProgramSection, app::names::kTimeInterval, "1");
  program.Start();
  ASSERT_TRUE(form().TimedChange->Enabled());
  form().ShowSettings();
  testenv::Pump();
  EXPECT_FALSE(form().TimedChange->Enabled());
  SendMessageA(form().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form().Visible());
  EXPECT_TRUE(form().TimedChange->Enabled());  // as before the visit, and so after Cancel
}

TEST_F(FormWallpaperTest, TicksStartNoChangeWhileTheErrorBoxOfAChangeIsOpen) {
  program.Start();
  // Every change fails, and the entry stays for the next tick.
  form().FileList->Clear();
  form().FileList->Add(program.fixture.workDir.File("gone.bmp"));
  form().FileList->SetItemIndex(0);
  int depth = 0, deepest = 0, boxes = 0;
  platform::seams().errorBox = [&](HWND, const std::string& text) {
    EXPECT_EQ(text.rfind("Cannot open file", 0), 0u) << text;
    ++boxes;
    deepest = std::max(deepest, ++depth);
    // The modal box's loop delivers further ticks (for a bounded number of boxes, so
    // that nesting boxes fail the test instead of never ending).
    if (boxes < 20) testenv::Pump(150);
    --depth;
  };
  form().TimedChange->SetInterval(10);
  form().TimedChange->SetEnabled(true);
  testenv::Pump(400);
  // The tray's "Change Image" shows its own error box; ticks inside it start nothing either.
  form().ChangePopClick();
  form().TimedChange->SetEnabled(false);
  EXPECT_EQ(deepest, 1);
  EXPECT_GE(boxes, 2);
  program.fixture.errors.texts.clear();
  platform::seams().errorBox = [this](HWND, const std::string& text) {
    program.fixture.errors.texts.push_back(text);
  };
}

TEST_F(FormWallpaperTest, BackgroundColourEntriesSetTheFiveFixedColours) {
  program.Start();
  std::vector<std::pair<INT, COLORREF>> calls;
  platform::seams().setSysColors = [&](int count, const INT* elements, const COLORREF* colours) {
    EXPECT_EQ(count, 1);
    calls.emplace_back(elements[0], colours[0]);
    return TRUE;
  };
  form().BcBlackClick();
  form().BcWhiteClick();
  form().BcRedClick();
  form().BcBlueClick();
  form().BcGreenClick();
  const std::vector<std::pair<INT, COLORREF>> expected = {{COLOR_DESKTOP, 0x000000},
                                                          {COLOR_DESKTOP, 0xFFFFFF},
                                                          {COLOR_DESKTOP, 0x000080},
                                                          {COLOR_DESKTOP, 0x800000},
                                                          {COLOR_DESKTOP, 0x008000}};
  EXPECT_EQ(calls, expected);
  EXPECT_TRUE(program.installed.empty());
}

TEST_F(FormWallpaperTest, WithoutTheProgramKeyChangesStillInstall) {
  // A program key that can be neither opened nor created: start-up reports it, and the
  // changes go on without keeping "ItemIndex" instead of removing every entry.
  HKEY gone = nullptr;
  ASSERT_EQ(RegCreateKeyExA(program.fixture.registry.root(), "Gone", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &gone, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteTreeA(program.fixture.registry.root(), "Gone"), ERROR_SUCCESS);
  platform::seams().registryRoot = gone;
  program.Start();
  const auto paths = UseList(2);
  form().FileList->SetItemIndex(0);
  form().ChangePopClick();
  EXPECT_EQ(program.installed, std::vector<std::string>{paths[1]});
  EXPECT_EQ(form().FileList->Count(), 2);
  EXPECT_TRUE(program.fixture.errors.texts.empty());
  platform::seams().registryRoot = program.fixture.registry.root();
  RegCloseKey(gone);
}

TEST_F(FormWallpaperTest, JpegGoesToThePerUserFolderWhenTheWindowsDirectoryIsNotWritable) {
  program.Start();
  platform::seams().windowsDirectory = [this] {
    return program.fixture.windowsDir.File("missing");
  };
  const std::string jpeg = pictures.File("photo.jpg");
  testenv::WriteTestJpeg(jpeg, 12, 8, RGB(200, 30, 30));
  form().ApplyWallpaper(jpeg, "2", "0");
  const std::string expected = platform::seams().perUserFolder() + "\\Kestrova.bmp";
  EXPECT_NE(expected.find("\\Kestrova\\Kestrova.bmp"), std::string::npos);
  EXPECT_EQ(Desktop("Wallpaper"), expected);
  EXPECT_EQ(program.installed, std::vector<std::string>{expected});
  EXPECT_EQ(testenv::ReadFileBytes(expected).substr(0, 2), "BM");
  DeleteFileA(expected.c_str());
  RemoveDirectoryA(platform::seams().perUserFolder().c_str());
}

TEST_F(FormWallpaperTest, HiddenChangeTestsTheEntryAndShowingTheWindowPreviewsIt) {
  program.Start();
  const std::string sea = pictures.File("sea.jpg"), gone = pictures.File("gone.jpg");
  testenv::WriteTestJpeg(sea, 300, 200, RGB(0, 0, 200));
  form().FileList->Clear();
  form().FileList->AddAll({gone, sea});
  form().FileList->SetItemIndex(1);
  form().ChangePopClick();  // to the missing file: reported at the preview, and kept
  ASSERT_EQ(program.fixture.errors.texts.size(), 1u);
  EXPECT_EQ(program.fixture.errors.texts[0].rfind("Cannot open file \"" + gone + "\". ", 0), 0u);
  EXPECT_EQ(form().FileList->Count(), 2);
  form().ChangePopClick();
  EXPECT_EQ(program.installed.size(), 1u);
  form().ShowSettings();
  testenv::Pump();
  EXPECT_EQ(form().Image1Hint->Text(), "sea.jpg\r( 300 x 200 ) pixels");
  EXPECT_EQ(form().Image1->Bitmap(), form().PreviewBitmap.get());
}

TEST_F(FormWallpaperTest, TimedChangesInstallTheBitmapMadeAheadOnlyWhileItStillFits) {
  program.Start();
  form().TimeChangeCh->SetChecked(true);
  const std::string red = pictures.File("red.jpg"), blue = pictures.File("blue.jpg");
  testenv::WriteTestJpeg(red, 40, 30, RGB(200, 0, 0));
  testenv::WriteTestJpeg(blue, 40, 30, RGB(0, 0, 200));
  program.Fill({red, blue});
  const std::string next = program.fixture.windowsDir.File("Kestrova.next.bmp");
  // The change after the next one's bitmap was made; a made-ahead bitmap marked grey shows
  // whether that change used it.
  const auto changeAfterMarking = [&](const std::function<void()>& meanwhile) {
    form().FinishPreparing();
    std::string bitmap = testenv::ReadFileBytes(next);
    bitmap.replace(54, 3, "\x80\x80\x80");
    testenv::WriteFileBytes(next, bitmap);
    meanwhile();
    form().ChangePopClick();
    const std::string shown = testenv::ReadFileBytes(Desktop("Wallpaper"));
    const auto r = static_cast<uint8_t>(shown[56]), b = static_cast<uint8_t>(shown[54]);
    return r == 0x80 ? std::string("made ahead") : r > b ? "red" : "blue";
  };
  form().FileList->SetItemIndex(1);
  form().ChangePopClick();  // red, and blue's bitmap made ahead
  EXPECT_EQ(changeAfterMarking([] {}), "made ahead");
  EXPECT_EQ(changeAfterMarking([&] { testenv::WriteTestJpeg(red, 41, 30, RGB(0, 0, 250)); }),
            "blue");  // the picture was changed after its bitmap was made
  EXPECT_EQ(changeAfterMarking([&] {
              form().WPStyle->SetItemIndex(1);  // another style
              form().WPStyleChange();
            }),
            "blue");
  form().RandomCh->SetChecked(true);
  form().ChangePopClick();  // draws the next pick now, and makes its bitmap
  EXPECT_EQ(changeAfterMarking([] {}), "made ahead");
  EXPECT_TRUE(program.fixture.errors.texts.empty());
}

TEST_F(FormWallpaperTest, DisplayChangeRemakesTheBitmapOnlyWhenTheScreenOutgrowsIt) {
  program.Start();
  // Outlives the test body: the seams are put back only after the program has gone.
  auto monitors = std::make_shared<std::vector<SIZE>>(std::vector<SIZE>{{40, 30}});
  platform::seams().monitorSizes = [monitors] { return *monitors; };
  const std::string jpeg = pictures.File("photo.jpg");
  testenv::WriteTestJpeg(jpeg, 120, 90, RGB(200, 30, 30));
  const auto bitmapSizeAfter = [&](std::vector<SIZE> screen) {
    *monitors = std::move(screen);
    SendMessageA(form().hwnd(), WM_DISPLAYCHANGE, 24, 0);
    const std::string b = testenv::ReadFileBytes(Desktop("Wallpaper"));
    return std::to_string(testsupport::Le32(b, 18)) + "x" +
           std::to_string(testsupport::Le32(b, 22));
  };
  form().ApplyWallpaper(jpeg, "0", "0");
  EXPECT_EQ(bitmapSizeAfter({{40, 30}}), "40x30");
  EXPECT_EQ(bitmapSizeAfter({{40, 30}, {100, 64}}), "100x64");
  EXPECT_EQ(program.installed.size(), 2u);
  EXPECT_EQ(bitmapSizeAfter({{80, 60}}), "100x64");  // still covers the smaller screen
  EXPECT_EQ(program.installed.size(), 2u);
  EXPECT_TRUE(program.fixture.errors.texts.empty());
}

TEST(DesktopColour, RefusalReportsTheSystemsError) {
  platform::seams().setSysColors = [](int, const INT*, const COLORREF*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  };
  EXPECT_EQ(ErrorOf([] { wallpaper::SetDesktopColour(wallpaper::kDesktopRed); }),
            "System Error.  Code: 5.\r\n" + platform::SystemErrorText(ERROR_ACCESS_DENIED));
  platform::seams().setSysColors = [](int, const INT*, const COLORREF*) { return FALSE; };
  EXPECT_EQ(ErrorOf([] { wallpaper::SetDesktopColour(wallpaper::kDesktopRed); }),
            "A call to an OS function failed");
  platform::seams().Reset();
}

}  // namespace
