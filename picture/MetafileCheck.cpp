#include "picture/MetafileCheck.h"

#include <cstdlib>

#include "picture/LittleEndian.h"
#include "platform/core/Error.h"

namespace picture {

namespace {

constexpr char kKind[] = "Metafile";

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderSize = 22;
constexpr size_t kWmfHeaderSize = 18;
constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr size_t kEmfHeaderMinSize = 88;
constexpr int kHmmPerInch = 2540;

// a * b / c rounded, in 64 bits; 0 when it does not fit an int.
int Scale(int64_t a, int64_t b, int64_t c) {
  if (c <= 0) return 0;
  const int64_t v = (a * b + c / 2) / c;
  return v > 0x7FFFFFFF ? 0 : static_cast<int>(v);
}

// The records of a Windows metafile (sizes in 16-bit words) end inside its stated size,
// which ends inside the bytes.
void CheckWmfBody(const uint8_t* p, size_t size) {
  if (size < kWmfHeaderSize) NotValid(kKind);
  const unsigned type = Le16(p);
  const unsigned headerWords = Le16(p + 2);
  const uint64_t totalBytes = uint64_t{Le32(p + 6)} * 2;
  if ((type != 1 && type != 2) || headerWords != 9 || totalBytes > size ||
      totalBytes < kWmfHeaderSize) {
    NotValid(kKind);
  }
  uint64_t at = kWmfHeaderSize;
  while (at < totalBytes) {
    if (at + 6 > totalBytes) NotValid(kKind);
    const uint64_t recordBytes = uint64_t{Le32(p + at)} * 2;
    const unsigned function = Le16(p + at + 4);
    if (recordBytes < 6 || at + recordBytes > totalBytes) NotValid(kKind);
    if (function == 0) return;  // the end record
    at += recordBytes;
  }
}

// The records of an enhanced metafile (sizes in bytes, multiples of 4) end inside its
// stated size, which ends inside the bytes.
void CheckEmfBody(const uint8_t* p, size_t size) {
  const uint32_t headerBytes = Le32(p + 4);
  const uint64_t totalBytes = Le32(p + 48);
  if (headerBytes < kEmfHeaderMinSize || headerBytes > totalBytes || totalBytes > size) {
    NotValid(kKind);
  }
  uint64_t at = 0;
  while (at < totalBytes) {
    if (at + 8 > totalBytes) NotValid(kKind);
    const uint32_t type = Le32(p + at);
    const uint64_t recordBytes = Le32(p + at + 4);
    if (recordBytes < 8 || recordBytes % 4 != 0 || at + recordBytes > totalBytes) NotValid(kKind);
    if (type == kEmrEof) return;
    at += recordBytes;
  }
}

}  // namespace

MetafileInfo ParseMetafile(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 4) NotValid(kKind);
  MetafileInfo info;
  if (Le32(data) == kPlaceableKey) {
    if (size < kPlaceableHeaderSize) NotValid(kKind);
    const int left = static_cast<int16_t>(Le16(data + 6));
    const int top = static_cast<int16_t>(Le16(data + 8));
    const int right = static_cast<int16_t>(Le16(data + 10));
    const int bottom = static_cast<int16_t>(Le16(data + 12));
    const int unitsPerInch = Le16(data + 14);
    if (unitsPerInch == 0) NotValid(kKind);
    info.placeable = true;
    info.bodyOffset = kPlaceableHeaderSize;
    info.bodySize = size - kPlaceableHeaderSize;
    info.widthHmm = Scale(std::abs(right - left), kHmmPerInch, unitsPerInch);
    info.heightHmm = Scale(std::abs(bottom - top), kHmmPerInch, unitsPerInch);
    CheckWmfBody(data + info.bodyOffset, info.bodySize);
  } else if (size >= kEmfHeaderMinSize && Le32(data) == kEmrHeader &&
             Le32(data + 40) == kEmfSignature) {
    // rclFrame: left, top, right, bottom in hundredths of a millimetre.
    const int64_t width = int64_t{LeS32(data + 32)} - LeS32(data + 24);
    const int64_t height = int64_t{LeS32(data + 36)} - LeS32(data + 28);
    if (width <= 0 || height <= 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) NotValid(kKind);
    info.bodyOffset = 0;
    info.bodySize = size;
    info.widthHmm = static_cast<int>(width);
    info.heightHmm = static_cast<int>(height);
    CheckEmfBody(data, size);
  } else {
    NotValid(kKind);
  }
  if (info.widthHmm <= 0 || info.heightHmm <= 0) NotValid(kKind);
  return info;
}

int HmmToPixels(int hmm, int dpi) {
  return Scale(hmm, dpi, kHmmPerInch);
}

}  // namespace picture
