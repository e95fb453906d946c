#include "picture/JpegToBmp.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include <gtest/gtest.h>

#include "picture/BmpDecode.h"
#include "tests/support/Checks.h"
#include "tests/support/JpegDecode.h"
#include "tests/support/JpegEncode.h"
#include "platform/core/Error.h"

namespace {

using Bytes = std::vector<uint8_t>;
using picture::DecodedImage;

using testjpeg::DecodePlain;
using testjpeg::EncodeJpeg;
using testjpeg::EncodeOptions;
using testjpeg::Pattern;
using testjpeg::PlainDecode;
using testjpeg::WithClaimedSize;
using testsupport::ErrorOf;
using testsupport::Le32;

// Records every write and checks it against the reserved size.
class MemorySink : public picture::BmpSink {
 public:
  void Reserve(uint64_t totalBytes) override {
    ++reserveCalls;
    bytes.assign(totalBytes, 0xCD);
    timesWritten.assign(totalBytes, 0);
  }
  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    ++writeCalls;
    ASSERT_EQ(reserveCalls, 1) << "write before Reserve";
    ASSERT_LE(offset + size, bytes.size()) << "write beyond the reserved size";
    std::memcpy(bytes.data() + offset, data, size);
    for (size_t i = 0; i < size; ++i) ++timesWritten[offset + i];
  }

  int reserveCalls = 0;
  int writeCalls = 0;
  Bytes bytes;
  std::vector<int> timesWritten;
};

uint16_t Le16(const Bytes& b, size_t at) {
  return picture::Le16(b.data() + at);
}

// Compares bottom-up BGR rows with libjpeg's own top-down RGB rows; reports the first
// mismatch only.
void ExpectSamePixels(const uint8_t* bgrBottomUp, size_t stride, const PlainDecode& plain) {
  for (int y = 0; y < plain.height; ++y) {
    const uint8_t* row = bgrBottomUp + static_cast<size_t>(plain.height - 1 - y) * stride;
    for (int x = 0; x < plain.width; ++x) {
      const uint8_t* rgb = &plain.rgb[(static_cast<size_t>(y) * plain.width + x) * 3];
      if (row[x * 3] != rgb[2] || row[x * 3 + 1] != rgb[1] || row[x * 3 + 2] != rgb[0]) {
        ADD_FAILURE() << "pixel " << x << "," << y << " differs";
        return;
      }
    }
    for (size_t pad = static_cast<size_t>(plain.width) * 3; pad < stride; ++pad) {
      if (row[pad] != 0) {
        ADD_FAILURE() << "row " << y << " has non-zero padding";
        return;
      }
    }
  }
}

std::string JpegErrorText(int code) {
  return platform::Format("JPEG error #%d", code);
}

TEST(JpegToBmp, WritesACompleteBottomUpBitmapOfLibjpegsPixels) {
  const EncodeOptions cases[] = {
      {.width = 37, .height = 23},
      {.width = 1, .height = 1},
      {.width = 640, .height = 480},
      {.width = 33, .height = 17, .input = JCS_GRAYSCALE},
      {.width = 50, .height = 41, .progressive = true},
  };
  for (const EncodeOptions& o : cases) {
    SCOPED_TRACE(std::to_string(o.width) + "x" + std::to_string(o.height));
    const Bytes jpeg = EncodeJpeg(o);
    MemorySink sink;
    picture::ConvertJpegToBmp(jpeg.data(), jpeg.size(), sink);

    const size_t stride = (static_cast<size_t>(o.width) * 3 + 3) & ~size_t{3};
    const size_t fileSize = 54 + stride * o.height;
    ASSERT_EQ(sink.reserveCalls, 1);
    ASSERT_EQ(sink.bytes.size(), fileSize);
    for (size_t i = 0; i < fileSize; ++i) ASSERT_EQ(sink.timesWritten[i], 1) << "byte " << i;
    // Rows go out in batches of 16 (libjpeg gives one row per call for subsampled colour):
    // a write per row costs a system call per row on a large picture.
    EXPECT_LE(sink.writeCalls, (o.height + 15) / 16 + 1);
    const Bytes& b = sink.bytes;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), fileSize);
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 14), 40u);
    EXPECT_EQ(static_cast<int32_t>(Le32(b, 18)), o.width);
    EXPECT_EQ(static_cast<int32_t>(Le32(b, 22)), o.height);
    EXPECT_EQ(Le16(b, 26), 1);
    EXPECT_EQ(Le16(b, 28), 24);
    EXPECT_EQ(Le32(b, 30), 0u);
    EXPECT_EQ(Le32(b, 34), stride * o.height);
    ExpectSamePixels(b.data() + 54, stride, DecodePlain(jpeg));
  }
}

