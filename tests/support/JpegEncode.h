#pragma once
// Test JPEGs made in memory with libjpeg's own compressor.
#include <cstdint>
#include <cstdio>
#include <functional>
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

}  // namespace testjpeg
