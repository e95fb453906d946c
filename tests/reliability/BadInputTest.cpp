// Bad input handed to the program: huge and malformed list files, over-long paths, broken
// pictures, impossible JPEG sizes and stored settings of the wrong type.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Support.h"
#include "tests/support/Checks.h"
#include "tests/support/JpegEncode.h"
#include "app/Unit3.h"
#include "ui/ErrorBox.h"
#include "wallpaper/JpegConversion.h"

namespace {

using testenv::kProgramSection;
using testsupport::ErrorOf;

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    picture = program.fixture.workDir.File("first.bmp");
    testenv::WriteTestBmp(picture, 8, 8, RGB(9, 9, 9));
    program.Start();
  }
  app::TForm1& form() { return program.form(); }
  std::string File(const std::string& name) { return program.fixture.workDir.File(name); }
  void Load(const std::string& path) {
    platform::seams().fileDialog = [path](OPENFILENAMEA& ofn, bool) {
      if (path.size() + 2 > ofn.nMaxFile) return false;
      std::copy(path.begin(), path.end(), ofn.lpstrFile);
      ofn.lpstrFile[path.size()] = ofn.lpstrFile[path.size() + 1] = '\0';
      return true;
    };
    ui::Guarded([&] { form().LoadFileClick(); });
  }
  // Preview of one entry; the text of its failure.
  std::string Preview(const std::string& path) {
    program.Fill({path});
    form().FileList->SetItemIndex(0);
    return ErrorOf([&] { form().FileListClick(); });
  }
  std::string NoticeCaption() { return program.fixture.form3().Text(); }

  std::string picture;
  testenv::QuietProgram program;
};

TEST_F(BadInput, HugeListFilesLoadByTheLineRules) {
  // About 50 MB: the first entry a picture (the load tests it), then long entries.
  const std::string filler(1000, 'x');
  std::string big = picture + "\r\n";
  int lines = 1;
  while (big.size() < 50u * 1024 * 1024) {
    big += "C:\\" + std::to_string(lines) + filler + ".jpg\r\n";
    ++lines;
  }
  program.fixture.workDir.Write("big.kvl", big);
  const DWORD started = GetTickCount();
  Load(File("big.kvl"));
  const DWORD took = GetTickCount() - started;
  EXPECT_TRUE(program.Errors().empty());
  ASSERT_EQ(form().FileList->Count(), lines);
  EXPECT_EQ(form().FileList->Item(lines - 1), "C:\\" + std::to_string(lines - 1) + filler + ".jpg");
  EXPECT_EQ(form().ListFileName, File("big.kvl"));
  // Still able to repaint afterwards.
  EXPECT_TRUE(RedrawWindow(form().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW));
  std::printf("[ figures  ] 50 MB list (%d entries) loaded in %lu ms\n", lines,
              static_cast<unsigned long>(took));

  // A line of 1 MB stays one whole entry; a file without any line end is one entry.
  const std::string longLine(1024 * 1024, 'L');
  program.fixture.workDir.Write("long.kvl", picture + "\r\n" + longLine + "\r\nC:\\after.bmp");
  Load(File("long.kvl"));
  ASSERT_EQ(form().FileList->Count(), 3);
  EXPECT_EQ(form().FileList->Item(1), longLine);
  EXPECT_EQ(form().FileList->Item(2), "C:\\after.bmp");
  program.fixture.workDir.Write("noend.kvl", picture);
  Load(File("noend.kvl"));
  EXPECT_EQ(form().FileList->Items(), std::vector<std::string>{picture});
  EXPECT_EQ(form().ListFileName, File("noend.kvl"));
  EXPECT_TRUE(program.Errors().empty());
}

