#include "picture/BmpDecode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>

#include "picture/Reduction.h"
#include "picture/LittleEndian.h"
#include "platform/core/Error.h"

namespace picture {

namespace {

constexpr char kKind[] = "Bitmap image";

constexpr size_t kFileHeaderSize = 14;
constexpr uint64_t kMaxPixelBytes = uint64_t{1} << 30;
// Run-length data may end early or skip parts of the picture, so a few bytes could claim
// a picture of any size. Beyond this size the data must back the picture: a stream without
// skips gives at most 765 bytes of picture per 2 bytes, and the limit leaves room for some
// skipping.
constexpr uint64_t kRleUnbackedBytes = uint64_t{64} << 20;
constexpr uint64_t kRleMaxExpansion = 1024;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

// One colour channel of a 16- or 32-bit pixel, described by its bit mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  uint8_t From(uint32_t pixel) const {
    const uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    const uint32_t max = (uint32_t{1} << bits) - 1;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

// GDI accepts only non-empty runs of adjacent bits.
Channel MakeChannel(uint32_t mask) {
  if (mask == 0) NotValid(kKind);
  Channel c;
  c.mask = mask;
  c.shift = std::countr_zero(mask);
  const uint32_t run = mask >> c.shift;
  if ((run & (run + 1)) != 0) NotValid(kKind);
  c.bits = std::popcount(run);
  return c;
}

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = kRgb;
  std::array<uint8_t, 256 * 3> palette{};  // B G R per entry
  unsigned paletteCount = 0;
  std::array<Channel, 3> channels;  // red, green, blue
  size_t pixelOffset = 0;
};

// Reads and checks everything but the pixel data.
Layout ParseHeaders(const uint8_t* data, size_t size) {
  if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') NotValid(kKind);
  const uint32_t headerSize = Le32(data + kFileHeaderSize);
  switch (headerSize) {
    case 12:   // BITMAPCOREHEADER
    case 40:   // BITMAPINFOHEADER
    case 52:   // ... with RGB masks
    case 56:   // ... with RGBA masks
    case 108:  // BITMAPV4HEADER
    case 124:  // BITMAPV5HEADER
      break;
    default:
      NotValid(kKind);
  }
  if (size < kFileHeaderSize + headerSize) NotValid(kKind);
  const uint8_t* h = data + kFileHeaderSize;

  Layout l;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  size_t paletteEntrySize = 4;
  size_t tablesStart = kFileHeaderSize + headerSize;
  std::array<uint32_t, 3> masks{};
  if (headerSize == 12) {
    l.width = Le16(h + 4);
    height = Le16(h + 6);
    l.bits = Le16(h + 10);
    paletteEntrySize = 3;
    if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 24) NotValid(kKind);
  } else {
    l.width = static_cast<int32_t>(Le32(h + 4));
    height = static_cast<int32_t>(Le32(h + 8));
    l.bits = Le16(h + 14);
    l.compression = Le32(h + 16);
    colorsUsed = Le32(h + 32);
    if (l.compression == kBitfields) {
      // The 40-byte header keeps its masks after itself, the longer ones inside.
      const size_t masksAt = kFileHeaderSize + 40;
      if (headerSize == 40) tablesStart += 12;
      if (size < masksAt + 12) NotValid(kKind);
      for (int i = 0; i < 3; ++i) masks[i] = Le32(data + masksAt + 4 * i);
    }
  }
  if (height < 0) {
    l.topDown = true;
    height = -height;
  }
  if (l.width <= 0 || height <= 0 || height > INT_MAX) NotValid(kKind);
  l.height = static_cast<int>(height);
  if (static_cast<uint64_t>(l.width) * static_cast<uint64_t>(l.height) * 3 > kMaxPixelBytes)
    NotValid(kKind);

