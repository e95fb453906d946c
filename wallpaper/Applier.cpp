#include "wallpaper/Applier.h"

#include <exception>

#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "platform/Registry.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"
#include "wallpaper/InstallError.h"
#include "wallpaper/JpegConversion.h"
#include "wallpaper/core/WallpaperKind.h"

namespace wallpaper {

std::optional<StyleTexts> StyleTextsOf(int styleIndex) {
  switch (styleIndex) {
    case 0:
      return StyleTexts{"0", "1"};
    case 1:
      return StyleTexts{"0", "0"};
    case 2:
      return StyleTexts{"2", "0"};
    default:
      return std::nullopt;
  }
}

namespace {

void Install(const std::string& bitmapPath, const std::string& wallpaperStyle,
             const std::string& tileWallpaper, ApplyHost& host) {
  platform::UniqueHKey key;
  std::exception_ptr writeError;
  HKEY opened = nullptr;
  const LSTATUS status =
      RegOpenKeyExA(platform::seams().registryRoot, kDesktopKey, 0, KEY_SET_VALUE, &opened);
  if (status == ERROR_ACCESS_DENIED) {
    // A key that is there but refuses writing (a policy locks the desktop settings): the
    // picture would go in without its style, so it is said, and why.
    writeError = std::make_exception_ptr(InstallError(platform::Format(
        "Failed to set data for 'Wallpaper'. %s", platform::SystemErrorText(status).c_str())));
  } else if (status == ERROR_SUCCESS) {
    key.reset(opened);
    try {
      platform::WriteRegistryText(key.get(), "Wallpaper", bitmapPath);
      // An empty style text would leave the desktop without a style: the one there stays.
      if (!wallpaperStyle.empty()) {
        platform::WriteRegistryText(key.get(), "WallpaperStyle", wallpaperStyle);
      }
      if (!tileWallpaper.empty()) {
        platform::WriteRegistryText(key.get(), "TileWallpaper", tileWallpaper);
      }
    } catch (const platform::Error& e) {
      // The registry's refusal, not the picture's fault.
      writeError = std::make_exception_ptr(InstallError(e.what()));
    }
  }

  // The sound starts before the system is told of the new wallpaper.
  if (host.SoundWanted()) {
    try {
      host.PlayChangeSound();
    } catch (...) {
    }
  }
  key.reset();
  if (writeError) {
    // The value's error is the one to report; "ItemIndex" is still attempted.
    try {
      host.StoreItemIndex(host.SelectedIndex());
    } catch (...) {
    }
    std::rethrow_exception(writeError);
  }
  host.StoreItemIndex(host.SelectedIndex());

  std::string data = bitmapPath;
  if (!platform::seams().systemParametersInfo(SPI_SETDESKWALLPAPER, 0, data.data(),
                                              SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)) {
    // The system's refusal, like a refused desktop value: reported, the entry kept.
    const DWORD code = GetLastError();
    std::string text =
        platform::Format("Cannot install \"%s\" as the wallpaper.", bitmapPath.c_str());
    if (code != ERROR_SUCCESS) text += " " + platform::SystemErrorText(code);
    throw InstallError(text);
  }
}

}  // namespace

void ApplyWallpaper(const std::string& fileName, const std::string& wallpaperStyle,
                    const std::string& tileWallpaper, ApplyHost& host) {
  switch (WallpaperKindOf(fileName)) {
    case WallpaperKind::Jpeg: {
      const BitmapJob job =
          JobFor(fileName, picture::DesktopLayoutOf(wallpaperStyle, tileWallpaper));
      std::string bitmap = host.TakePrepared(job);
      if (bitmap.empty()) bitmap = ConvertForWallpaper(job);
      Install(bitmap, wallpaperStyle, tileWallpaper, host);
      return;
    }
    case WallpaperKind::Bitmap:
      // A bitmap the system cannot open would blank the desktop, now and at every logon:
      // it fails here as a JPEG that cannot be opened does, before anything is written.
      platform::OpenForReading(fileName);
      Install(fileName, wallpaperStyle, tileWallpaper, host);
      return;
    case WallpaperKind::Other:
      return;
  }
}

}  // namespace wallpaper
