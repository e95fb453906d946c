#include "picture/BmpDecode.h"

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picture/Reduction.h"
#include "platform/core/Error.h"
#include "tests/support/Checks.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PS_HAVE_MALLOC_HOOKS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PS_HAVE_MALLOC_HOOKS 1
#endif
#ifdef PS_HAVE_MALLOC_HOOKS
#include <sanitizer/allocator_interface.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;
using picture::BmpSize;
using picture::DecodeBmp;
using picture::DecodeBmpReduced;
using picture::DecodedImage;
using picture::IconEntry;
using picture::PickIconEntry;
using picture::ReadBmpSize;
using picture::ReduceImage;
using testsupport::ErrorOf;
using testsupport::kNoError;

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

using Bgr = std::array<uint8_t, 3>;

struct BmpLayout {
  uint32_t headerSize = 40;
  int32_t width = 0, height = 0;  // negative height: top-down
  uint16_t bits = 24;
  uint32_t compression = 0;
  std::vector<Bgr> palette;
  uint32_t colorsUsed = 0;
  std::array<uint32_t, 3> masks{};  // written for BI_BITFIELDS
  Bytes pixels;                     // exactly as stored
};

// A bitmap file as Windows writes one.
Bytes MakeBmp(const BmpLayout& s) {
  const bool core = s.headerSize == 12;
  const size_t masksAfterHeader = s.compression == 3 && s.headerSize == 40 ? 12 : 0;
  const size_t entrySize = core ? 3 : 4;
  const size_t pixelOffset = 14 + s.headerSize + masksAfterHeader + s.palette.size() * entrySize;
  Bytes b(pixelOffset + s.pixels.size(), 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(pixelOffset));
  Put32(b, 14, s.headerSize);
  if (core) {
    Put16(b, 18, static_cast<uint32_t>(s.width));
    Put16(b, 20, static_cast<uint32_t>(s.height));
    Put16(b, 22, 1);
    Put16(b, 24, s.bits);
  } else {
    Put32(b, 18, static_cast<uint32_t>(s.width));
    Put32(b, 22, static_cast<uint32_t>(s.height));
    Put16(b, 26, 1);
    Put16(b, 28, s.bits);
    Put32(b, 30, s.compression);
    Put32(b, 34, static_cast<uint32_t>(s.pixels.size()));
    Put32(b, 46, s.colorsUsed);
    if (s.compression == 3) {
      for (int i = 0; i < 3; ++i) Put32(b, 54 + 4 * i, s.masks[i]);
    }
  }
  size_t at = 14 + s.headerSize + masksAfterHeader;
  for (const Bgr& c : s.palette) {
    std::memcpy(&b[at], c.data(), 3);
    at += entrySize;
  }
  std::memcpy(b.data() + pixelOffset, s.pixels.data(), s.pixels.size());
  return b;
}

// A palette picture whose colour table holds exactly `palette`.
Bytes PaletteBmp(int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                 const std::vector<Bgr>& palette, const Bytes& pixels) {
  return MakeBmp({.width = w,
                  .height = h,
                  .bits = bits,
                  .compression = compression,
                  .palette = palette,
                  .colorsUsed = static_cast<uint32_t>(palette.size()),
                  .pixels = pixels});
}

// One row of 16- or 32-bit pixels described by masks.
Bytes MaskedBmp(uint16_t bits, std::array<uint32_t, 3> masks, const Bytes& pixels) {
  const int32_t width = static_cast<int32_t>(pixels.size() * 8 / bits);
  return MakeBmp({.width = width,
                  .height = 1,
                  .bits = bits,
                  .compression = 3,
                  .masks = masks,
                  .pixels = pixels});
}

DecodedImage Decode(const Bytes& file) {
  return DecodeBmp(file.data(), file.size());
}

// The pixel at x, y counted from the top.
Bgr PixelAt(const DecodedImage& image, int x, int y) {
  const uint8_t* p = image.bgr.data() + (image.height - 1 - y) * image.Stride() + x * 3;
  return {p[0], p[1], p[2]};
}

std::string BmpErrorOf(const Bytes& file) {
  return ErrorOf([&] { DecodeBmp(file.data(), file.size()); });
}