TEST(JpegToBmp, ConvertedBitmapReadsBackAsTheDecodedPicture) {
  const Bytes jpeg = EncodeJpeg({.width = 61, .height = 45});
  MemorySink sink;
  picture::ConvertJpegToBmp(jpeg.data(), jpeg.size(), sink);
  const DecodedImage fromBmp = picture::DecodeBmp(sink.bytes.data(), sink.bytes.size());
  const DecodedImage direct = picture::DecodeJpegFull(jpeg.data(), jpeg.size());
  EXPECT_EQ(fromBmp.width, direct.width);
  EXPECT_EQ(fromBmp.height, direct.height);
  EXPECT_EQ(fromBmp.bgr, direct.bgr);
}

// The desktop's part of a picture, decoded alone (rows skipped, columns cropped), has the
// very pixels of the same part of a whole decode, also at odd places in 4:2:0 colour.
TEST(JpegToBmp, DesktopRegionHasTheWholeDecodesPixels) {
  using L = picture::DesktopLayout;
  const std::tuple<EncodeOptions, L, picture::PixelSize> cases[] = {
      {{.width = 301, .height = 203}, L::Centred, {120, 90}},
      {{.width = 301, .height = 203, .progressive = true}, L::Centred, {97, 61}},
      {{.width = 301, .height = 203}, L::Tiled, {100, 80}},
      {{.width = 120, .height = 90, .input = JCS_CMYK}, L::Centred, {50, 41}},
  };
  for (const auto& [o, layout, screen] : cases) {
    const Bytes jpeg = EncodeJpeg(o);
    const picture::JpegRegion r = picture::RegionFor(layout, o.width, o.height, screen);
    MemorySink sink;
    picture::ConvertJpegToBmp(jpeg.data(), jpeg.size(), sink, layout, screen);
    ASSERT_LT(r.width, o.width);
    ASSERT_EQ(Le32(sink.bytes, 18), static_cast<uint32_t>(r.width));
    ASSERT_EQ(Le32(sink.bytes, 22), static_cast<uint32_t>(r.height));
    const DecodedImage whole = picture::DecodeJpegFull(jpeg.data(), jpeg.size());
    for (int y = 0; y < r.height; ++y) {
      const uint8_t* got =
          sink.bytes.data() + 54 + (r.height - 1 - y) * picture::DibStride24(r.width);
      const uint8_t* want =
          whole.bgr.data() + (whole.height - 1 - r.top - y) * whole.Stride() + r.left * 3;
      ASSERT_EQ(std::memcmp(got, want, r.width * 3), 0) << static_cast<int>(layout) << " row " << y;
    }
  }
}

