// The platform-free helpers of the preview: reduction of decoded pictures, and the check
// that stands between untrusted metafile bytes and the system's player.
#include <gtest/gtest.h>

#include <cstring>

#include "Support.h"
#include "picture/MetafileCheck.h"
#include "picture/Reduction.h"
#include "platform/core/Error.h"

namespace {

using picture::ReduceImage;
using picture::ReductionFactor;

TEST(PreviewScale, FactorKeepsWhatIsShownCovered) {
  EXPECT_EQ(ReductionFactor(2000, 1000, 225, 112), 8);  // 250 x 125
  EXPECT_EQ(ReductionFactor(1600, 900, 225, 126), 7);   // 229 x 129
  EXPECT_EQ(ReductionFactor(225, 145, 225, 145), 1);
  EXPECT_EQ(ReductionFactor(100, 50, 100, 50), 1);
  EXPECT_EQ(ReductionFactor(5000, 10, 225, 0), 10);  // a zero height shown counts as one
  EXPECT_EQ(ReductionFactor(0, 0, 10, 10), 1);
}

TEST(PreviewScale, BoxFilterAveragesWholeAndPartialBlocks) {
  // 3 x 2 picture, factor 2: columns {0,1} and {2}; rows {0,1}.
  picture::DecodedImage image;
  image.width = 3;
  image.height = 2;
  image.bgr.assign(image.Stride() * 2, 0);
  const uint8_t values[2][3] = {{10, 30, 200}, {50, 70, 100}};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      for (int c = 0; c < 3; ++c) image.bgr[image.Stride() * y + x * 3 + c] = values[y][x];
    }
  }
  const picture::DecodedImage out = ReduceImage(image, 2);
  ASSERT_EQ(out.width, 2);
  ASSERT_EQ(out.height, 1);
  EXPECT_EQ(out.fullWidth, 3);
  EXPECT_EQ(out.fullHeight, 2);
  EXPECT_EQ(out.bgr.size(), out.Stride());
  EXPECT_EQ(out.bgr[0], 40);   // (10 + 30 + 50 + 70) / 4
  EXPECT_EQ(out.bgr[3], 150);  // (200 + 100) / 2
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

TEST(MetafileCheck, RecordsMustStayInsideTheFile) {
  const std::vector<uint8_t> wmf = Bytes(imagelisttest::PlaceableWmfBytes(2880, 1440));
  const picture::MetafileInfo info = picture::ParseMetafile(wmf.data(), wmf.size());
  EXPECT_TRUE(info.placeable);
  EXPECT_EQ(info.widthHmm, 5080);
  EXPECT_EQ(info.heightHmm, 2540);
  EXPECT_EQ(picture::HmmToPixels(info.widthHmm, 96), 192);

  std::vector<uint8_t> zeroUnits = wmf;
  zeroUnits[14] = zeroUnits[15] = 0;
  EXPECT_THROW(picture::ParseMetafile(zeroUnits.data(), zeroUnits.size()), platform::Error);

  // An enhanced metafile with a record of size zero would never end.
  testenv::TempDir dir;
  imagelisttest::WriteEmf(dir.File("a.emf"), 1000, 500);
  const std::vector<uint8_t> emf = Bytes(testenv::ReadFileBytes(dir.File("a.emf")));
  EXPECT_FALSE(picture::ParseMetafile(emf.data(), emf.size()).placeable);
  std::vector<uint8_t> stuck = emf;
  const uint32_t headerBytes = stuck[4] | stuck[5] << 8;
  std::memset(stuck.data() + headerBytes + 4, 0, 4);
  EXPECT_THROW(picture::ParseMetafile(stuck.data(), stuck.size()), platform::Error);
  const std::vector<uint8_t> text = Bytes(std::string(100, 'x'));
  EXPECT_THROW(picture::ParseMetafile(text.data(), text.size()), platform::Error);
}

}  // namespace