constexpr Bgr kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{0, 0, 255}, kGreen{0, 255, 0},
    kBlue{255, 0, 0};

TEST(BmpDecode, ReadsTwentyFourBitRowsInBothDirections) {
  // 3 x 2, rows padded from 9 to 12 bytes. Stored bottom-up: the bottom row comes first.
  const Bytes bottomRowFirst = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0,  // blue green red
                                1,   2, 3, 4, 5,   6, 7, 8, 9,   0, 0, 0};
  const DecodedImage up = Decode(MakeBmp({.width = 3, .height = 2, .pixels = bottomRowFirst}));
  ASSERT_EQ(up.width, 3);
  ASSERT_EQ(up.height, 2);
  EXPECT_EQ(up.fullWidth, 3);
  EXPECT_EQ(PixelAt(up, 0, 1), kBlue);
  EXPECT_EQ(PixelAt(up, 2, 1), kRed);
  EXPECT_EQ(PixelAt(up, 1, 0), (Bgr{4, 5, 6}));

  const DecodedImage down = Decode(MakeBmp({.width = 3, .height = -2, .pixels = bottomRowFirst}));
  EXPECT_EQ(down.height, 2);
  EXPECT_EQ(PixelAt(down, 0, 0), kBlue);
  EXPECT_EQ(PixelAt(down, 1, 1), (Bgr{4, 5, 6}));
}

TEST(BmpDecode, ReadsPalettePictures) {
  // 1 bit, 10 x 2; bottom row 1 0 1 1 0 0 0 0 0 1.
  const DecodedImage mono = Decode(
      PaletteBmp(10, 2, 1, 0, {kBlack, kWhite}, {0b10110000, 0b01000000, 0, 0, 0xFF, 0xC0, 0, 0}));
  EXPECT_EQ(PixelAt(mono, 0, 1), kWhite);
  EXPECT_EQ(PixelAt(mono, 1, 1), kBlack);
  EXPECT_EQ(PixelAt(mono, 3, 1), kWhite);
  EXPECT_EQ(PixelAt(mono, 8, 1), kBlack);
  EXPECT_EQ(PixelAt(mono, 9, 1), kWhite);
  EXPECT_EQ(PixelAt(mono, 9, 0), kWhite);

  // 4 bit, top-down.
  const DecodedImage nibbles =
      Decode(PaletteBmp(3, -1, 4, 0, {kBlack, kRed, kGreen}, {0x21, 0, 0, 0}));
  EXPECT_EQ(PixelAt(nibbles, 0, 0), kGreen);
  EXPECT_EQ(PixelAt(nibbles, 1, 0), kRed);
  EXPECT_EQ(PixelAt(nibbles, 2, 0), kBlack);

  // 8 bit in the old core header, whose colour table has 3-byte entries and always 256 of
  // them.
  std::vector<Bgr> palette(256, kBlack);
  palette[1] = kBlue;
  palette[2] = kGreen;
  palette[255] = kRed;
  const DecodedImage core = Decode(MakeBmp({.headerSize = 12,
                                            .width = 3,
                                            .height = 1,
                                            .bits = 8,
                                            .palette = palette,
                                            .pixels = {2, 1, 255, 0}}));
  EXPECT_EQ(PixelAt(core, 0, 0), kGreen);
  EXPECT_EQ(PixelAt(core, 1, 0), kBlue);
  EXPECT_EQ(PixelAt(core, 2, 0), kRed);
}

