#include "wallpaper/JpegConversion.h"

#include <windows.h>

#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"
#include "platform/core/PathText.h"
#include "wallpaper/Applier.h"
#include "wallpaper/InstallError.h"
#include "wallpaper/core/WallpaperKind.h"
#include "picture/JpegToBmp.h"

namespace wallpaper {

namespace {

class FileSink final : public picture::BmpSink {
 public:
  explicit FileSink(platform::SafeFileWriter& writer) : writer_(writer) {}
  void Reserve(uint64_t totalBytes) override { writer_.Reserve(totalBytes); }
  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    writer_.WriteAt(offset, data, size);
  }

 private:
  platform::SafeFileWriter& writer_;
};

picture::PixelSize ExtentNow() {
  std::vector<picture::PixelSize> monitors;
  for (const SIZE& s : platform::seams().monitorSizes()) {
    monitors.push_back({static_cast<int>(s.cx), static_cast<int>(s.cy)});
  }
  return picture::DesktopExtent(monitors);
}

// Read only as far as the decode goes: a crop of the top rows never reads the rest.
picture::JpegInput InputFrom(platform::SequentialReader& jpeg,
                             const std::atomic<bool>* stop = nullptr) {
  return picture::JpegInput([&jpeg, stop](uint8_t* into, size_t size) {
    if (stop && stop->load(std::memory_order_relaxed)) throw platform::Error("Stopped");
    return jpeg.Read(into, size);
  });
}

void ConvertInto(platform::SequentialReader& jpeg, const BitmapJob& job,
                 const std::atomic<bool>* stop, platform::SafeFileWriter& writer) {
  FileSink sink(writer);
  jpeg.Rewind();
  picture::ConvertJpegToBmp(InputFrom(jpeg, stop), sink, job.layout, job.extent);
  writer.Commit();
}

// The desktop value "Wallpaper", or empty.
std::string InstalledWallpaper() {
  const HKEY root = platform::seams().registryRoot;
  DWORD size = 0;
  if (RegGetValueA(root, kDesktopKey, "Wallpaper", RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::string path(size, '\0');
  if (RegGetValueA(root, kDesktopKey, "Wallpaper", RRF_RT_REG_SZ, nullptr, path.data(), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  path.resize(std::strlen(path.c_str()));
  return path;
}

// The size in a bitmap file's header; 0 x 0 when it cannot be read.
picture::PixelSize BitmapFileSize(const std::string& path) {
  platform::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  uint8_t header[26] = {};
  DWORD got = 0;
  if (!file || !ReadFile(file.get(), header, sizeof header, &got, nullptr) ||
      got != sizeof header || header[0] != 'B' || header[1] != 'M') {
    return {};
  }
  auto le32 = [&](int at) {
    return static_cast<int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                static_cast<uint32_t>(header[at + 3]) << 24);
  };
  const int32_t height = le32(22);
  return {le32(18), height < 0 ? -height : height};
}

// The bitmap can be made again from its JPEG, so it is not flushed: at 48 megapixels a
// flush costs about half as much again as the decode. The move still makes it whole or
// not at all.
constexpr auto kBitmapDurability = platform::SafeFileWriter::Durability::Regenerable;

[[noreturn]] void ThrowCannotCreate(const std::string& path, DWORD code) {
  throw platform::WriteError(platform::Format("Cannot create file \"%s\". %s", path.c_str(),
                                              platform::SystemErrorText(code).c_str()));
}

// Opens the bitmap in the per-user folder, creating the folder when missing.
void OpenPerUser(std::optional<platform::SafeFileWriter>& writer, const std::string& folder,
                 const char* bitmapName) {
  const std::string path = platform::JoinPath(folder, bitmapName);
  if (folder.empty()) ThrowCannotCreate(path, ERROR_PATH_NOT_FOUND);
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    ThrowCannotCreate(path, GetLastError());
  }
  writer.emplace(path, kBitmapDurability);
}

}  // namespace

BitmapJob JobFor(const std::string& jpegPath, picture::DesktopLayout layout) {
  BitmapJob job{jpegPath, layout, ExtentNow(), platform::seams().windowsDirectory(),
                platform::seams().perUserFolder()};
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExA(jpegPath.c_str(), GetFileExInfoStandard, &data)) {
    job.fileSize = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    job.lastWrite =
        uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
  }
  return job;
}

std::string ConvertForWallpaper(const std::string& jpegPath, const std::string& windowsDirectory,
                                const std::string& perUserFolder, picture::DesktopLayout layout) {
  BitmapJob job{jpegPath, layout, ExtentNow(), windowsDirectory, perUserFolder};
  return ConvertForWallpaper(job);
}

std::string ConvertForWallpaper(const BitmapJob& job, const char* bitmapName,
                                const std::atomic<bool>* stop) {
  platform::SequentialReader jpeg(job.jpegPath);

  // Every failure to put the bitmap in the Windows directory sends it to the per-user
  // folder: no room for the temporary file, or a bitmap there that is read-only or held
  // open, which only the final move finds. The picture is decoded again only in that last
  // case; its own errors (not a JPEG, unreadable) are never retried.
  std::exception_ptr windowsError;
  if (!job.windowsDirectory.empty()) {
    try {
      platform::SafeFileWriter writer(platform::JoinPath(job.windowsDirectory, bitmapName),
                                      kBitmapDurability);
      ConvertInto(jpeg, job, stop, writer);
      return writer.path();
    } catch (const platform::WriteError&) {
      windowsError = std::current_exception();
    }
  }
  try {
    std::optional<platform::SafeFileWriter> writer;
    OpenPerUser(writer, job.perUserFolder, bitmapName);
    ConvertInto(jpeg, job, stop, *writer);
    return writer->path();
  } catch (const platform::WriteError& perUserError) {
    // Reported with the Windows directory's reason, the place the user knows of.
    std::string text = perUserError.what();
    try {
      if (windowsError) std::rethrow_exception(windowsError);
    } catch (const platform::WriteError& e) {
      text = e.what();
    }
    throw InstallError(text);
  }
}

bool RemakeForScreen(const std::string& jpegPath, const std::string& wallpaperStyle,
                     const std::string& tileWallpaper) {
  if (WallpaperKindOf(jpegPath) != WallpaperKind::Jpeg) return false;
  const BitmapJob job = JobFor(jpegPath, picture::DesktopLayoutOf(wallpaperStyle, tileWallpaper));
  const std::string installed = InstalledWallpaper();
  auto isOurs = [&](const std::string& folder) {
    return !folder.empty() &&
           lstrcmpiA(installed.c_str(), platform::JoinPath(folder, kConvertedBitmapName).c_str()) ==
               0;
  };
  if (!isOurs(job.windowsDirectory) && !isOurs(job.perUserFolder)) return false;

  platform::SequentialReader jpeg(jpegPath);
  const picture::JpegHeader header = picture::ReadJpegHeader(InputFrom(jpeg));
  const picture::JpegRegion needed =
      picture::RegionFor(job.layout, header.width, header.height, job.extent);
  if (picture::Covers(BitmapFileSize(installed), needed)) return false;

  std::string path = ConvertForWallpaper(job);
  platform::seams().systemParametersInfo(SPI_SETDESKWALLPAPER, 0, path.data(),
                                         SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
  return true;
}

}  // namespace wallpaper
