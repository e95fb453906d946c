// The preview of the selected entry: fit, hint, picture kinds and their errors, and what a
// failed preview leaves on show.
#include <gtest/gtest.h>

#include "Support.h"

namespace {

using imagelisttest::BoundsOf;
using imagelisttest::PixelOf;
using imagelisttest::SizeOf;

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testenv::WriteTestBmp(program.fixture.windowsDir.File("start.bmp"), 40, 30, RGB(0, 128, 0));
    program.Start();
    ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
  }
  // Adds the file as the only entry, selects and previews it.
  void Preview(const std::string& path) {
    form().FileList->Clear();
    form().FileList->Add(path);
    form().FileList->SetItemIndex(0);
    program.React([&] { form().FileListClick(); });
  }
  std::string File(const std::string& name) { return program.fixture.workDir.File(name); }
  app::TForm1& form() { return program.form(); }
  HWND image() { return form().Image1->hwnd(); }

  imagelisttest::Program program;
};

struct FitCase {
  int w, h;
  RECT expected;  // left, top, right, bottom inside the frame
};

TEST_F(PreviewTest, FitsEveryShapeIntoTheFrameWithoutEnlarging) {
  const FitCase cases[] = {
      {800, 600, {0, -12, 225, 156}}, {1024, 768, {0, -12, 225, 156}},
      {1600, 900, {0, 9, 225, 135}},  {2000, 1000, {0, 16, 225, 128}},
      {600, 800, {58, 0, 166, 145}},  {300, 300, {0, -40, 225, 185}},
      {100, 50, {62, 47, 162, 97}},   {225, 145, {0, 0, 225, 145}},
  };
  for (const FitCase& c : cases) {
    const std::string path = File(std::to_string(c.w) + "x" + std::to_string(c.h) + ".jpg");
    testenv::WriteTestJpeg(path, c.w, c.h, RGB(200, 30, 30));
    Preview(path);
    ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
    const RECT r = BoundsOf(image());
    EXPECT_EQ(r.left, c.expected.left) << c.w << "x" << c.h;
    EXPECT_EQ(r.top, c.expected.top) << c.w << "x" << c.h;
    EXPECT_EQ(r.right, c.expected.right) << c.w << "x" << c.h;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.w << "x" << c.h;
    // The hint gives the picture's own size, whatever size is kept for showing it.
    EXPECT_EQ(form().Image1Hint->Text(), imagelisttest::HintFor(path, c.w, c.h));
  }
}

TEST_F(PreviewTest, HintNamesTheFileAndItsSize) {
  const std::string path = File("sea.jpg");
  testenv::WriteTestJpeg(path, 1024, 768, RGB(0, 0, 200));
  Preview(path);
  EXPECT_EQ(form().Image1Hint->Text(), "sea.jpg\r( 1024 x 768 ) pixels");
}

TEST_F(PreviewTest, KeepsNoFullSizeCopyButCoversWhatIsShown) {
  testenv::WriteTestJpeg(File("big.jpg"), 2000, 1000, RGB(10, 200, 10));
  testenv::WriteTestBmp(File("big.bmp"), 1600, 900, RGB(10, 20, 200));
  // Beyond what libjpeg's smallest scale (1/8) brings down to the frame.
  testenv::WriteTestJpeg(File("huge.jpg"), 4000, 3000, RGB(200, 10, 10));
  for (const char* name : {"big.jpg", "huge.jpg", "big.bmp"}) {
    Preview(File(name));
    ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
    const SIZE kept = SizeOf(form().PreviewBitmap.get());
    const RECT shown = BoundsOf(image());
    EXPECT_GE(kept.cx, shown.right - shown.left) << name;
    EXPECT_GE(kept.cy, shown.bottom - shown.top) << name;
    EXPECT_LE(kept.cx, 2 * (shown.right - shown.left)) << name;
    EXPECT_EQ(form().Image1->Bitmap(), form().PreviewBitmap.get());
  }
  // The reduced bitmap still has the picture's colour (a box filter, no garbage).
  const COLORREF c = PixelOf(form().PreviewBitmap.get(), 10, 10);
  EXPECT_NEAR(GetRValue(c), 10, 2);
  EXPECT_NEAR(GetGValue(c), 20, 2);
  EXPECT_NEAR(GetBValue(c), 200, 2);
}

TEST_F(PreviewTest, ExtensionChoosesTheTypeWhateverItsCase) {
  testenv::WriteTestJpeg(File("CAPS.JPG"), 64, 48, RGB(1, 2, 3));
  Preview(File("CAPS.JPG"));
  EXPECT_TRUE(program.Errors().empty());
  EXPECT_EQ(form().Image1Hint->Text(), "CAPS.JPG\r( 64 x 48 ) pixels");

  testenv::WriteTestJpeg(File("photo.jpeg"), 30, 20, RGB(1, 2, 3));
  Preview(File("photo.jpeg"));
  EXPECT_TRUE(program.Errors().empty());

  // A PNG file is refused by its extension before it is opened.
  Preview(File("missing.png"));
  ASSERT_EQ(program.Errors().size(), 1u);
  EXPECT_EQ(program.Errors()[0], "Unknown picture file extension (.png)");
  Preview(File("noextension"));
  EXPECT_EQ(program.Errors().back(), "Unknown picture file extension (.)");
}