TEST(JpegToBmp, CmykPicturesComeOutInTheirColours) {
  // Magenta everywhere: full magenta ink, nothing else. Adobe files store the ink inverted.
  struct Case {
    const char* name;
    J_COLOR_SPACE stored;
    bool adobe;
    uint8_t c, m, y, k;
  };
  const Case cases[] = {
      {"Adobe CMYK", JCS_CMYK, true, 255, 0, 255, 255},
      {"Adobe YCCK", JCS_YCCK, true, 255, 0, 255, 255},
      {"plain CMYK", JCS_CMYK, false, 0, 255, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const uint8_t ink[] = {c.c, c.m, c.y, c.k};
    const Bytes jpeg = EncodeJpeg(
        {.width = 24, .height = 19, .input = JCS_CMYK, .stored = c.stored, .adobeMarker = c.adobe},
        [&](int, int, int component) { return ink[component]; });
    MemorySink sink;
    picture::ConvertJpegToBmp(jpeg.data(), jpeg.size(), sink);
    const DecodedImage image = picture::DecodeJpegFull(jpeg.data(), jpeg.size());
    ASSERT_EQ(image.width, 24);
    for (const uint8_t* pixel : {static_cast<const uint8_t*>(sink.bytes.data() + 54),
                                 image.bgr.data() + image.Stride() * 10 + 30}) {
      EXPECT_NEAR(pixel[0], 255, 3);  // blue
      EXPECT_NEAR(pixel[1], 0, 3);    // green
      EXPECT_NEAR(pixel[2], 255, 3);  // red
    }
  }
}

TEST(JpegToBmp, DamagedDataFailsWithLibjpegsNumber) {
  const Bytes good = EncodeJpeg({.width = 640, .height = 480});
  {
    SCOPED_TRACE("truncated");
    const Bytes truncated(good.begin(), good.begin() + good.size() / 2);
    MemorySink sink;
    EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(truncated.data(), truncated.size(), sink); }),
              JpegErrorText(JWRN_JPEG_EOF));
    // Rows may have gone out, but never the headers: the result is no valid bitmap.
    EXPECT_TRUE(sink.timesWritten.empty() || sink.timesWritten[0] == 0);
    EXPECT_EQ(ErrorOf([&] { picture::DecodeJpegFull(truncated.data(), truncated.size()); }),
              JpegErrorText(JWRN_JPEG_EOF));
  }
  {
    SCOPED_TRACE("truncated progressive");
    const Bytes progressive = EncodeJpeg({.width = 640, .height = 480, .progressive = true});
    const Bytes truncated(progressive.begin(), progressive.begin() + progressive.size() / 2);
    MemorySink sink;
    EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(truncated.data(), truncated.size(), sink); }),
              JpegErrorText(JWRN_JPEG_EOF));
    EXPECT_EQ(sink.reserveCalls, 0);  // libjpeg reads all scans before the first row
  }
  {
    SCOPED_TRACE("missing only the end marker");
    const Bytes cut(good.begin(), good.end() - 2);
    MemorySink sink;
    EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(cut.data(), cut.size(), sink); }),
              JpegErrorText(JWRN_JPEG_EOF));
  }
  {
    SCOPED_TRACE("scan cut short by the end marker");
    Bytes cut(good.begin(), good.begin() + good.size() / 2);
    cut.push_back(0xFF);
    cut.push_back(0xD9);
    MemorySink sink;
    EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(cut.data(), cut.size(), sink); }),
              JpegErrorText(JWRN_HIT_MARKER));
  }
  {
    SCOPED_TRACE("not a JPEG");
    Bytes bad = good;
    bad[1] = 0x00;
    MemorySink sink;
    EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(bad.data(), bad.size(), sink); }),
              JpegErrorText(JERR_NO_SOI));
    EXPECT_EQ(sink.reserveCalls, 0);
    EXPECT_EQ(sink.writeCalls, 0);
  }
  {
    SCOPED_TRACE("truncated header");
    MemorySink sink;
    EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(good.data(), 40, sink); }),
              JpegErrorText(JWRN_JPEG_EOF));
    EXPECT_EQ(sink.reserveCalls, 0);
    EXPECT_EQ(ErrorOf([&] { picture::ReadJpegHeader(good.data(), 40); }),
              JpegErrorText(JWRN_JPEG_EOF));
  }
  EXPECT_EQ(ErrorOf([&] { picture::ReadJpegHeader(nullptr, 0); }), JpegErrorText(JERR_INPUT_EMPTY));
}

TEST(JpegToBmp, RefusesPicturesTooBigForABitmapBeforeReserving) {
  const Bytes huge = WithClaimedSize(EncodeJpeg({.width = 16, .height = 16}), 40000, 40000);
  const picture::JpegHeader header = picture::ReadJpegHeader(huge.data(), huge.size());
  EXPECT_EQ(header.width, 40000);
  EXPECT_EQ(header.height, 40000);
  MemorySink sink;
  EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(huge.data(), huge.size(), sink); }),
            JpegErrorText(JERR_IMAGE_TOO_BIG));
  EXPECT_EQ(sink.reserveCalls, 0);
  EXPECT_EQ(ErrorOf([&] { picture::DecodeJpegFull(huge.data(), huge.size()); }),
            JpegErrorText(JERR_IMAGE_TOO_BIG));
  // Scaled down, the same picture is small enough for the preview to try.
  EXPECT_NE(ErrorOf([&] { picture::DecodeJpegForPreview(huge.data(), huge.size(), 225, 145); }),
            JpegErrorText(JERR_IMAGE_TOO_BIG));
}

TEST(JpegPreview, ProgressivePictureClaimingHugeSizeFailsWithoutBufferingIt) {
  // libjpeg buffers a progressive picture whole, even scaled: 65500 x 65500 would be
  // gigabytes of coefficients for a file of a few hundred bytes.
  const Bytes bomb =
      WithClaimedSize(EncodeJpeg({.width = 16, .height = 16, .progressive = true}), 65500, 65500);
  EXPECT_EQ(ErrorOf([&] { picture::DecodeJpegForPreview(bomb.data(), bomb.size(), 225, 145); }),
            JpegErrorText(JERR_NO_BACKING_STORE));
  // 20000 x 20000 in grey is 800 MB of coefficients, which libjpeg would take in one block.
  const Bytes grey = WithClaimedSize(
      EncodeJpeg({.width = 16, .height = 16, .input = JCS_GRAYSCALE, .progressive = true}), 20000,
      20000);
  MemorySink sink;
  EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(grey.data(), grey.size(), sink); }),
            JpegErrorText(JERR_NO_BACKING_STORE));
  EXPECT_EQ(sink.reserveCalls, 0);
}

