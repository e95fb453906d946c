#include "picture/IconImage.h"

#include "picture/LittleEndian.h"
#include "platform/core/Error.h"

namespace picture {

namespace {

constexpr char kKind[] = "Icon image";

// Bytes of one row of a bitmap, padded to 32 bits.
uint64_t RowBytes(uint64_t width, unsigned bits) {
  return (width * bits + 31) / 32 * 4;
}

}  // namespace

void CheckIconImage(const uint8_t* data, size_t size) {
  static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (data == nullptr || size < 8) NotValid(kKind);
  bool png = true;
  for (size_t i = 0; i < 8; ++i) png = png && data[i] == kPng[i];
  if (png) return;  // the system's PNG reader checks its own stream

  if (size < 40) NotValid(kKind);
  const uint32_t headerSize = Le32(data);
  const int32_t width = static_cast<int32_t>(Le32(data + 4));
  // The height covers the colour mask and the transparency mask together.
  const int32_t doubleHeight = static_cast<int32_t>(Le32(data + 8));
  const unsigned planes = Le16(data + 12);
  const unsigned bits = Le16(data + 14);
  const uint32_t compression = Le32(data + 16);
  const uint32_t coloursUsed = Le32(data + 32);
  constexpr int32_t kMaxSide = 4096;
  if (headerSize < 40 || headerSize > size || planes != 1) NotValid(kKind);
  if (width <= 0 || width > kMaxSide || doubleHeight < 2 || doubleHeight > 2 * kMaxSide) {
    NotValid(kKind);
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    NotValid(kKind);
  uint64_t tableBytes = 0;
  if (compression == 3 /* BI_BITFIELDS */) {
    if (bits != 16 && bits != 32) NotValid(kKind);
    if (headerSize == 40) tableBytes = 12;  // the three masks follow a plain header
  } else if (compression != 0 /* BI_RGB */) {
    NotValid(kKind);
  }
  if (bits <= 8) {
    const uint64_t maxColours = uint64_t{1} << bits;
    if (coloursUsed > maxColours) NotValid(kKind);
    tableBytes = 4 * (coloursUsed ? coloursUsed : maxColours);
  } else {
    if (coloursUsed > 256) NotValid(kKind);
    tableBytes += 4 * uint64_t{coloursUsed};
  }
  const uint64_t height = static_cast<uint64_t>(doubleHeight) / 2;
  const uint64_t needed =
      headerSize + tableBytes + RowBytes(width, bits) * height + RowBytes(width, 1) * height;
  if (needed > size) NotValid(kKind);
}

}  // namespace picture
