#pragma once
// Which files the wallpaper applier installs, and how.
#include <string_view>

namespace wallpaper {

enum class WallpaperKind { Jpeg, Bitmap, Other };

// The extension with its dot (from the last '.' after the last '\' or ':'), upper-cased:
// ".JPEG" is a JPEG; otherwise its first 4 characters are compared exactly with ".JPG" and
// ".BMP". So "a.jpgx" is a JPEG while "a.jpe" is neither; the applier ignores such files.
WallpaperKind WallpaperKindOf(std::string_view fileName);

}  // namespace wallpaper