TEST(BmpDecode, ReadsMaskedPixels) {
  // 16 bit without masks is 5-5-5: red, and half blue.
  const DecodedImage rgb555 =
      Decode(MakeBmp({.width = 2, .height = 1, .bits = 16, .pixels = {0x00, 0x7C, 0x10, 0x00}}));
  EXPECT_EQ(PixelAt(rgb555, 0, 0), kRed);
  EXPECT_EQ(PixelAt(rgb555, 1, 0), (Bgr{132, 0, 0}));

  const DecodedImage rgb565 =
      Decode(MaskedBmp(16, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0xFF, 0xFF}));
  EXPECT_EQ(PixelAt(rgb565, 0, 0), kGreen);
  EXPECT_EQ(PixelAt(rgb565, 1, 0), kWhite);

  const DecodedImage bgrx = Decode(
      MakeBmp({.width = 2, .height = 1, .bits = 32, .pixels = {10, 20, 30, 99, 40, 50, 60, 0}}));
  EXPECT_EQ(PixelAt(bgrx, 0, 0), (Bgr{10, 20, 30}));
  EXPECT_EQ(PixelAt(bgrx, 1, 0), (Bgr{40, 50, 60}));

  // RGBA masks inside a V5 header; alpha is ignored.
  Bytes v5 = MakeBmp({.headerSize = 124,
                      .width = 1,
                      .height = 1,
                      .bits = 32,
                      .compression = 3,
                      .pixels = {10, 20, 30, 40}});
  Put32(v5, 54, 0x000000FF);
  Put32(v5, 58, 0x0000FF00);
  Put32(v5, 62, 0x00FF0000);
  Put32(v5, 66, 0xFF000000);
  EXPECT_EQ(PixelAt(Decode(v5), 0, 0), (Bgr{30, 20, 10}));
}

TEST(BmpDecode, ReadsRunLengthData) {
  const std::vector<Bgr> palette = {kBlack, kRed, kGreen, kBlue};
  const DecodedImage rle8 =
      Decode(PaletteBmp(6, 3, 8, 1, palette,
                        {
                            3, 1,              // bottom row: 3 x red
                            0, 3, 2, 3, 1, 0,  // absolute: green blue red, padded
                            0, 0,              // end of line
                            0, 2, 2, 1,        // delta: 2 right, 1 up (row stays black)
                            2, 3,              // top row, x 2..3: blue
                            0, 1,              // end of bitmap
                        }));
  const Bgr expected[3][6] = {{kBlack, kBlack, kBlue, kBlue, kBlack, kBlack},
                              {kBlack, kBlack, kBlack, kBlack, kBlack, kBlack},
                              {kRed, kRed, kRed, kGreen, kBlue, kRed}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(rle8, x, y), expected[y][x]) << x << "," << y;
  }

  // 1 2 1 2 1, then absolute 3 0 1.
  const DecodedImage rle4 =
      Decode(PaletteBmp(8, 1, 4, 2, palette, {5, 0x12, 0, 3, 0x30, 0x10, 0, 1}));
  const Bgr expected4[8] = {kRed, kGreen, kRed, kGreen, kRed, kBlue, kBlack, kRed};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(rle4, x, 0), expected4[x]) << x;

  // Runs beyond the right edge are dropped.
  const DecodedImage clipped = Decode(PaletteBmp(3, 2, 8, 1, palette, {200, 1, 0, 0, 2, 2, 0, 1}));
  EXPECT_EQ(PixelAt(clipped, 2, 1), kRed);
  EXPECT_EQ(PixelAt(clipped, 0, 0), kGreen);
  EXPECT_EQ(PixelAt(clipped, 2, 0), kBlack);
}

// Pixels that differ from their neighbours, so that a block taken from the wrong rows or
// columns shows in the average.
Bytes Noise(size_t n, uint32_t seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1664525u + 1013904223u;
    b[i] = static_cast<uint8_t>(seed >> 24);
  }
  return b;
}

TEST(BmpDecode, ReducedDecodeEqualsDecodeThenReduce) {
  const std::vector<Bgr> palette{kBlack, kWhite, kRed, kGreen, kBlue, {7, 70, 170}};
  Bytes indexes = Noise(16 * 4, 5);
  for (uint8_t& v : indexes) v %= 6;  // 8-bit rows of 13 pixels are 16 bytes with padding
  const std::vector<Bytes> files{
      MakeBmp({.width = 37, .height = 23, .pixels = Noise(112 * 23, 1)}),   // bottom-up
      MakeBmp({.width = 37, .height = -23, .pixels = Noise(112 * 23, 2)}),  // top-down
      MakeBmp({.width = 9, .height = 30, .bits = 32, .pixels = Noise(36 * 30, 3)}),
      MakeBmp({.width = 10, .height = 7, .bits = 16, .pixels = Noise(20 * 7, 4)}),
      PaletteBmp(13, -4, 8, 0, palette, indexes),
      PaletteBmp(6, 3, 8, 1, palette, {3, 1, 3, 2, 0, 0, 6, 4, 0, 0, 2, 5, 0, 1}),  // RLE
  };
  for (size_t f = 0; f < files.size(); ++f) {
    const DecodedImage full = Decode(files[f]);
    const BmpSize size = ReadBmpSize(files[f].data(), files[f].size());
    EXPECT_EQ(size.width, full.width) << f;
    EXPECT_EQ(size.height, full.height) << f;
    for (int factor = 1; factor <= 8; ++factor) {
      const DecodedImage expected = ReduceImage(full, factor);
      const DecodedImage reduced = DecodeBmpReduced(files[f].data(), files[f].size(), factor);
      EXPECT_EQ(reduced.width, expected.width) << f << " / " << factor;
      EXPECT_EQ(reduced.height, expected.height) << f << " / " << factor;
      EXPECT_EQ(reduced.fullWidth, full.width) << f << " / " << factor;
      EXPECT_EQ(reduced.fullHeight, full.height) << f << " / " << factor;
      EXPECT_EQ(reduced.bgr, expected.bgr) << f << " / " << factor;
    }
  }
}

