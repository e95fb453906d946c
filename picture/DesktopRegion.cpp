#include "picture/DesktopRegion.h"

#include <algorithm>
#include <cstdint>

namespace picture {

namespace {

constexpr int kFullScale = 8;

// The kept part of a length centred on a screen: the screen's length plus one where the
// margin would otherwise be odd.
void Middle(int length, int screen, int& start, int& kept) {
  start = 0;
  kept = length;
  if (length <= screen) return;
  kept = screen + (length - screen) % 2;
  start = (length - kept) / 2;
}

}  // namespace

DesktopLayout DesktopLayoutOf(const std::string& wallpaperStyle, const std::string& tileWallpaper) {
  if (wallpaperStyle == "0" && tileWallpaper == "1") return DesktopLayout::Tiled;
  if (wallpaperStyle == "0" && tileWallpaper == "0") return DesktopLayout::Centred;
  if (wallpaperStyle == "2" && tileWallpaper == "0") return DesktopLayout::Stretched;
  return DesktopLayout::Whole;
}

PixelSize DesktopExtent(const std::vector<PixelSize>& monitors) {
  PixelSize extent;
  for (const PixelSize& m : monitors) {
    extent.width = std::max(extent.width, m.width);
    extent.height = std::max(extent.height, m.height);
  }
  return extent;
}

int ScaledLength(int length, int scaleNum) {
  return static_cast<int>((static_cast<int64_t>(length) * scaleNum + kFullScale - 1) / kFullScale);
}

JpegRegion RegionFor(DesktopLayout layout, int width, int height, PixelSize extent) {
  const JpegRegion whole{kFullScale, 0, 0, width, height};
  if (extent.width <= 0 || extent.height <= 0) return whole;
  switch (layout) {
    case DesktopLayout::Tiled:
      return {kFullScale, 0, 0, std::min(width, extent.width), std::min(height, extent.height)};
    case DesktopLayout::Centred: {
      JpegRegion r{kFullScale, 0, 0, 0, 0};
      Middle(width, extent.width, r.left, r.width);
      Middle(height, extent.height, r.top, r.height);
      return r;
    }
    case DesktopLayout::Stretched: {
      JpegRegion r = whole;
      for (int n = 1; n < kFullScale; ++n) {
        const int w = ScaledLength(width, n), h = ScaledLength(height, n);
        if (w >= extent.width && h >= extent.height) {
          r = {n, 0, 0, w, h};
          break;
        }
      }
      const PixelSize kept{std::min(r.width, extent.width), std::min(r.height, extent.height)};
      if (kept.width < r.width || kept.height < r.height) r.reduceTo = kept;
      return r;
    }
    case DesktopLayout::Whole:
      break;
  }
  return whole;
}

PixelSize BitmapSizeOf(const JpegRegion& region) {
  if (region.reduceTo.width > 0) return region.reduceTo;
  return {region.width, region.height};
}

bool Covers(PixelSize bitmap, const JpegRegion& needed) {
  const PixelSize size = BitmapSizeOf(needed);
  return bitmap.width >= size.width && bitmap.height >= size.height;
}

}  // namespace picture
