#pragma once
// Which part of a picture the wallpaper bitmap holds. The desktop never shows more of a
// picture than one screen's worth, so the bitmap is cut (or, stretched, decoded smaller) to
// what the screen shows, and laid out by Windows it looks as the whole picture would.
// Every monitor shows the wallpaper in the style on its own, from its own top left, so the
// bitmap serves the largest width and the largest height among them.
#include <string>
#include <vector>

namespace picture {

// How Windows lays a wallpaper bitmap out; Whole for any layout not reduced here.
enum class DesktopLayout { Whole, Tiled, Centred, Stretched };

// The layout of the desktop values "WallpaperStyle" and "TileWallpaper".
DesktopLayout DesktopLayoutOf(const std::string& wallpaperStyle, const std::string& tileWallpaper);

struct PixelSize {
  int width = 0, height = 0;
  bool operator==(const PixelSize&) const = default;
};

// The largest width and the largest height among the monitors; 0 x 0 for none.
PixelSize DesktopExtent(const std::vector<PixelSize>& monitors);

// The picture decoded at scaleNum/8, then the rectangle left, top, width x height of that,
// then, where reduceTo is not 0 x 0, that rectangle shrunk to reduceTo.
struct JpegRegion {
  int scaleNum = 8;
  int left = 0, top = 0, width = 0, height = 0;
  PixelSize reduceTo;
  bool operator==(const JpegRegion&) const = default;
};

// The size of the bitmap a region becomes.
PixelSize BitmapSizeOf(const JpegRegion& region);

// libjpeg's length of `length` pixels decoded at scaleNum/8: rounded up.
int ScaledLength(int length, int scaleNum);

// The region of a width x height picture that a desktop of `extent` shows:
// - tiled: the top left of the first tile, as far as the screen reaches;
// - centred: the middle. Windows rounds the centring of an odd margin its own way, so the
//   margin cut off is kept even: the two halves are equal and the middle stays exact;
// - stretched: the whole picture at the smallest scale that is at least the extent both
//   ways, shrunk the rest of the way to the extent: Windows stretches the bitmap to each
//   monitor, so more pixels than the largest monitor's would only be shrunk away there;
// - whole, or no extent known, or a picture no larger than the screen: all of it, unscaled.
JpegRegion RegionFor(DesktopLayout layout, int width, int height, PixelSize extent);

// Whether a bitmap of `bitmap`'s size made for the same picture and layout shows all that
// `needed` does (a larger screen may need more).
bool Covers(PixelSize bitmap, const JpegRegion& needed);

}  // namespace picture