TEST(BmpDecode, ReducedDecodeFailsAsTheFullOne) {
  const std::vector<Bgr> palette{kRed, kGreen};
  // Index 2 outside a two-colour table, in the last row decoded.
  const Bytes bad = PaletteBmp(2, 2, 8, 0, palette, {0, 1, 0, 0, 0, 2, 0, 0});
  const Bytes cut = MakeBmp({.width = 40, .height = 40, .pixels = Bytes(120 * 40, 9)});
  for (const Bytes& file : {bad, Bytes(cut.begin(), cut.end() - 200)}) {
    EXPECT_EQ(BmpErrorOf(file), "Bitmap image is not valid");
    EXPECT_THROW(DecodeBmpReduced(file.data(), file.size(), 2), platform::Error);
  }
  EXPECT_THROW(ReadBmpSize(cut.data(), 10), platform::Error);
}

TEST(BmpDecode, RejectsInconsistentFiles) {
  const std::string invalid = "Bitmap image is not valid";
  const Bytes good = MakeBmp({.width = 4, .height = 4, .pixels = Bytes(48, 7)});
  ASSERT_EQ(BmpErrorOf(good), kNoError);

  auto patched = [&](size_t at, uint32_t value, bool wide = true) {
    Bytes b = good;
    wide ? Put32(b, at, value) : Put16(b, at, value);
    return b;
  };
  EXPECT_EQ(BmpErrorOf(Bytes(good.begin(), good.begin() + 17)), invalid);
  EXPECT_EQ(BmpErrorOf(Bytes(good.begin(), good.begin() + 40)), invalid);
  EXPECT_EQ(BmpErrorOf(Bytes(good.begin(), good.end() - 1)), invalid);  // last row cut
  EXPECT_EQ(BmpErrorOf(patched(0, 'B' | 'A' << 8, false)), invalid);
  EXPECT_EQ(BmpErrorOf(patched(14, 64)), invalid);          // unknown header size
  EXPECT_EQ(BmpErrorOf(patched(18, 0)), invalid);           // width 0
  EXPECT_EQ(BmpErrorOf(patched(22, 0)), invalid);           // height 0
  EXPECT_EQ(BmpErrorOf(patched(22, 0x80000000)), invalid);  // height INT_MIN
  EXPECT_EQ(BmpErrorOf(patched(28, 7, false)), invalid);    // bit count
  EXPECT_EQ(BmpErrorOf(patched(30, 4)), invalid);           // BI_JPEG
  EXPECT_EQ(BmpErrorOf(patched(30, 1)), invalid);           // RLE8 with 24 bits
  EXPECT_EQ(BmpErrorOf(patched(10, 20)), invalid);          // pixels inside the header
  EXPECT_EQ(BmpErrorOf(patched(10, static_cast<uint32_t>(good.size()))), invalid);
  EXPECT_EQ(BmpErrorOf(patched(18, 0x7FFFFFFF)), invalid);
  EXPECT_EQ(BmpErrorOf(patched(18, 20000)), invalid);  // claimed 20000 x 4: data too short

  // The declared colour table must be in the file (0 colours used means all 256), and
  // pixels must name one of its entries.
  EXPECT_EQ(
      BmpErrorOf(MakeBmp(
          {.width = 2, .height = 1, .bits = 8, .palette = {kRed, kGreen}, .pixels = {0, 1, 0, 0}})),
      invalid);
  EXPECT_EQ(BmpErrorOf(PaletteBmp(2, 1, 8, 0, {kRed, kGreen}, {0, 2, 0, 0})), invalid);

  EXPECT_EQ(BmpErrorOf(MaskedBmp(16, {0xF00F, 0x0F00, 0x00F0}, {0, 0, 0, 0})), invalid);  // gap
  EXPECT_EQ(BmpErrorOf(MaskedBmp(32, {0xFF0000, 0xFFFF, 0xFF}, {0, 0, 0, 0})), invalid);  // overlap

  const std::vector<Bgr> two = {kRed, kGreen};
  ASSERT_EQ(BmpErrorOf(PaletteBmp(4, 2, 8, 1, two, {4, 1, 0, 0, 4, 0, 0, 1})), kNoError);
  EXPECT_EQ(BmpErrorOf(PaletteBmp(4, 2, 8, 1, two, {4, 1, 0, 0, 4, 0})), invalid);  // ends early
  EXPECT_EQ(BmpErrorOf(PaletteBmp(4, 2, 8, 1, two, {4, 1, 0, 4, 1, 1})), invalid);  // absolute cut
  EXPECT_EQ(BmpErrorOf(PaletteBmp(4, 2, 8, 1, two, {4, 1, 0, 2, 1})), invalid);     // delta cut
  EXPECT_EQ(BmpErrorOf(PaletteBmp(4, 2, 8, 1, two, {4, 2, 0, 1})), invalid);        // index 2
  EXPECT_EQ(BmpErrorOf(PaletteBmp(4, -2, 8, 1, two, {4, 1, 0, 1})), invalid);       // top-down
}

