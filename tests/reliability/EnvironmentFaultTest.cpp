// Faults of the system around the program: folders that cannot be written, a list file
// locked by another program, refused system calls and devices, a missing Run key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Support.h"
#include "app/Unit3.h"
#include "integration/SoundDevice.h"
#include "ui/ErrorBox.h"
#include "platform/core/Error.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "wallpaper/JpegConversion.h"
#include "tests/support/Checks.h"

namespace {

class EnvironmentFault : public ::testing::Test {
 protected:
  void SetUp() override {
    jpeg = program.fixture.workDir.File("photo.jpg");
    bmp = program.fixture.workDir.File("plain.bmp");
    testenv::WriteTestJpeg(jpeg, 32, 24, RGB(50, 60, 70));
    testenv::WriteTestBmp(bmp, 8, 8, RGB(1, 1, 1));
  }
  void Start() {
    program.Start();
    program.Fill({jpeg, bmp});
    form().FileList->SetItemIndex(0);
  }
  app::TForm1& form() { return program.form(); }

  std::string jpeg, bmp;
  testenv::QuietProgram program;
};

TEST_F(EnvironmentFault, UnwritableWindowsDirectoryFallsBackToThePerUserFolder) {
  Start();
  // Wine does not enforce the read-only attribute on folders (and root may write
  // anywhere), so the Windows directory is one where no file can be created.
  const std::string readOnly = program.fixture.windowsDir.File("readonly");
  CreateDirectoryA(readOnly.c_str(), nullptr);
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  std::string windows = readOnly;
  if (HANDLE probe = CreateFileA((readOnly + "\\probe").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
      probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    windows = program.fixture.windowsDir.File("missing\\folder");
  }
  platform::seams().windowsDirectory = [windows] { return windows; };

  form().ChangeWallpaper();  // from the JPEG at 0 to the bitmap, then back to the JPEG
  form().ChangeWallpaper();
  const std::string perUser =
      platform::seams().perUserFolder() + "\\" + wallpaper::kConvertedBitmapName;
  ASSERT_EQ(program.installed, (std::vector<std::string>{bmp, perUser}));
  EXPECT_EQ(testenv::ReadFileBytes(perUser).substr(0, 2), "BM");
  EXPECT_EQ(form().FileList->Items(), (std::vector<std::string>{jpeg, bmp}));
  EXPECT_TRUE(program.Errors().empty());
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(EnvironmentFault, BitmapThatCannotBeReplacedGoesToThePerUserFolderAndKeepsTheJpeg) {
  Start();
  const std::string held = program.fixture.windowsDir.File(wallpaper::kConvertedBitmapName);
  const std::string perUser = platform::seams().perUserFolder() + "\\Kestrova.bmp";
  testenv::WriteFileBytes(held, "old");
  auto holdOpen = [](const std::string& path) {
    return platform::UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
  };
  const platform::UniqueFile windowsHeld = holdOpen(held);
  form().FileList->SetItemIndex(1);
  form().ChangePopClick();  // to the JPEG at 0
  EXPECT_EQ(program.installed, std::vector<std::string>{perUser});
  const platform::UniqueFile perUserHeld = holdOpen(perUser);
  form().ChangePopClick();                 // the bitmap
  form().ChangePopClick();                 // the JPEG again
  ASSERT_EQ(program.Errors().size(), 1u);  // neither place: why, and the JPEG stays
  EXPECT_EQ(program.Errors()[0].rfind("Cannot create file \"" + held + "\". ", 0), 0u);
  EXPECT_EQ(form().FileList->Items(), (std::vector<std::string>{jpeg, bmp}));
  EXPECT_FALSE(program.fixture.form3().Visible());  // no "FileName not valid"
}

TEST_F(EnvironmentFault, LockedListFileIsReportedKeptAndWrittenByALaterExit) {
  Start();
  const std::string list = form().ListFileName;
  ASSERT_FALSE(list.empty());
  const std::string old = testenv::ReadFileBytes(list);
  form().FileList->Add("C:\\new entry.bmp");
  const std::vector<std::string> entries = form().FileList->Items();
  {
    platform::UniqueFile other(CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    form().ShowSettings();
    ui::Guarded([&] { form().BtDoneClick(); });
    ASSERT_EQ(program.Errors().size(), 1u);
    EXPECT_EQ(program.Errors()[0].rfind("Cannot create file \"" + list + "\". ", 0), 0u)
        << program.Errors()[0];
    EXPECT_EQ(form().SaveForExit().size(), 1u);
    EXPECT_EQ(testenv::ReadFileBytes(list), old);
  }
  EXPECT_EQ(form().FileList->Items(), entries);
  // No temporary file left behind.
  EXPECT_EQ(testenv::FilesIn(program.fixture.workDir.path()).size(),
            3u);  // the list and 2 pictures
  program.Errors().clear();
  form().SaveForExit();
  std::string expected;
  for (const std::string& e : entries) expected += e + "\r\n";
  EXPECT_EQ(testenv::ReadFileBytes(list), expected);
  EXPECT_TRUE(program.Errors().empty());
}

TEST_F(EnvironmentFault, MissingListFolderIsReportedAndNothingLost) {
  Start();
  const std::string folder = program.fixture.workDir.File("gone");
  const std::string list = folder + "\\list.kvl";
  form().ListFileName = list;
  const std::vector<std::string> unsaved = form().SaveForExit();
  ASSERT_EQ(unsaved.size(), 1u);
  EXPECT_EQ(unsaved[0].rfind("Cannot create file \"" + list + "\". ", 0), 0u) << unsaved[0];
  EXPECT_EQ(form().FileList->Items(), (std::vector<std::string>{jpeg, bmp}));
  EXPECT_EQ(form().ListFileName, list);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  form().SaveForExit();
  EXPECT_EQ(testenv::ReadFileBytes(list), jpeg + "\r\n" + bmp + "\r\n");
}

TEST_F(EnvironmentFault, RefusedSystemCallsAndDevicesDoNotStopTheProgram) {
  // The device opens, then refuses every request to play.
  int refusedRequests = 0;
  platform::seams().mciSend = [&refusedRequests](MCIDEVICEID, UINT msg, DWORD_PTR,
                                                 DWORD_PTR params) -> MCIERROR {
    if (msg == MCI_OPEN) {
      reinterpret_cast<MCI_OPEN_PARMSA*>(params)->wDeviceID = 7;
      return 0;
    }
    if (msg == MCI_CLOSE) return 0;
    ++refusedRequests;
    return MCIERR_DEVICE_NOT_READY;
  };
  Start();
  // The colour: the system's own text.
  platform::seams().setSysColors = [](int, const INT*, const COLORREF*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  };
  ui::Guarded([&] { form().BcRedClick(); });
  ASSERT_EQ(program.Errors().size(), 1u);
  EXPECT_EQ(program.Errors()[0].rfind(
                "System Error.  Code: 5.\r\n" + platform::SystemErrorText(ERROR_ACCESS_DENIED), 0),
            0u)
      << program.Errors()[0];
  program.Errors().clear();

  // The sound device refuses everything: the change goes on, silently.
  form().SoundCh->SetChecked(true);
  form().Sound->SetFileName("C:\\chime.wav");
  form().Sound->Open();
  form().ChangeWallpaper();
  EXPECT_EQ(program.installed, std::vector<std::string>{bmp});
  EXPECT_TRUE(program.Errors().empty());
  EXPECT_GT(refusedRequests, 0) << "the change never asked the device to play";

  // No Run key under the root (a new profile): it is made, with the value, and the notice.
  form().autostart->SetChecked(true);
  ui::Guarded([&] { form().autostartMouseUp(); });
  EXPECT_TRUE(program.Errors().empty());
  EXPECT_EQ(program.fixture.form3().Text(), "Important Information");
  EXPECT_EQ(
      program.fixture.registry.ValueNames("Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
      std::vector<std::string>{"Papershift"});
}

}  // namespace

namespace {

// A full disk, as far as the file system here lets it be made: room for the new file is
// claimed first, and a claim the volume cannot give fails before anything is written.
TEST(SafeFileWriterFault, NoRoomLeavesTheOldFileAsItWas) {
  testenv::TempDir dir;
  const std::string path = dir.File("list.kvl");
  testenv::WriteFileBytes(path, "C:\\old.jpg\r\n");
  const std::string error = testsupport::ErrorOf([&] {
    platform::SafeFileWriter writer(path);
    writer.Reserve(1ull << 62);  // far beyond any volume
    writer.Append("C:\\new.jpg\r\n", 12);
    writer.Commit();
  });
  EXPECT_EQ(error.rfind("Cannot create file \"" + path + "\". ", 0), 0u) << error;
  EXPECT_EQ(testenv::ReadFileBytes(path), "C:\\old.jpg\r\n");
  // No temporary file is left beside it.
  EXPECT_EQ(testenv::FilesIn(dir.path()).size(), 1u);
}

}  // namespace
