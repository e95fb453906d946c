#include "wallpaper/core/WallpaperKind.h"

#include <algorithm>
#include <string>

namespace wallpaper {

WallpaperKind WallpaperKindOf(std::string_view fileName) {
  const size_t sep = fileName.find_last_of("\\:");
  const size_t nameStart = sep == std::string_view::npos ? 0 : sep + 1;
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || dot < nameStart) return WallpaperKind::Other;
  std::string ext(fileName.substr(dot));
  for (char& c : ext) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  // Cameras and phones name their pictures ".jpeg": previewed as JPEG, so installed as one.
  if (ext == ".JPEG") return WallpaperKind::Jpeg;
  ext.resize(std::min<size_t>(ext.size(), 4));
  if (ext == ".JPG") return WallpaperKind::Jpeg;
  if (ext == ".BMP") return WallpaperKind::Bitmap;
  return WallpaperKind::Other;
}

}  // namespace wallpaper
