#pragma once
// The JPEG images of the list become one bitmap file that the system can install.
#include <string>

namespace wallpaper {

inline constexpr char kConvertedBitmapName[] = "Kestrova.bmp";

// Decodes jpegPath at full size into a bottom-up 24-bit BMP, windowsDirectory\Kestrova.bmp,
// or, when the bitmap cannot be put there (a standard user may not write the Windows
// directory; the old bitmap may be read-only or held open), perUserFolder\Kestrova.bmp, the
// folder created when missing. Returns the path of the bitmap written. The bitmap is written
// beside its target and moved over it only when complete, so any failure leaves a previous
// bitmap as it was; it is not flushed to the disk, since the JPEG can make it again.
// Errors: "Cannot open file "%s". %s" (the JPEG), "JPEG error #%d"; when neither place
// takes the bitmap, an InstallError with the text for the Windows directory's bitmap.
std::string ConvertForWallpaper(const std::string& jpegPath, const std::string& windowsDirectory,
                                const std::string& perUserFolder);

}  // namespace wallpaper
