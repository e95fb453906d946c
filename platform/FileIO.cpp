#include "platform/FileIO.h"

#include <algorithm>
#include <utility>

#include "platform/core/Error.h"
#include "platform/core/PathText.h"

namespace platform {

std::string SystemErrorText(DWORD code) {
  char* buffer = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = n && buffer ? std::string(buffer, n) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

namespace {

[[noreturn]] void FailToOpen(const std::string& path) {
  const DWORD code = GetLastError();
  throw Error(Format("Cannot open file \"%s\". %s", path.c_str(), SystemErrorText(code).c_str()));
}

}  // namespace

UniqueFile OpenForReading(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) FailToOpen(path);
  return file;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  auto fail = [&path] { FailToOpen(path); };
  UniqueFile file = OpenForReading(path);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) fail();
  if (static_cast<uint64_t>(size.QuadPart) > 0x7FFFFFFFull) {
    SetLastError(ERROR_FILE_TOO_LARGE);
    fail();
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) fail();
    if (got == 0) break;  // shorter than it was a moment ago
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

SequentialReader::SequentialReader(std::string path)
    : path_(std::move(path)), file_(OpenForReading(path_)) {}

size_t SequentialReader::Read(void* into, size_t size) {
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 24));
  if (!ReadFile(file_.get(), into, want, &got, nullptr)) FailToOpen(path_);
  return got;
}

void SequentialReader::Rewind() {
  if (!SetFilePointerEx(file_.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) FailToOpen(path_);
}

SafeFileWriter::SafeFileWriter(std::string path, Durability durability)
    : path_(std::move(path)), durability_(durability) {
  // The temporary file lies in the target's folder, so the final move is a rename; its
  // name is short, so a target name near the length limit still has room beside it.
  const size_t slash = path_.find_last_of("\\/:");
  const std::string folder = slash == std::string::npos ? "." : path_.substr(0, slash + 1);
  char name[MAX_PATH + 1] = {};
  if (folder.size() < MAX_PATH - 14 && GetTempFileNameA(folder.c_str(), "ps", 0, name) != 0) {
    temp_ = name;
  } else {
    temp_ = JoinPath(folder, "~ps" + std::to_string(GetCurrentProcessId()) + ".tmp");
  }
  file_.reset(CreateFileA(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) Fail(GetLastError());
}

SafeFileWriter::~SafeFileWriter() {
  if (!committed_) {
    file_.reset();
    DeleteFileA(temp_.c_str());
  }
}

void SafeFileWriter::Fail(DWORD code) const {
  throw WriteError(
      Format("Cannot create file \"%s\". %s", path_.c_str(), SystemErrorText(code).c_str()));
}

void SafeFileWriter::Reserve(uint64_t totalBytes) {
  LARGE_INTEGER size{};
  size.QuadPart = static_cast<LONGLONG>(totalBytes);
  // Reserving the space first fails at once on a full disk instead of halfway through.
  if (!SetFilePointerEx(file_.get(), size, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.get())) {
    Fail(GetLastError());
  }
}

void SafeFileWriter::WriteAt(uint64_t offset, const void* data, size_t size) {
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) Fail(GetLastError());
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 24));
    if (!WriteFile(file_.get(), bytes, chunk, &written, nullptr) || written == 0) {
      Fail(GetLastError());
    }
    bytes += written;
    size -= written;
  }
}

void SafeFileWriter::Append(const void* data, size_t size) {
  WriteAt(appendAt_, data, size);
  appendAt_ += size;
}

void SafeFileWriter::Commit() {
  const bool flushed = durability_ == Durability::Flushed;
  if (flushed && !FlushFileBuffers(file_.get())) Fail(GetLastError());
  file_.reset();
  const DWORD moveFlags = MOVEFILE_REPLACE_EXISTING | (flushed ? MOVEFILE_WRITE_THROUGH : 0);
  if (!MoveFileExA(temp_.c_str(), path_.c_str(), moveFlags)) {
    const DWORD code = GetLastError();
    DeleteFileA(temp_.c_str());
    committed_ = true;
    Fail(code);
  }
  committed_ = true;
}

}  // namespace platform
