#include "imagelist/core/PreviewGeometry.h"
#include "picture/PictureKind.h"
#include "platform/core/PathText.h"
#include "tests/support/Checks.h"
#include "wallpaper/core/WallpaperKind.h"

#include <gtest/gtest.h>

namespace {

using namespace imagelist;
using namespace picture;
using platform::FileNameOf;
using wallpaper::WallpaperKind;
using wallpaper::WallpaperKindOf;

struct FitCase {
  int w, h;
  PreviewFit expected;
};

TEST(PreviewGeometry, FitsPicturesIntoTheFrame) {
  const FitCase cases[] = {
      {800, 600, {0, -12, 225, 168}}, {1024, 768, {0, -12, 225, 168}},
      {1600, 900, {0, 9, 225, 126}},  {2000, 1000, {0, 16, 225, 112}},
      {600, 800, {58, 0, 108, 145}},  {300, 300, {0, -40, 225, 225}},
      {100, 50, {62, 47, 100, 50}},   {225, 145, {0, 0, 225, 145}},
      {1, 1, {112, 72, 1, 1}},        {10, 4000, {112, 0, 0, 145}},
  };
  for (const FitCase& c : cases) {
    const PreviewFit fit = FitPreview(c.w, c.h, 225, 145);
    EXPECT_EQ(fit.left, c.expected.left) << c.w << "x" << c.h;
    EXPECT_EQ(fit.top, c.expected.top) << c.w << "x" << c.h;
    EXPECT_EQ(fit.width, c.expected.width) << c.w << "x" << c.h;
    EXPECT_EQ(fit.height, c.expected.height) << c.w << "x" << c.h;
  }
}

TEST(PreviewGeometry, PictureWithoutAreaGetsAnEmptyFit) {
  for (const auto& [w, h] :
       {std::pair{0, 100}, std::pair{100, 0}, std::pair{0, 0}, std::pair{-5, 10}}) {
    const PreviewFit fit = FitPreview(w, h, 225, 145);
    EXPECT_EQ(fit.width, 0);
    EXPECT_EQ(fit.height, 0);
    EXPECT_EQ(fit.left, 112);
    EXPECT_EQ(fit.top, 72);
  }
}

TEST(PreviewGeometry, HintNamesFileAndSize) {
  EXPECT_EQ(BitmapInfoText(1, 20000), "( 1 x 20000 ) pixels");
  EXPECT_EQ(FileNameOf("C:sea.jpg"), "sea.jpg");
  EXPECT_EQ(FileNameOf("sea.jpg"), "sea.jpg");
  EXPECT_EQ(FileNameOf("C:\\Pictures\\"), "");
  EXPECT_EQ(FileNameOf("C:/Pictures/sea.jpg"), "sea.jpg");
  EXPECT_EQ(platform::JoinPath("C:\\Pictures", "sea.jpg"), "C:\\Pictures\\sea.jpg");
  EXPECT_EQ(platform::JoinPath("C:\\", "sea.jpg"), "C:\\sea.jpg");
  EXPECT_EQ(platform::JoinPath("C:/Pictures/", "sea.jpg"), "C:/Pictures/sea.jpg");
  EXPECT_EQ(platform::JoinPath("", "sea.jpg"), "sea.jpg");
}

TEST(PreviewGeometry, ExtensionIsTakenFromTheFileNameOnly) {
  EXPECT_EQ(ExtensionOf("C:\\a.b\\c.JPG"), "JPG");
  EXPECT_EQ(ExtensionOf("C:\\a.b\\c"), "");
  EXPECT_EQ(ExtensionOf("C:\\a.tar.gz"), "gz");
  EXPECT_EQ(ExtensionOf("C:\\a."), "");
  EXPECT_EQ(ExtensionOf("x.jpg:stream"), "");
}

TEST(PreviewGeometry, PictureKindByExtensionIgnoringCase) {
  EXPECT_EQ(PictureKindOf("C:\\a.bmp"), PictureKind::Bitmap);
  EXPECT_EQ(PictureKindOf("C:\\a.BMP"), PictureKind::Bitmap);
  EXPECT_EQ(PictureKindOf("C:\\a.jpg"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("C:\\a.JPG"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("C:\\a.Jpeg"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("C:\\a.ico"), PictureKind::Icon);
  EXPECT_EQ(PictureKindOf("C:\\a.emf"), PictureKind::Metafile);
  EXPECT_EQ(PictureKindOf("C:\\a.WMF"), PictureKind::Metafile);
}

TEST(PreviewGeometry, UnknownExtensionNamesItInTheError) {
  auto errorOf = [](const char* path) {
    return testsupport::ErrorOf([&] { PictureKindOf(path); });
  };
  EXPECT_EQ(errorOf("C:\\a.png"), "Unknown picture file extension (.png)");
  EXPECT_EQ(errorOf("C:\\a.Jpe"), "Unknown picture file extension (.Jpe)");
  EXPECT_EQ(errorOf("C:\\Pics.jpg\\a"), "Unknown picture file extension (.)");
  EXPECT_EQ(errorOf("C:\\100%.x%s"), "Unknown picture file extension (.x%s)");
}

TEST(WallpaperKind, OnlyTheFirstFourCharactersOfTheExtensionCount) {
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.jpg"), WallpaperKind::Jpeg);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.JPG"), WallpaperKind::Jpeg);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.Jpg"), WallpaperKind::Jpeg);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.jpgx"), WallpaperKind::Jpeg);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.bmp"), WallpaperKind::Bitmap);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.bmpx"), WallpaperKind::Bitmap);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.jpeg"), WallpaperKind::Jpeg);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.jpe"), WallpaperKind::Other);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.jp"), WallpaperKind::Other);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics\\a.png"), WallpaperKind::Other);
  EXPECT_EQ(WallpaperKindOf("C:\\Pics.jpg\\a"), WallpaperKind::Other);
  EXPECT_EQ(WallpaperKindOf("C:.jpg"), WallpaperKind::Jpeg);
  EXPECT_EQ(WallpaperKindOf("a.jpg:b"), WallpaperKind::Other);
  EXPECT_EQ(WallpaperKindOf(""), WallpaperKind::Other);
}

}  // namespace