  switch (l.compression) {
    case kRgb:
      if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 &&
          l.bits != 32) {
        NotValid(kKind);
      }
      if (l.bits == 16) masks = {0x7C00, 0x03E0, 0x001F};
      if (l.bits == 32) masks = {0xFF0000, 0xFF00, 0xFF};
      break;
    case kRle8:
    case kRle4:
      // Run-length data is always stored bottom-up.
      if (l.bits != (l.compression == kRle8 ? 8 : 4) || l.topDown) NotValid(kKind);
      break;
    case kBitfields:
      if (l.bits != 16 && l.bits != 32) NotValid(kKind);
      if (l.bits == 16 && ((masks[0] | masks[1] | masks[2]) >> 16) != 0) NotValid(kKind);
      if ((masks[0] & masks[1]) != 0 || (masks[0] & masks[2]) != 0 || (masks[1] & masks[2]) != 0) {
        NotValid(kKind);
      }
      break;
    default:
      NotValid(kKind);
  }
  if (l.bits == 16 || l.bits == 32) {
    for (int i = 0; i < 3; ++i) l.channels[i] = MakeChannel(masks[i]);
  }

  if (l.bits <= 8) {
    const unsigned maxColors = 1u << l.bits;
    l.paletteCount = colorsUsed == 0 ? maxColors : std::min<uint32_t>(colorsUsed, maxColors);
    if (tablesStart + l.paletteCount * paletteEntrySize > size) NotValid(kKind);
    for (unsigned i = 0; i < l.paletteCount; ++i) {
      std::memcpy(&l.palette[i * 3], data + tablesStart + i * paletteEntrySize, 3);
    }
  }

  l.pixelOffset = Le32(data + 10);
  if (l.pixelOffset < tablesStart || l.pixelOffset >= size) NotValid(kKind);
  if (l.compression == kRgb || l.compression == kBitfields) {
    const uint64_t rowBytes = (static_cast<uint64_t>(l.width) * l.bits + 31) / 32 * 4;
    if (rowBytes * static_cast<uint64_t>(l.height) > size - l.pixelOffset) NotValid(kKind);
  } else {
    const uint64_t pictureBytes = picture::DibStride24(l.width) * static_cast<uint64_t>(l.height);
    if (pictureBytes > kRleUnbackedBytes &&
        pictureBytes / kRleMaxExpansion > size - l.pixelOffset) {
      NotValid(kKind);
    }
  }
  return l;
}

void PutIndex(const Layout& l, unsigned index, uint8_t* out) {
  if (index >= l.paletteCount) NotValid(kKind);
  std::memcpy(out, &l.palette[index * 3], 3);
}

void DecodeRow(const Layout& l, const uint8_t* src, uint8_t* out) {
  const int w = l.width;
  switch (l.bits) {
    case 1:
    case 4:
    case 8: {
      const int perByte = 8 / l.bits;
      const unsigned mask = (1u << l.bits) - 1;
      for (int x = 0; x < w; ++x) {
        const int shift = 8 - l.bits * (x % perByte + 1);
        PutIndex(l, (src[x / perByte] >> shift) & mask, out + x * 3);
      }
      break;
    }
    case 24:
      std::memcpy(out, src, static_cast<size_t>(w) * 3);
      break;
    default:
      for (int x = 0; x < w; ++x) {
        const uint32_t pixel = l.bits == 16 ? Le16(src + x * 2) : Le32(src + x * 4);
        out[x * 3] = l.channels[2].From(pixel);
        out[x * 3 + 1] = l.channels[1].From(pixel);
        out[x * 3 + 2] = l.channels[0].From(pixel);
      }
      break;
  }
}

// Decodes BI_RLE8 / BI_RLE4 data into bottom-up rows. Run first without output (`out`
// null) to check the whole stream before the picture is allocated. Pixels that the stream
// skips stay black; pixels beyond the right edge are dropped, as GDI does.
void DecodeRle(const Layout& l, const uint8_t* p, size_t n, uint8_t* out, size_t stride) {
  const bool rle8 = l.compression == kRle8;
  size_t i = 0;
  int x = 0;
  int y = 0;
  auto need = [&](size_t k) {
    if (n - i < k) NotValid(kKind);
  };
  auto put = [&](unsigned index) {
    if (index >= l.paletteCount) NotValid(kKind);
    if (x < l.width) {
      if (out)
        PutIndex(l, index, out + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3);
      ++x;
    }
  };
  while (y < l.height) {
    need(2);
    const unsigned count = p[i];
    const unsigned value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned k = 0; k < count; ++k)
        put(rle8 ? value : (k % 2 == 0 ? value >> 4 : value & 15));
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      need(2);
      x = std::min(x + static_cast<int>(p[i]), l.width);
      y += p[i + 1];
      i += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const size_t bytes = rle8 ? value : (value + 1) / 2;
      const size_t padded = (bytes + 1) & ~size_t{1};
      need(padded);
      for (unsigned k = 0; k < value; ++k) {
        put(rle8 ? p[i + k] : (k % 2 == 0 ? p[i + k / 2] >> 4 : p[i + k / 2] & 15));
      }
      i += padded;
    }
  }
}

}  // namespace

