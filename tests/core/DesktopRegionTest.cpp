// What part of a picture the wallpaper bitmap keeps, for each layout and desktop.
#include "picture/DesktopRegion.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picture/Reduction.h"

namespace {

using picture::DesktopLayout;
using picture::JpegRegion;
using picture::RegionFor;

TEST(DesktopRegion, KeepsWhatTheLargestMonitorShowsInEachLayout) {
  // A landscape and a portrait monitor: the bitmap serves both.
  const picture::PixelSize two = picture::DesktopExtent({{1920, 1080}, {1080, 1920}, {800, 600}});
  struct Case {
    DesktopLayout layout;
    int w, h;
    picture::PixelSize screen;
    JpegRegion want;
  } const cases[] = {
      {DesktopLayout::Centred, 6000, 4000, two, {8, 2040, 1040, 1920, 1920}},
      {DesktopLayout::Stretched, 6000, 4000, {1920, 1080}, {3, 0, 0, 2250, 1500, {1920, 1080}}},
      // Smaller than the screen in one dimension only.
      {DesktopLayout::Tiled, 3000, 500, {1920, 1080}, {8, 0, 0, 1920, 500}},
      {DesktopLayout::Centred, 500, 3000, {1920, 1080}, {8, 0, 960, 500, 1080}},
      {DesktopLayout::Stretched, 3000, 500, {1920, 1080}, {8, 0, 0, 3000, 500, {1920, 500}}},
      // No larger than the screen, no screen known, a style not reduced (fill): all of it.
      {DesktopLayout::Centred, 1920, 1080, {1920, 1080}, {8, 0, 0, 1920, 1080}},
      {DesktopLayout::Tiled, 6000, 4000, picture::DesktopExtent({}), {8, 0, 0, 6000, 4000}},
      {picture::DesktopLayoutOf("10", "0"), 6000, 4000, {1920, 1080}, {8, 0, 0, 6000, 4000}},
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
  for (int length = 1000; length < 1004; ++length) {
    for (int largest : {799, 800}) {
      const JpegRegion r = RegionFor(DesktopLayout::Centred, length, 10, {largest, 10});
      for (int screen : {largest, 640, 641}) {
        for (auto half : {+floorHalf, +truncHalf}) {
          EXPECT_EQ(-half(screen - length), r.left - half(screen - r.width))
              << length << " on " << screen << " (largest " << largest << ")";
        }
      }
    }
  }
}

// The shrink of a stretched bitmap the rest of the way to the screen.
TEST(AreaReducer, AveragesTheAreaEachOutputPixelCovers) {
  // rows: top first, 24-bit; the output rows as emitted, each checked to come in order.
  const auto reduce = [](int w, int h, const std::vector<std::string>& rows, int dw, int dh) {
    std::vector<std::string> out;
    picture::AreaReducer reducer(w, h, dw, dh, [&](int y, const uint8_t* bgr) {
      EXPECT_EQ(y, static_cast<int>(out.size()));
      out.emplace_back(reinterpret_cast<const char*>(bgr), dw * 3);
    });
    for (const std::string& row : rows)
      reducer.AddRow(reinterpret_cast<const uint8_t*>(row.data()));
    return out;
  };
  const auto grey = [](std::vector<int> values) {
    std::string row;
    for (int v : values) row.append(3, static_cast<char>(v));
    return row;
  };
  // Three pixels to two: each output pixel is one source pixel and half the middle one.
  EXPECT_EQ(reduce(3, 1, {grey({0, 90, 180})}, 2, 1), std::vector{grey({30, 150})});
  EXPECT_EQ(reduce(1, 3, {grey({0}), grey({90}), grey({180})}, 1, 2),
            (std::vector{grey({30}), grey({150})}));
}

}  // namespace