#ifdef PS_HAVE_MALLOC_HOOKS
// The sanitizer's hooks cannot be removed again, so they stay installed and only measure
// while asked to.
bool measuring = false;
size_t largestAllocation = 0;
void OnMalloc(const volatile void*, size_t size) {
  if (measuring && size > largestAllocation) largestAllocation = size;
}
void OnFree(const volatile void*) {}
#endif

TEST(BmpDecode, HugeClaimedSizeFailsWithoutAllocatingThePicture) {
  // A few hundred bytes that claim 16000 x 16000 pixels (768 MB, under the 1 GiB cap) and
  // 40000 x 40000 (over it), in every encoding; run-length streams also end early at once
  // or skip to the end, which leaves all the rest black.
  std::vector<Bytes> files;
  for (int32_t side : {16000, 40000}) {
    files.push_back(MakeBmp({.width = side, .height = side, .pixels = Bytes(300, 1)}));
    files.push_back(PaletteBmp(side, -side, 1, 0, {kRed, kGreen}, Bytes(300, 1)));
    files.push_back(PaletteBmp(side, side, 8, 1, {kRed, kGreen}, {255, 1, 255, 1, 0, 0, 255, 1}));
    files.push_back(PaletteBmp(side, side, 8, 1, {kRed, kGreen}, {255, 1, 0, 1}));
    files.push_back(PaletteBmp(side, side, 4, 2, {kRed, kGreen}, {0, 2, 255, 255, 0, 1}));
  }
#ifdef PS_HAVE_MALLOC_HOOKS
  static const int installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
  ASSERT_GT(installed, 0);
#endif
  for (const Bytes& file : files) {
#ifdef PS_HAVE_MALLOC_HOOKS
    largestAllocation = 0;
    measuring = true;
#endif
    const std::string error = BmpErrorOf(file);
#ifdef PS_HAVE_MALLOC_HOOKS
    measuring = false;
    EXPECT_LT(largestAllocation, 1u << 20);
#endif
    EXPECT_EQ(error, "Bitmap image is not valid");
  }
}

