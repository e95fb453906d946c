#pragma once
// The JPEG images of the list become one bitmap file that the system can install.
#include <atomic>
#include <cstdint>
#include <string>

#include "picture/DesktopRegion.h"

namespace wallpaper {

inline constexpr char kConvertedBitmapName[] = "Kestrova.bmp";

// What a bitmap is made from and for. Two equal jobs make the same bitmap: the same file,
// unchanged since (its size and time of last write), for the same layout and screen, into
// the same places.
struct BitmapJob {
  std::string jpegPath;
  picture::DesktopLayout layout = picture::DesktopLayout::Whole;
  picture::PixelSize extent;
  std::string windowsDirectory, perUserFolder;
  uint64_t fileSize = 0, lastWrite = 0;  // 0 for a file that cannot be looked at
  bool operator==(const BitmapJob&) const = default;
};

// The job of jpegPath in `layout` on the monitors and in the places as they are now.
BitmapJob JobFor(const std::string& jpegPath, picture::DesktopLayout layout);

// Decodes what the desktop shows of jpegPath in `layout` on the monitors as they are now (a
// picture no larger than the screen: all of it) into a bottom-up 24-bit BMP,
// windowsDirectory\Kestrova.bmp,
// or, when the bitmap cannot be put there (a standard user may not write the Windows
// directory; the old bitmap may be read-only or held open), perUserFolder\Kestrova.bmp, the
// folder created when missing. Returns the path of the bitmap written. The bitmap is written
// beside its target and moved over it only when complete, so any failure leaves a previous
// bitmap as it was; it is not flushed to the disk, since the JPEG can make it again.
// Errors: "Cannot open file "%s". %s" (the JPEG), "JPEG error #%d"; when neither place
// takes the bitmap, an InstallError with the text for the Windows directory's bitmap.
std::string ConvertForWallpaper(const std::string& jpegPath, const std::string& windowsDirectory,
                                const std::string& perUserFolder,
                                picture::DesktopLayout layout = picture::DesktopLayout::Whole);

// The same for a job, into a bitmap of the given name; when `stop` turns true the
// conversion ends early with an error and leaves nothing behind. Safe on any thread: it
// takes nothing from the seams.
std::string ConvertForWallpaper(const BitmapJob& job, const char* bitmapName = kConvertedBitmapName,
                                const std::atomic<bool>* stop = nullptr);

// After the display settings changed: when the desktop's wallpaper (its "Wallpaper" value) is
// a bitmap that ConvertForWallpaper made from jpegPath in the layout of the two desktop
// texts, and it no longer covers the screen as it is now, makes it again and hands it to the
// system again. True when it did. Errors as ConvertForWallpaper's.
bool RemakeForScreen(const std::string& jpegPath, const std::string& wallpaperStyle,
                     const std::string& tileWallpaper);

}  // namespace wallpaper
