// What part of a picture the wallpaper bitmap keeps, for each layout and desktop.
#include "picture/DesktopRegion.h"

#include <gtest/gtest.h>

namespace {

using picture::DesktopLayout;
using picture::JpegRegion;
using picture::PixelSize;
using picture::RegionFor;

TEST(DesktopRegion, LayoutFollowsTheDesktopValuesWindowsReads) {
  EXPECT_EQ(picture::DesktopLayoutOf("0", "1"), DesktopLayout::Tiled);
  EXPECT_EQ(picture::DesktopLayoutOf("0", "0"), DesktopLayout::Centred);
  EXPECT_EQ(picture::DesktopLayoutOf("2", "0"), DesktopLayout::Stretched);
  // Fit, fill, span and pairs Windows does not define keep the whole picture.
  for (const char* style : {"6", "10", "22", ""}) {
    EXPECT_EQ(picture::DesktopLayoutOf(style, "0"), DesktopLayout::Whole) << style;
  }
  EXPECT_EQ(picture::DesktopLayoutOf("2", "1"), DesktopLayout::Whole);
}

TEST(DesktopRegion, MonitorsOfDifferentSizesNeedTheLargestOfEachSide) {
  const PixelSize e = picture::DesktopExtent({{1920, 1080}, {1080, 1920}, {1280, 1024}});
  EXPECT_EQ(e.width, 1920);
  EXPECT_EQ(e.height, 1920);
  const PixelSize none = picture::DesktopExtent({});
  EXPECT_EQ(none.width, 0);
  // A 6000 x 4000 photo centred on a landscape and a portrait monitor.
  EXPECT_EQ(RegionFor(DesktopLayout::Centred, 6000, 4000, e),
            (JpegRegion{8, 2040, 1040, 1920, 1920}));
}

TEST(DesktopRegion, KeepsWhatTheScreenShowsInEachLayout) {
  struct Case {
    DesktopLayout layout;
    int w, h;
    PixelSize screen;
    JpegRegion want;
  };
  const Case cases[] = {
      {DesktopLayout::Tiled, 6000, 4000, {1920, 1200}, {8, 0, 0, 1920, 1200}},
      {DesktopLayout::Centred, 6000, 4000, {1920, 1200}, {8, 2040, 1400, 1920, 1200}},
      {DesktopLayout::Stretched, 6000, 4000, {1920, 1080}, {3, 0, 0, 2250, 1500}},
      {DesktopLayout::Stretched, 8000, 6000, {1024, 768}, {2, 0, 0, 2000, 1500}},
      // Smaller than the screen in one dimension only.
      {DesktopLayout::Tiled, 3000, 500, {1920, 1080}, {8, 0, 0, 1920, 500}},
      {DesktopLayout::Centred, 500, 3000, {1920, 1080}, {8, 0, 960, 500, 1080}},
      {DesktopLayout::Stretched, 3000, 500, {1920, 1080}, {8, 0, 0, 3000, 500}},
      // No larger than the screen, or no screen known, or a layout not reduced: all of it.
      {DesktopLayout::Centred, 1920, 1080, {1920, 1080}, {8, 0, 0, 1920, 1080}},
      {DesktopLayout::Tiled, 6000, 4000, {0, 0}, {8, 0, 0, 6000, 4000}},
      {DesktopLayout::Whole, 6000, 4000, {1920, 1080}, {8, 0, 0, 6000, 4000}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RegionFor(c.layout, c.w, c.h, c.screen), c.want)
        << static_cast<int>(c.layout) << " " << c.w << "x" << c.h;
  }
}

// Windows centres with its own rounding of an odd margin; whichever it is, every monitor
// must show the same columns of the cut bitmap as of the whole picture.
TEST(DesktopRegion, CentredCutShowsTheSameMiddleOnEveryMonitorWhateverTheRounding) {
  const auto floorHalf = [](int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
  const auto truncHalf = [](int v) { return v / 2; };
  for (int length = 1000; length < 1010; ++length) {
    for (int largest : {799, 800}) {
      const JpegRegion r = RegionFor(DesktopLayout::Centred, length, 10, {largest, 10});
      for (int screen : {largest, 640, 641}) {
        for (auto half : {+floorHalf, +truncHalf}) {
          // The picture column at the screen's left edge, from the whole and from the cut.
          EXPECT_EQ(-half(screen - length), r.left - half(screen - r.width))
              << length << " on " << screen << " (largest " << largest << ")";
        }
      }
    }
  }
}

TEST(DesktopRegion, ABitmapCoversASmallerScreenButNotALargerOne) {
  const JpegRegion made = RegionFor(DesktopLayout::Stretched, 6000, 4000, {1920, 1080});
  const PixelSize bitmap{made.width, made.height};
  EXPECT_TRUE(
      picture::Covers(bitmap, RegionFor(DesktopLayout::Stretched, 6000, 4000, {1280, 1024})));
  EXPECT_FALSE(
      picture::Covers(bitmap, RegionFor(DesktopLayout::Stretched, 6000, 4000, {2560, 1440})));
  EXPECT_FALSE(
      picture::Covers(bitmap, RegionFor(DesktopLayout::Centred, 6000, 4000, {2560, 1440})));
}

}  // namespace