TEST_F(BadInput, BinaryJunkListIsReportedAndTheFileKept) {
  std::string junk;
  unsigned seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245u + 12345u;
    junk += static_cast<char>(seed >> 16);
  }
  program.fixture.workDir.Write("junk.kvl", junk);
  const std::string before = form().ListFileName;
  Load(File("junk.kvl"));
  EXPECT_EQ(NoticeCaption(), "Not a valid .kvl-file");
  // The Windows directory's picture instead; the junk is not made current.
  EXPECT_EQ(form().FileList->Items(),
            std::vector<std::string>{program.fixture.windowsDir.File("start.bmp")});
  EXPECT_NE(form().ListFileName, File("junk.kvl"));
  EXPECT_EQ(program.fixture.workDir.Read("junk.kvl"), junk);
}

TEST_F(BadInput, PathsLongerThanMaxPathAreNeverCutOff) {
  std::string folder = program.fixture.workDir.path();
  while (folder.size() < 300) folder += "\\" + std::string(60, 'd');
  const std::string bmp = folder + "\\picture.bmp";
  const std::string jpg = folder + "\\picture.jpg";
  ASSERT_GT(bmp.size(), 260u);

  // Missing: the open error names the whole path.
  const std::string previewError = Preview(jpg);
  EXPECT_EQ(previewError.rfind("Cannot open file \"" + jpg + "\". ", 0), 0u) << previewError;
  const std::string applyError = ErrorOf([&] { form().ApplyWallpaper(jpg, "2", "0"); });
  EXPECT_EQ(applyError.rfind("Cannot open file \"" + jpg + "\". ", 0), 0u) << applyError;

  const std::string bmpError = ErrorOf([&] { form().ApplyWallpaper(bmp, "2", "0"); });
  EXPECT_EQ(bmpError.rfind("Cannot open file \"" + bmp + "\". ", 0), 0u) << bmpError;
  EXPECT_TRUE(program.installed.empty());

  // Through the list file too.
  program.fixture.workDir.Write("longpath.kvl", picture + "\r\n" + bmp + "\r\n");
  Load(File("longpath.kvl"));
  ASSERT_EQ(form().FileList->Count(), 2);
  EXPECT_EQ(form().FileList->Item(1), bmp);
}

std::string Le32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
std::string Le16(uint16_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8)};
}

std::string BmpHeader(int32_t width, int32_t height, uint32_t dataSize) {
  std::string h = "BM" + Le32(54 + dataSize) + Le32(0) + Le32(54);
  h += Le32(40) + Le32(static_cast<uint32_t>(width)) + Le32(static_cast<uint32_t>(height));
  h += Le16(1) + Le16(24) + Le32(0) + Le32(dataSize) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
  return h;
}

TEST_F(BadInput, BrokenBitmapsAndIconsAreNotValidWithinBoundedMemory) {
  const size_t before = reliabilitytest::PrivateBytes();
  program.fixture.workDir.Write("huge.bmp", BmpHeader(100000, 100000, 64) + std::string(64, 'a'));
  EXPECT_EQ(Preview(File("huge.bmp")), "Bitmap image is not valid");
  program.fixture.workDir.Write("wide.bmp", BmpHeader(0x7fffffff, 1, 64) + std::string(64, 'a'));
  EXPECT_EQ(Preview(File("wide.bmp")), "Bitmap image is not valid");

  testenv::WriteTestBmp(File("whole.bmp"), 64, 64, RGB(1, 200, 3));
  const std::string whole = program.fixture.workDir.Read("whole.bmp");
  program.fixture.workDir.Write("cut.bmp", whole.substr(0, whole.size() / 2));
  EXPECT_EQ(Preview(File("cut.bmp")), "Bitmap image is not valid");
  program.fixture.workDir.Write("header.bmp", whole.substr(0, 20));
  EXPECT_EQ(Preview(File("header.bmp")), "Bitmap image is not valid");

  // Icon directories: more images than the file holds, an image past the end, none at all.
  std::string icon = Le16(0) + Le16(1) + Le16(5);
  icon += std::string(1, '\x20') + std::string(1, '\x20') + std::string(2, '\0') + Le16(1) +
          Le16(32) + Le32(0x7fffffff) + Le32(22);
  program.fixture.workDir.Write("count.ico", icon);
  EXPECT_EQ(Preview(File("count.ico")), "Icon image is not valid");
  std::string pastEnd = Le16(0) + Le16(1) + Le16(1);
  pastEnd += std::string(1, '\x20') + std::string(1, '\x20') + std::string(2, '\0') + Le16(1) +
             Le16(32) + Le32(4096) + Le32(0x7ffffff0);
  program.fixture.workDir.Write("past.ico", pastEnd);
  EXPECT_EQ(Preview(File("past.ico")), "Icon image is not valid");
  program.fixture.workDir.Write("none.ico", Le16(0) + Le16(1) + Le16(0));
  EXPECT_EQ(Preview(File("none.ico")), "Icon image is not valid");

  EXPECT_LT(reliabilitytest::PrivateBytes(), before + 64u * 1024 * 1024);
}

