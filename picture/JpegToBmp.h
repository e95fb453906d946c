#pragma once
// JPEG decoding with libjpeg: the conversion of a JPEG file into the wallpaper bitmap, and
// the decodes that the preview needs. Every failure, also damaged data that libjpeg would
// tolerate with a warning, throws platform::Error "JPEG error #%d" with libjpeg's message number.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "picture/DesktopRegion.h"
#include "picture/Image.h"

namespace picture {

// Where a converted bitmap goes. The Windows side writes a temporary file and renames it
// only when the conversion succeeded, so a failed conversion never replaces a good bitmap.
class BmpSink {
 public:
  virtual ~BmpSink() = default;
  // Called once, before any write, with the size of the complete file.
  virtual void Reserve(uint64_t totalBytes) = 0;
  virtual void WriteAt(uint64_t offset, const void* data, size_t size) = 0;
};

// Fills up to `size` bytes at `into` with the next part of a JPEG file and returns how
// many, 0 at its end. What it throws comes out of the decode as it was thrown.
using JpegPull = std::function<size_t(uint8_t* into, size_t size)>;

// Where a decode reads the JPEG: bytes already in memory, or a pull that libjpeg calls
// only as far as it decodes, so that a header, or a crop of the top rows, reads only the
// start of a large file.
struct JpegInput {
  JpegInput(const uint8_t* bytes, size_t count) : data(bytes), size(count) {}
  explicit JpegInput(JpegPull reader) : pull(std::move(reader)) {}

  const uint8_t* data = nullptr;
  size_t size = 0;
  JpegPull pull;
};

struct JpegHeader {
  int width, height, components;
};

// Reads the header only; the image data are not looked at.
JpegHeader ReadJpegHeader(const JpegInput& input);
inline JpegHeader ReadJpegHeader(const uint8_t* data, size_t size) {
  return ReadJpegHeader(JpegInput(data, size));
}

inline constexpr size_t kBmpHeaderSize = 54;  // BITMAPFILEHEADER + BITMAPINFOHEADER

// The headers of a bottom-up 24-bit BMP file with rows padded to 4 bytes.
std::array<uint8_t, kBmpHeaderSize> BmpHeader24(int width, int height);

// Decodes the part of the picture that a desktop of `extent` shows in `layout` (see
// RegionFor; by default all of it at full size) and writes it as a complete 24-bit BMP file.
// Only that part is decoded: rows above it are skipped and columns beside it cropped by
// libjpeg. Rows are written as they are decoded, straight to their place in the file (the
// picture is never held whole); the headers go in last, so a conversion that fails part-way
// leaves no valid bitmap behind. A bitmap that would not fit the format's 32-bit sizes
// fails before Reserve.
void ConvertJpegToBmp(const JpegInput& input, BmpSink& sink,
                      DesktopLayout layout = DesktopLayout::Whole, PixelSize extent = {});
inline void ConvertJpegToBmp(const uint8_t* data, size_t size, BmpSink& sink,
                             DesktopLayout layout = DesktopLayout::Whole, PixelSize extent = {}) {
  ConvertJpegToBmp(JpegInput(data, size), sink, layout, extent);
}

// Decodes with libjpeg's DCT scaling: the smallest scale N/8 (N in 1..8) whose output is
// at least minWidth x minHeight, or full size when the picture is smaller than that.
DecodedImage DecodeJpegForPreview(const JpegInput& input, int minWidth, int minHeight);
inline DecodedImage DecodeJpegForPreview(const uint8_t* data, size_t size, int minWidth,
                                         int minHeight) {
  return DecodeJpegForPreview(JpegInput(data, size), minWidth, minHeight);
}

DecodedImage DecodeJpegFull(const uint8_t* data, size_t size);

}  // namespace picture
