#pragma once
// Readers of the picture files that the preview loads without libjpeg: Windows bitmaps, and
// the directory of an icon file. Both read untrusted bytes: every size and offset is
// checked against the data before anything is allocated or read.
#include <cstddef>
#include <cstdint>

#include "picture/Image.h"

namespace picture {

// A Windows bitmap file: BITMAPCOREHEADER, BITMAPINFOHEADER (and its 52/56-byte
// extensions), V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits; BI_RGB, BI_BITFIELDS,
// BI_RLE8 and BI_RLE4; top-down and bottom-up. The result holds the picture at full size
// as 24-bit bottom-up rows. Any inconsistency throws platform::Error "Bitmap image is not valid".
DecodedImage DecodeBmp(const uint8_t* data, size_t size);

// The picture's size from its headers, checked as DecodeBmp checks them.
struct BmpSize {
  int width, height;
};
BmpSize ReadBmpSize(const uint8_t* data, size_t size);

// ReduceImage(DecodeBmp(data, size), factor), pixel for pixel, without the full-size
// picture for uncompressed bitmaps: their rows are reduced as they are decoded.
DecodedImage DecodeBmpReduced(const uint8_t* data, size_t size, int factor);

struct IconEntry {
  int width, height;
  uint32_t offset, size;  // of the entry's image data in the file
};

// Checks an .ico directory and picks its largest image (the most colours among equal
// sizes). Anything wrong throws platform::Error "Icon image is not valid".
IconEntry PickIconEntry(const uint8_t* data, size_t size);

}  // namespace picture
