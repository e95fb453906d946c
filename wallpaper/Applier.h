#pragma once
// Installs one image file as the desktop wallpaper: JPEG images through the converted
// bitmap, bitmaps as they are, the style into the user's desktop values.
#include <windows.h>

#include <optional>
#include <string>

#include "wallpaper/JpegConversion.h"

namespace wallpaper {

// Under the registry root of the seams: opened, never created.
inline constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// The desktop values "WallpaperStyle" and "TileWallpaper" of a style index.
struct StyleTexts {
  const char* wallpaperStyle;
  const char* tileWallpaper;
};

// 0 tiled, 1 centred, 2 stretched; nullopt for any other index (the texts then stay).
std::optional<StyleTexts> StyleTextsOf(int styleIndex);

// What the applier needs from the settings window around it. The system's side (the
// Windows directory, the per-user folder, the registry writes) goes through the seams.
class ApplyHost {
 public:
  virtual bool SoundWanted() const = 0;
  // May throw; the applier ignores every failure of the sound.
  virtual void PlayChangeSound() = 0;
  virtual int SelectedIndex() const = 0;
  // Stores the index as "ItemIndex"; a failure ends the apply.
  virtual void StoreItemIndex(int index) = 0;
  // The bitmap of exactly this job when one was made ahead, moved into place; else empty.
  virtual std::string TakePrepared(const BitmapJob&) { return {}; }

 protected:
  ~ApplyHost() = default;
};

// The steps in their order: the kind of file by its extension (other kinds: nothing at
// all); for a JPEG the conversion (or the bitmap made ahead for it), for a bitmap the opening of
// the file, whose failure ends the apply before anything else; the desktop values "Wallpaper",
// "WallpaperStyle", "TileWallpaper" when the desktop key opens; then, also after a failed value
// write, the sound and "ItemIndex"; then the failed write's error, or else SystemParametersInfo
// with the installed bitmap, whose refusal is an InstallError with the system's text.
void ApplyWallpaper(const std::string& fileName, const std::string& wallpaperStyle,
                    const std::string& tileWallpaper, ApplyHost& host);

}  // namespace wallpaper
