#pragma once
// Which files the wallpaper applier installs, and how.
#include <string_view>

namespace wallpaper {

enum class WallpaperKind { Jpeg, Bitmap, Other };

// The extension with its dot (from the last '.' after the last '\' or ':'), upper-cased and
// cut to 4 characters, compared exactly with ".JPG" and ".BMP". So "a.jpgx" is a JPEG while
// "a.jpeg" (".JPE") is neither; the applier ignores such files.
WallpaperKind WallpaperKindOf(std::string_view fileName);

}  // namespace wallpaper