TEST_F(BadInput, DamagedAndOversizedJpegsFailBeforeWritingAnything) {
  testenv::WriteTestJpeg(File("good.jpg"), 64, 48, RGB(200, 100, 0));
  const std::string good = program.fixture.workDir.Read("good.jpg");
  const size_t scan = good.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  // Sound header, the scan cut short and its end filled with junk.
  std::string damaged = good.substr(0, scan + (good.size() - scan) / 3);
  damaged += std::string(40, '\xFF') + "\x01\x02\x03";
  program.fixture.workDir.Write("damaged.jpg", damaged);
  program.fixture.workDir.Write("giant.jpg", testjpeg::WithClaimedSize(good, 60000, 60000));

  const std::string kestrova = program.fixture.windowsDir.File(wallpaper::kConvertedBitmapName);
  testenv::WriteFileBytes(kestrova, "previous bitmap");
  const size_t before = reliabilitytest::PrivateBytes();
  for (const char* name : {"damaged.jpg", "giant.jpg"}) {
    SCOPED_TRACE(name);
    program.Fill({File(name)});
    form().FileList->SetItemIndex(0);
    const std::string error = ErrorOf([&] { form().ApplyWallpaper(File(name), "2", "0"); });
    EXPECT_EQ(error.rfind("JPEG error #", 0), 0u) << error;
    EXPECT_EQ(testenv::ReadFileBytes(kestrova), "previous bitmap");
    EXPECT_TRUE(program.installed.empty());
    EXPECT_NE(Preview(File(name)), testsupport::kNoError);
    EXPECT_EQ(form().FileList->Count(), 1);
  }
  // No temporary file left beside the bitmap.
  EXPECT_EQ(testenv::FilesIn(program.fixture.windowsDir.path()).size(),
            2u);  // start.bmp and Kestrova.bmp
  EXPECT_LT(reliabilitytest::PrivateBytes(), before + 64u * 1024 * 1024);
}

TEST_F(BadInput, WrongRegistryTypeAtCancelShowsTheErrorAndTheProgramGoesOn) {
  program.Fill({picture});
  form().FileList->SetItemIndex(0);
  form().ShowSettings();
  const BYTE binary[] = {1, 2, 3};
  program.fixture.registry.WriteRaw(kProgramSection, app::names::kItemIndex, REG_BINARY, binary,
                                    sizeof(binary));
  ui::Guarded([&] { form().BtCancelClick(); });
  ASSERT_EQ(program.Errors().size(), 1u);
  EXPECT_NE(program.Errors()[0].find("Invalid data type for 'ItemIndex'"), std::string::npos)
      << program.Errors()[0];
  EXPECT_TRUE(program.installed.empty());

  // Still running: the next change installs and stores the position again.
  program.Errors().clear();
  form().ChangeWallpaper();
  EXPECT_EQ(program.installed, std::vector<std::string>{picture});
  EXPECT_EQ(program.fixture.registry.ReadText(kProgramSection, app::names::kItemIndex), "0");
  EXPECT_TRUE(program.Errors().empty());
}

}  // namespace
