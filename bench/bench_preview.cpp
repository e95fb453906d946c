// Times the preview decode (libjpeg's DCT scaling at the smallest scale that still covers
// the preview frame) against the decode it replaces: a full-size decode followed by a box
// reduction to the same output size. Both start from the file's bytes in memory.
//
//   bench_preview RUNS WIDTH HEIGHT FILE...   one line per file:
//       PREVIEW <file> <megapixels> <preview ms> <full + reduce ms> <full only ms> <out width>
//               <out height>
//   (the full decode alone shows how much of the reference the reduction is)
//   (wall time, the best of RUNS; the two alternate so that a slow spell hits both)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchMain.h"
#include "picture/JpegToBmp.h"

namespace {

using bench::Bytes;
using bench::Clock;
using bench::MsSince;

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each output pixel is the mean of the source pixels its box covers (boxes of whole source
// pixels, as a plain reduction does). Same bottom-up padded layout as the decoder's.
picture::DecodedImage BoxReduce(const picture::DecodedImage& src, int width, int height) {
  picture::DecodedImage out;
  out.width = width;
  out.height = height;
  out.fullWidth = src.fullWidth;
  out.fullHeight = src.fullHeight;
  out.bgr.assign(out.Stride() * static_cast<size_t>(height), 0);
  std::vector<uint32_t> sums(static_cast<size_t>(width) * 3);
  const size_t srcStride = src.Stride();
  for (int y = 0; y < height; ++y) {
    const int y0 = static_cast<int>(static_cast<int64_t>(y) * src.height / height);
    const int y1 =
        std::max(y0 + 1, static_cast<int>(static_cast<int64_t>(y + 1) * src.height / height));
    std::fill(sums.begin(), sums.end(), 0u);
    for (int sy = y0; sy < y1; ++sy) {
      const uint8_t* row = src.bgr.data() + srcStride * static_cast<size_t>(sy);
      for (int x = 0; x < width; ++x) {
        const int x0 = static_cast<int>(static_cast<int64_t>(x) * src.width / width);
        const int x1 =
            std::max(x0 + 1, static_cast<int>(static_cast<int64_t>(x + 1) * src.width / width));
        uint32_t b = 0, g = 0, r = 0;
        for (int sx = x0; sx < x1; ++sx) {
          b += row[sx * 3];
          g += row[sx * 3 + 1];
          r += row[sx * 3 + 2];
        }
        sums[static_cast<size_t>(x) * 3] += b;
        sums[static_cast<size_t>(x) * 3 + 1] += g;
        sums[static_cast<size_t>(x) * 3 + 2] += r;
      }
    }
    uint8_t* dst = out.bgr.data() + out.Stride() * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      const int x0 = static_cast<int>(static_cast<int64_t>(x) * src.width / width);
      const int x1 =
          std::max(x0 + 1, static_cast<int>(static_cast<int64_t>(x + 1) * src.width / width));
      const uint32_t area = static_cast<uint32_t>((x1 - x0) * (y1 - y0));
      for (int c = 0; c < 3; ++c) {
        dst[x * 3 + c] =
            static_cast<uint8_t>((sums[static_cast<size_t>(x) * 3 + c] + area / 2) / area);
      }
    }
  }
  return out;
}

int Run(int runs, int minWidth, int minHeight, int argc, char** argv, int first) {
  for (int i = first; i < argc; ++i) {
    const std::string file = argv[i];
    const Bytes jpeg = ReadFileBytes(file);
    // One untimed round of each: the same warm start for both.
    const picture::DecodedImage probe =
        picture::DecodeJpegForPreview(jpeg.data(), jpeg.size(), minWidth, minHeight);
    if (probe.width < minWidth && probe.width != probe.fullWidth) {
      throw std::runtime_error("preview narrower than the frame: " + file);
    }
    BoxReduce(picture::DecodeJpegFull(jpeg.data(), jpeg.size()), probe.width, probe.height);
    double bestPreview = 1e30, bestReference = 1e30, bestFull = 1e30;
    for (int r = 0; r < runs; ++r) {
      Clock::time_point start = Clock::now();
      const picture::DecodedImage preview =
          picture::DecodeJpegForPreview(jpeg.data(), jpeg.size(), minWidth, minHeight);
      bestPreview = std::min(bestPreview, MsSince(start));
      start = Clock::now();
      const picture::DecodedImage reduced = BoxReduce(
          picture::DecodeJpegFull(jpeg.data(), jpeg.size()), preview.width, preview.height);
      bestReference = std::min(bestReference, MsSince(start));
      if (reduced.bgr.size() != preview.bgr.size()) throw std::runtime_error("size mismatch");
      start = Clock::now();
      const picture::DecodedImage full = picture::DecodeJpegFull(jpeg.data(), jpeg.size());
      bestFull = std::min(bestFull, MsSince(start));
      if (full.width != preview.fullWidth) throw std::runtime_error("full width mismatch");
    }
    std::printf("PREVIEW %s %.1f %.2f %.2f %.2f %d %d\n", file.c_str(),
                static_cast<double>(probe.fullWidth) * probe.fullHeight / 1e6, bestPreview,
                bestReference, bestFull, probe.width, probe.height);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::Main("bench_preview", argc >= 5, "RUNS WIDTH HEIGHT FILE...", [&] {
    return Run(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), argc, argv, 4);
  });
}