DecodedImage DecodeBmp(const uint8_t* data, size_t size) {
  if (data == nullptr) NotValid(kKind);
  const Layout l = ParseHeaders(data, size);
  const uint8_t* pixels = data + l.pixelOffset;
  const size_t available = size - l.pixelOffset;
  const bool rle = l.compression == kRle8 || l.compression == kRle4;
  if (rle) DecodeRle(l, pixels, available, nullptr, 0);

  DecodedImage image;
  image.width = image.fullWidth = l.width;
  image.height = image.fullHeight = l.height;
  const size_t stride = image.Stride();
  image.bgr.assign(stride * static_cast<size_t>(l.height), 0);
  if (rle) {
    DecodeRle(l, pixels, available, image.bgr.data(), stride);
    return image;
  }
  const size_t rowBytes = (static_cast<size_t>(l.width) * l.bits + 31) / 32 * 4;
  for (int row = 0; row < l.height; ++row) {
    const int source = l.topDown ? l.height - 1 - row : row;
    DecodeRow(l, pixels + static_cast<size_t>(source) * rowBytes,
              image.bgr.data() + static_cast<size_t>(row) * stride);
  }
  return image;
}

BmpSize ReadBmpSize(const uint8_t* data, size_t size) {
  if (data == nullptr) NotValid(kKind);
  const Layout l = ParseHeaders(data, size);
  return {l.width, l.height};
}

DecodedImage DecodeBmpReduced(const uint8_t* data, size_t size, int factor) {
  if (data == nullptr) NotValid(kKind);
  const Layout l = ParseHeaders(data, size);
  // Run-length data places its pixels anywhere; it is decoded whole (such pictures are
  // palette drawings, small in practice), then reduced.
  if (factor <= 1 || l.compression == kRle8 || l.compression == kRle4) {
    return ReduceImage(DecodeBmp(data, size), factor);
  }
  const uint8_t* pixels = data + l.pixelOffset;
  const size_t rowBytes = (static_cast<size_t>(l.width) * l.bits + 31) / 32 * 4;
  std::vector<uint8_t> row(static_cast<size_t>(l.width) * 3);
  BoxReducer reducer(l.width, l.height, factor);
  for (int r = 0; r < l.height; ++r) {
    const int source = l.topDown ? l.height - 1 - r : r;
    DecodeRow(l, pixels + static_cast<size_t>(source) * rowBytes, row.data());
    reducer.AddRow(row.data());
  }
  return reducer.Take();
}

IconEntry PickIconEntry(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 6) NotValid("Icon image");
  const unsigned count = Le16(data + 4);
  if (Le16(data) != 0 || Le16(data + 2) != 1 || count == 0) NotValid("Icon image");
  const size_t directoryEnd = 6 + size_t{16} * count;
  if (directoryEnd > size) NotValid("Icon image");

  IconEntry best{};
  int bestBits = -1;
  for (unsigned i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + size_t{16} * i;
    const IconEntry entry{e[0] == 0 ? 256 : e[0], e[1] == 0 ? 256 : e[1], Le32(e + 12),
                          Le32(e + 8)};
    const int bits = Le16(e + 6);
    if (entry.size == 0 || entry.offset < directoryEnd ||
        uint64_t{entry.offset} + entry.size > size) {
      NotValid("Icon image");
    }
    const int64_t area = int64_t{entry.width} * entry.height;
    const int64_t bestArea = int64_t{best.width} * best.height;
    if (area > bestArea || (area == bestArea && bits > bestBits)) {
      best = entry;
      bestBits = bits;
    }
  }
  return best;
}

}  // namespace picture
