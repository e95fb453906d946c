#include "wallpaper/JpegConversion.h"

#include <windows.h>

#include <exception>
#include <optional>
#include <vector>

#include "platform/FileIO.h"
#include "platform/core/Error.h"
#include "platform/core/PathText.h"
#include "wallpaper/InstallError.h"
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

void ConvertInto(const std::vector<uint8_t>& jpeg, platform::SafeFileWriter& writer) {
  FileSink sink(writer);
  picture::ConvertJpegToBmp(jpeg.data(), jpeg.size(), sink);
  writer.Commit();
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
void OpenPerUser(std::optional<platform::SafeFileWriter>& writer, const std::string& folder) {
  const std::string path = platform::JoinPath(folder, kConvertedBitmapName);
  if (folder.empty()) ThrowCannotCreate(path, ERROR_PATH_NOT_FOUND);
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    ThrowCannotCreate(path, GetLastError());
  }
  writer.emplace(path, kBitmapDurability);
}

}  // namespace

std::string ConvertForWallpaper(const std::string& jpegPath, const std::string& windowsDirectory,
                                const std::string& perUserFolder) {
  const std::vector<uint8_t> jpeg = platform::ReadWholeFile(jpegPath);

  // Every failure to put the bitmap in the Windows directory sends it to the per-user
  // folder: no room for the temporary file, or a bitmap there that is read-only or held
  // open, which only the final move finds. The picture is decoded again only in that last
  // case; its own errors (not a JPEG) are never retried.
  std::exception_ptr windowsError;
  if (!windowsDirectory.empty()) {
    try {
      platform::SafeFileWriter writer(platform::JoinPath(windowsDirectory, kConvertedBitmapName),
                                      kBitmapDurability);
      ConvertInto(jpeg, writer);
      return writer.path();
    } catch (const platform::WriteError&) {
      windowsError = std::current_exception();
    }
  }
  try {
    std::optional<platform::SafeFileWriter> writer;
    OpenPerUser(writer, perUserFolder);
    ConvertInto(jpeg, *writer);
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

}  // namespace wallpaper