TEST_F(PreviewTest, IconIsDrawnAtItsSizeOnTheButtonFace) {
  testenv::WriteFileBytes(File("app.ico"), imagelisttest::IconFileBytes(48, 48, 8));
  Preview(File("app.ico"));
  ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
  EXPECT_EQ(form().Image1Hint->Text(), "app.ico\r( 48 x 48 ) pixels");
  const RECT r = BoundsOf(image());
  EXPECT_EQ(r.left, 88);
  EXPECT_EQ(r.top, 48);
  EXPECT_EQ(r.right - r.left, 48);
  const SIZE size = SizeOf(form().PreviewBitmap.get());
  EXPECT_EQ(size.cx, 48);
  EXPECT_EQ(size.cy, 48);
  EXPECT_EQ(PixelOf(form().PreviewBitmap.get(), 24, 24), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(form().PreviewBitmap.get(), 2, 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(PreviewTest, MetafilesOfBothKindsArePlayedAtTheirSize) {
  // One inch by half an inch.
  testenv::WriteFileBytes(File("drawing.wmf"), imagelisttest::PlaceableWmfBytes(1440, 720));
  Preview(File("drawing.wmf"));
  ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(form().Image1Hint->Text(), "drawing.wmf\r( " + std::to_string(dpi) + " x " +
                                           std::to_string(dpi / 2) + " ) pixels");

  imagelisttest::WriteEmf(File("drawing.emf"), 2540, 1270);
  Preview(File("drawing.emf"));
  ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
  EXPECT_NE(form().PreviewBitmap.get(), nullptr);
  const RECT r = BoundsOf(image());
  EXPECT_NEAR(r.right - r.left, dpi, 1);
  EXPECT_NEAR(r.bottom - r.top, dpi / 2, 1);
}

TEST_F(PreviewTest, DamagedContentsGiveTheirKindsText) {
  testenv::WriteFileBytes(File("bad.bmp"), "BM this is not a bitmap at all");
  testenv::WriteFileBytes(File("bad.ico"), std::string("\0\0\1\0\1\0", 6) + "short");
  testenv::WriteFileBytes(File("bad.emf"), std::string(200, 'x'));
  std::string wmf = imagelisttest::PlaceableWmfBytes(1440, 720);
  wmf[22 + 18] = 120;  // the rectangle record claims to run far past the end
  testenv::WriteFileBytes(File("bad.wmf"), wmf);
  testenv::WriteFileBytes(File("bad.jpg"), "\xFF\xD8\xFF\xE0 not really");
  std::string icon = imagelisttest::IconFileBytes(32, 32, 0);
  icon.resize(22 + 40 + 100);  // header of a 32 x 32 image, most of its pixels missing
  icon[14] = static_cast<char>(icon.size() - 22);  // the directory agrees with the file
  icon[15] = 0;
  testenv::WriteFileBytes(File("cut.ico"), icon);

  Preview(File("bad.bmp"));
  Preview(File("bad.ico"));
  Preview(File("bad.emf"));
  Preview(File("bad.wmf"));
  Preview(File("bad.jpg"));
  Preview(File("cut.ico"));
  ASSERT_EQ(program.Errors().size(), 6u);
  EXPECT_EQ(program.Errors()[0], "Bitmap image is not valid.");
  EXPECT_EQ(program.Errors()[1], "Icon image is not valid.");
  EXPECT_EQ(program.Errors()[2], "Metafile is not valid.");
  EXPECT_EQ(program.Errors()[3], "Metafile is not valid.");
  EXPECT_EQ(program.Errors()[4].rfind("JPEG error #", 0), 0u) << program.Errors()[4];
  EXPECT_EQ(program.Errors()[5], "Icon image is not valid.");
}

TEST_F(PreviewTest, FailureKeepsThePreviousPictureSizePlaceAndHint) {
  const std::string good = File("good.jpg");
  testenv::WriteTestJpeg(good, 800, 600, RGB(0, 0, 255));
  const std::string gone = File("gone.jpg");
  testenv::WriteTestJpeg(gone, 100, 50, RGB(0, 0, 255));
  form().FileList->Clear();
  form().FileList->Add(good);
  form().FileList->Add(gone);
  form().FileList->SetItemIndex(0);
  program.React([&] { form().FileListClick(); });
  ASSERT_TRUE(program.Errors().empty());
  const HBITMAP shown = form().Image1->Bitmap();
  const RECT bounds = BoundsOf(image());
  const std::string hint = form().Image1Hint->Text();

  DeleteFileA(gone.c_str());
  form().FileList->SetItemIndex(1);
  program.React([&] { form().FileListClick(); });
  program.React([&] { form().FileListClick(); });  // twice: the kept picture must survive
  ASSERT_EQ(program.Errors().size(), 2u);
  EXPECT_EQ(program.Errors()[0].rfind("Cannot open file \"" + gone + "\". ", 0), 0u)
      << program.Errors()[0];
  EXPECT_EQ(form().Image1->Bitmap(), shown);
  EXPECT_GT(SizeOf(shown).cx, 0);  // still a live bitmap
  const RECT after = BoundsOf(image());
  EXPECT_TRUE(EqualRect(&after, &bounds));
  EXPECT_EQ(form().Image1Hint->Text(), hint);
  EXPECT_EQ(form().FileList->Count(), 2);  // the entry stays
  EXPECT_EQ(form().PreviewBitmap.get(), nullptr);

  // The next good preview replaces it.
  form().FileList->SetItemIndex(0);
  program.React([&] { form().FileListClick(); });
  EXPECT_EQ(program.Errors().size(), 2u);
  EXPECT_EQ(form().Image1->Bitmap(), form().PreviewBitmap.get());
  EXPECT_GT(SizeOf(form().Image1->Bitmap()).cx, 0);
}

TEST_F(PreviewTest, NothingSelectedIsAnIndexError) {
  form().FileList->SetItemIndex(-1);
  program.React([&] { form().FileListClick(); });
  ASSERT_EQ(program.Errors().size(), 1u);
  EXPECT_EQ(program.Errors()[0], "List index out of bounds (-1)");
}

}  // namespace