TEST(JpegToBmp, ReadsTheHeaderOnly) {
  const Bytes gray = EncodeJpeg({.width = 33, .height = 17, .input = JCS_GRAYSCALE});
  const picture::JpegHeader h = picture::ReadJpegHeader(gray.data(), gray.size());
  EXPECT_EQ(h.width, 33);
  EXPECT_EQ(h.height, 17);
  EXPECT_EQ(h.components, 1);
  // Damaged image data does not matter until the picture is decoded.
  const Bytes rgb = EncodeJpeg({.width = 640, .height = 480});
  const Bytes truncated(rgb.begin(), rgb.begin() + rgb.size() / 2);
  EXPECT_EQ(picture::ReadJpegHeader(truncated.data(), truncated.size()).components, 3);
}

TEST(JpegToBmp, APullIsReadOnlyAsFarAsTheDecodeGoes) {
  // Same outcome as from memory: the fuzz target. Here: how far it reads, and its errors.
  const Bytes jpeg = EncodeJpeg({.width = 640, .height = 480});
  size_t read = 0;
  const auto input = [&](int failing = 0) {  // the call numbered `failing` throws
    read = 0;
    return picture::JpegInput([&, failing, calls = 0](uint8_t* into, size_t size) mutable {
      if (++calls == failing) throw std::runtime_error("Cannot open file \"x.jpg\". Gone");
      const size_t n = std::min({size, size_t{1000}, jpeg.size() - read});
      std::memcpy(into, jpeg.data() + read, n);
      read += n;
      return n;
    });
  };
  EXPECT_EQ(picture::ReadJpegHeader(input()).width, 640);
  EXPECT_LT(read, 2000u);
  MemorySink sink;
  picture::ConvertJpegToBmp(input(), sink, picture::DesktopLayout::Tiled, {100, 80});
  EXPECT_LT(read, jpeg.size() / 2);
  MemorySink failed;
  EXPECT_EQ(ErrorOf([&] { picture::ConvertJpegToBmp(input(5), failed); }),
            "Cannot open file \"x.jpg\". Gone");
  EXPECT_TRUE(failed.timesWritten.empty() || failed.timesWritten[0] == 0);
}

TEST(JpegPreview, DecodesAtTheSmallestScaleThatCoversTheFrame) {
  struct Case {
    int w, h, minW, minH;
    unsigned scale;
    int outW, outH;
  };
  const Case cases[] = {
      {640, 480, 225, 145, 3, 240, 180},                              // 2/8 would be 160 x 120
      {2000, 300, 225, 145, 4, 1000, 150}, {37, 23, 5, 5, 2, 10, 6},  // 1/8 gives 5 x 3: too low
      {100, 50, 225, 145, 8, 100, 50},  // smaller than the frame: full size
      {640, 480, 0, 0, 1, 80, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    const Bytes jpeg = EncodeJpeg({.width = c.w, .height = c.h});
    const DecodedImage image =
        picture::DecodeJpegForPreview(jpeg.data(), jpeg.size(), c.minW, c.minH);
    EXPECT_EQ(image.width, c.outW);
    EXPECT_EQ(image.height, c.outH);
    EXPECT_EQ(image.fullWidth, c.w);
    EXPECT_EQ(image.fullHeight, c.h);
    ASSERT_EQ(image.bgr.size(), image.Stride() * image.height);
    ExpectSamePixels(image.bgr.data(), image.Stride(), DecodePlain(jpeg, c.scale));
  }
}

}  // namespace

namespace {

TEST(JpegToBmp, StrayBytesBeforeAMarkerAreToleratedAsCamerasWriteThem) {
  Bytes jpeg = EncodeJpeg({.width = 40, .height = 30});
  ASSERT_GE(jpeg.size(), 2u);
  // Three stray bytes before the end-of-image marker.
  jpeg.insert(jpeg.end() - 2, {0x00, 0x12, 0x34});
  MemorySink sink;
  picture::ConvertJpegToBmp(jpeg.data(), jpeg.size(), sink);
  EXPECT_EQ(Le32(sink.bytes, 18), 40u);
  const DecodedImage image = picture::DecodeJpegFull(jpeg.data(), jpeg.size());
  EXPECT_EQ(image.width, 40);
}

}  // namespace