TEST(BmpDecode, RunLengthDataBacksLargePictures) {
  // Ending early is fine for a picture of a few megabytes...
  const DecodedImage sparse = Decode(PaletteBmp(2000, 1500, 8, 1, {kRed}, {2, 0, 0, 1}));
  EXPECT_EQ(PixelAt(sparse, 1, 1499), kRed);
  EXPECT_EQ(PixelAt(sparse, 1999, 0), kBlack);

  // ... and a large picture whose stream covers it decodes whatever its size: 6000 x 4000
  // (72 MB) of one colour in runs of 255.
  Bytes stream;
  for (int y = 0; y < 4000; ++y) {
    for (int x = 0; x < 6000; x += 255) stream.insert(stream.end(), {255, 1});
    stream.insert(stream.end(), {0, 0});
  }
  const DecodedImage large = Decode(PaletteBmp(6000, 4000, 8, 1, {kRed, kGreen}, stream));
  EXPECT_EQ(PixelAt(large, 5999, 3999), kGreen);
  EXPECT_EQ(PixelAt(large, 0, 0), kGreen);
}

// An icon directory with the given entries (width, height, bits, data size), the images'
// data following the directory.
Bytes MakeIcon(const std::vector<std::array<uint32_t, 4>>& entries, uint16_t type = 1) {
  size_t dataAt = 6 + 16 * entries.size();
  size_t total = dataAt;
  for (const auto& e : entries) total += e[3];
  Bytes b(total, 0);
  Put16(b, 2, type);
  Put16(b, 4, static_cast<uint32_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t at = 6 + 16 * i;
    b[at] = static_cast<uint8_t>(entries[i][0]);
    b[at + 1] = static_cast<uint8_t>(entries[i][1]);
    Put16(b, at + 4, 1);
    Put16(b, at + 6, entries[i][2]);
    Put32(b, at + 8, entries[i][3]);
    Put32(b, at + 12, static_cast<uint32_t>(dataAt));
    dataAt += entries[i][3];
  }
  return b;
}

std::string IconErrorOf(const Bytes& file) {
  return ErrorOf([&] { PickIconEntry(file.data(), file.size()); });
}

TEST(IconDirectory, PicksTheLargestImage) {
  const Bytes icon = MakeIcon({{16, 16, 32, 100}, {0, 0, 32, 300}, {48, 48, 8, 200}});
  const IconEntry e = PickIconEntry(icon.data(), icon.size());
  EXPECT_EQ(e.width, 256);  // 0 means 256
  EXPECT_EQ(e.height, 256);
  EXPECT_EQ(e.offset, 6u + 48 + 100);
  EXPECT_EQ(e.size, 300u);

  const Bytes sameSize = MakeIcon({{32, 32, 4, 10}, {32, 32, 32, 20}, {32, 32, 8, 30}});
  EXPECT_EQ(PickIconEntry(sameSize.data(), sameSize.size()).size, 20u);
}

TEST(IconDirectory, RejectsBrokenDirectories) {
  const std::string invalid = "Icon image is not valid";
  const Bytes good = MakeIcon({{16, 16, 32, 100}, {32, 32, 32, 100}});
  ASSERT_EQ(IconErrorOf(good), kNoError);
  auto patched = [&](size_t at, uint32_t value) {
    Bytes b = good;
    Put32(b, at, value);
    return b;
  };
  EXPECT_EQ(IconErrorOf(Bytes(good.begin(), good.begin() + 5)), invalid);
  EXPECT_EQ(IconErrorOf(Bytes(good.begin(), good.begin() + 30)), invalid);  // directory cut
  EXPECT_EQ(IconErrorOf(Bytes(good.begin(), good.end() - 1)), invalid);     // last image cut
  EXPECT_EQ(IconErrorOf(MakeIcon({{16, 16, 32, 100}}, 2)), invalid);        // a cursor
  EXPECT_EQ(IconErrorOf(MakeIcon({})), invalid);
  Bytes reserved = good;
  reserved[0] = 1;
  EXPECT_EQ(IconErrorOf(reserved), invalid);
  EXPECT_EQ(IconErrorOf(patched(6 + 8, 0)), invalid);            // empty image
  EXPECT_EQ(IconErrorOf(patched(6 + 12, 10)), invalid);          // data inside the directory
  EXPECT_EQ(IconErrorOf(patched(6 + 12, 0xFFFFFFF0)), invalid);  // offset + size wraps 32 bits
  EXPECT_EQ(IconErrorOf(patched(6 + 16 + 8, 0xFFFFFFFF)), invalid);
}

}  // namespace
