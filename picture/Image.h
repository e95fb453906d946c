#pragma once
// A decoded picture in the layout of a 24-bit device-independent bitmap, so that the
// Windows side can hand `bgr` to SetDIBits / CreateDIBSection without touching the pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace picture {

// Bytes of one 24-bit DIB row: padded to a multiple of 4.
constexpr size_t DibStride24(int width) {
  return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
}

struct DecodedImage {
  int width = 0, height = 0;          // of the pixels in `bgr`
  int fullWidth = 0, fullHeight = 0;  // of the picture in its file (larger when scaled down)
  std::vector<uint8_t> bgr;           // bottom-up rows of DibStride24(width) bytes, B G R

  size_t Stride() const { return DibStride24(width); }
};

}  // namespace picture
