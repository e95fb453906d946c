#pragma once
// Test JPEGs made in memory with libjpeg's own compressor.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace testjpeg {

using Bytes = std::vector<uint8_t>;

struct EncodeOptions {
  int width = 37, height = 23;
  J_COLOR_SPACE input = JCS_RGB;       // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
  J_COLOR_SPACE stored = JCS_UNKNOWN;  // colour space in the file; default for the input
  bool adobeMarker = true;             // for CMYK / YCCK
  bool progressive = false;
  int quality = 90;
};

// A colourful test pattern, so that misplaced rows or swapped channels show.
uint8_t Pattern(int x, int y, int c);

Bytes EncodeJpeg(const EncodeOptions& o,
                 const std::function<uint8_t(int, int, int)>& pixel = Pattern);

// The JPEG (held in a string or a byte vector) with its first frame header claiming
// width x height instead of the size of its data.
template <class Data>
Data WithClaimedSize(Data jpeg, int width, int height) {
  using Byte = typename Data::value_type;
  for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
    const auto marker = static_cast<uint8_t>(jpeg[i + 1]);
    if (static_cast<uint8_t>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
      jpeg[i + 5] = static_cast<Byte>(height >> 8);
      jpeg[i + 6] = static_cast<Byte>(height);
      jpeg[i + 7] = static_cast<Byte>(width >> 8);
      jpeg[i + 8] = static_cast<Byte>(width);
      return jpeg;
    }
  }
  throw std::invalid_argument("no frame header");
}

}  // namespace testjpeg
