#pragma once
// Reading whole files and replacing files safely. Errors carry the system's texts:
// "Cannot open file "%s". %s" and "Cannot create file "%s". %s".
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/core/Error.h"

namespace platform {

// A file that could not be created or put in its place ("Cannot create file ...").
class WriteError : public Error {
 public:
  using Error::Error;
};

// The system's description of an error code, without the trailing line end.
std::string SystemErrorText(DWORD code);

// Opens a file for reading, as ReadWholeFile does; "Cannot open file ..." when it cannot.
UniqueFile OpenForReading(const std::string& path);

// Reads a whole file (others may read it meanwhile, not write it).
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// A file read from its start in pieces, for a reader that may stop early: a large picture
// of which only the header or the top rows are wanted is never read, nor held, whole.
// Opens as OpenForReading; a failure to read says "Cannot open file ..." too.
class SequentialReader {
 public:
  explicit SequentialReader(std::string path);
  size_t Read(void* into, size_t size);  // 0 at the end
  void Rewind();

 private:
  std::string path_;
  UniqueFile file_;
};

// Writes a new version of a file beside it and moves it over the old one only when
// complete, so a failure at any point leaves the old file as it was.
class SafeFileWriter {
 public:
  // Whether Commit forces the data to the disk before the move. User data is flushed; a
  // file that the program can make again from its source (the wallpaper bitmap) is not:
  // the flush of a large file costs a good part of the time that made it.
  enum class Durability { Flushed, Regenerable };

  explicit SafeFileWriter(std::string path, Durability durability = Durability::Flushed);
  ~SafeFileWriter();  // discards an uncommitted temporary file
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  void Reserve(uint64_t totalBytes);
  void WriteAt(uint64_t offset, const void* data, size_t size);
  void Append(const void* data, size_t size);
  // Flushes (unless Regenerable), closes and moves the file into place.
  void Commit();
  const std::string& path() const noexcept { return path_; }

 private:
  [[noreturn]] void Fail(DWORD code) const;
  std::string path_;
  std::string temp_;
  UniqueFile file_;
  Durability durability_;
  uint64_t appendAt_ = 0;
  bool committed_ = false;
};

}  // namespace platform
