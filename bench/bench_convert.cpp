// Times the wallpaper's JPEG-to-BMP conversion against a decode-only pass of the same file
// with the same library, in one process, and does single conversions whose whole-process
// time and peak memory bench/run.sh compares with djpeg's.
//
//   bench_convert inproc OUTDIR RUNS FILE...   one line per file:
//       RESULT <file> <megapixels> <decode ms> <convert ms> <decode cpu ms> <convert cpu ms>
//   (wall time: the best of RUNS; processor time of the process: the mean of RUNS, which
//   a machine busy with other work disturbs far less than the wall time)
//   bench_convert once FILE OUTDIR             one conversion; prints PEAKKB <kilobytes>
// Both write OUTDIR/Kestrova.bmp.
//
// The Windows build converts through the call the program makes for a wallpaper (file
// read, streaming decode, temporary file moved into place), with OUTDIR as the Windows
// directory. The native build has no Windows file layer; it runs
// the same core conversion into a POSIX file written the same way (reserved, rows written
// at their place, renamed; like the wallpaper bitmap, not flushed).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>

#include "platform/FileIO.h"
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <jpeglib.h>

#include "bench/BenchClock.h"
#include "bench/BenchMain.h"
#include "picture/JpegToBmp.h"
#include "wallpaper/JpegConversion.h"

namespace {

using bench::Bytes;
using bench::Clock;
using bench::MsSince;

#ifdef _WIN32

Bytes ReadFileBytes(const std::string& path) {
  return platform::ReadWholeFile(path);
}

void Convert(const std::string& in, const std::string& outDir) {
  wallpaper::ConvertForWallpaper(in, outDir, outDir);
}

double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ticks = [](const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

long PeakKb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return -1;
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

#else

// Sized first and read in one piece, as the Windows build's ReadWholeFile does.
Bytes ReadFileBytes(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  struct stat info {};
  ::fstat(fd, &info);
  Bytes bytes(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

class PosixSink final : public picture::BmpSink {
 public:
  explicit PosixSink(std::string path) : path_(std::move(path)), temp_(path_ + ".tmp") {
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd_ < 0) throw std::runtime_error("cannot create " + temp_);
  }
  ~PosixSink() override {
    if (fd_ >= 0) {
      ::close(fd_);
      ::unlink(temp_.c_str());
    }
  }
  void Reserve(uint64_t total) override {
    if (::ftruncate(fd_, static_cast<off_t>(total)) != 0) throw std::runtime_error("reserve");
  }
  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
      const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
      if (n <= 0) throw std::runtime_error("write");
      p += n;
      offset += static_cast<uint64_t>(n);
      size -= static_cast<size_t>(n);
    }
  }
  void Commit() {
    ::close(fd_);
    fd_ = -1;
    if (::rename(temp_.c_str(), path_.c_str()) != 0) throw std::runtime_error("rename");
  }

 private:
  std::string path_, temp_;
  int fd_ = -1;
};

void Convert(const std::string& in, const std::string& outDir) {
  const Bytes jpeg = ReadFileBytes(in);
  PosixSink sink(outDir + "/" + wallpaper::kConvertedBitmapName);
  picture::ConvertJpegToBmp(jpeg.data(), jpeg.size(), sink);
  sink.Commit();
}

double CpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

long PeakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

#endif

// The reference: the file read and the same decode (full size, JCS_EXT_BGR, rows in
// batches), the rows thrown away.
double DecodeOnlyMs(const std::string& path, double* megapixels) {
  const Clock::time_point start = Clock::now();
  const Bytes jpeg = ReadFileBytes(path);
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  constexpr int kBatch = 16;
  const size_t stride = static_cast<size_t>(cinfo.output_width) * 3;
  std::vector<uint8_t> rows(stride * kBatch);
  JSAMPROW pointers[kBatch];
  for (int i = 0; i < kBatch; ++i) pointers[i] = rows.data() + i * stride;
  while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, pointers, kBatch);
  *megapixels = static_cast<double>(cinfo.output_width) * cinfo.output_height / 1e6;
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return MsSince(start);
}

int InProcess(const std::string& outDir, int runs, int argc, char** argv, int first) {
  for (int i = first; i < argc; ++i) {
    const std::string file = argv[i];
    double megapixels = 0;
    // One untimed round of each, so that both start with the file in the cache.
    DecodeOnlyMs(file, &megapixels);
    Convert(file, outDir);
    double bestDecode = 1e30, bestConvert = 1e30, cpuDecode = 0, cpuConvert = 0;
    // Alternating, so that a slow spell of the machine hits both.
    for (int r = 0; r < runs; ++r) {
      double cpu = CpuMs();
      bestDecode = std::min(bestDecode, DecodeOnlyMs(file, &megapixels));
      cpuDecode += CpuMs() - cpu;
      cpu = CpuMs();
      const Clock::time_point start = Clock::now();
      Convert(file, outDir);
      bestConvert = std::min(bestConvert, MsSince(start));
      cpuConvert += CpuMs() - cpu;
    }
    std::printf("RESULT %s %.1f %.2f %.2f %.2f %.2f\n", file.c_str(), megapixels, bestDecode,
                bestConvert, cpuDecode / runs, cpuConvert / runs);
    std::fflush(stdout);
  }
  std::remove((outDir + "/" + wallpaper::kConvertedBitmapName).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool inproc = argc >= 5 && std::strcmp(argv[1], "inproc") == 0;
  const bool once = argc == 4 && std::strcmp(argv[1], "once") == 0;
  return bench::Main("bench_convert", inproc || once,
                     "inproc OUTDIR RUNS FILE... | bench_convert once FILE OUTDIR", [&] {
                       if (inproc) return InProcess(argv[2], std::atoi(argv[3]), argc, argv, 4);
                       Convert(argv[2], argv[3]);
                       std::printf("PEAKKB %ld\n", PeakKb());
                       return 0;
                     });
}
