#include "imagelist/core/PreviewScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace imagelist {

int ReductionFactor(int pictureW, int pictureH, int shownW, int shownH) {
  if (pictureW <= 0 || pictureH <= 0) return 1;
  const int byWidth = pictureW / std::max(shownW, 1);
  const int byHeight = pictureH / std::max(shownH, 1);
  return std::max(1, std::min(byWidth, byHeight));
}

ui::DecodedImage ReduceImage(const ui::DecodedImage& image, int factor) {
  if (factor <= 1 || image.width <= 0 || image.height <= 0) return image;
  ui::DecodedImage out;
  out.width = (image.width + factor - 1) / factor;
  out.height = (image.height + factor - 1) / factor;
  out.fullWidth = image.fullWidth ? image.fullWidth : image.width;
  out.fullHeight = image.fullHeight ? image.fullHeight : image.height;
  out.bgr.assign(out.Stride() * static_cast<size_t>(out.height), 0);

  const size_t inStride = image.Stride();
  const size_t outStride = out.Stride();
  // Sums of one output row; a block holds at most 2^31 / 255 pixels only for absurd
  // factors, so 64-bit sums keep every case exact.
  std::vector<uint64_t> sums(static_cast<size_t>(out.width) * 3);
  for (int oy = 0; oy < out.height; ++oy) {
    std::fill(sums.begin(), sums.end(), 0);
    const int y0 = oy * factor;
    const int y1 = std::min(image.height, y0 + factor);
    for (int y = y0; y < y1; ++y) {
      const uint8_t* row = image.bgr.data() + inStride * static_cast<size_t>(y);
      for (int x = 0; x < image.width; ++x) {
        uint64_t* s = &sums[static_cast<size_t>(x / factor) * 3];
        s[0] += row[x * 3];
        s[1] += row[x * 3 + 1];
        s[2] += row[x * 3 + 2];
      }
    }
    uint8_t* dst = out.bgr.data() + outStride * static_cast<size_t>(oy);
    for (int ox = 0; ox < out.width; ++ox) {
      const int x0 = ox * factor;
      const uint64_t count =
          static_cast<uint64_t>(std::min(image.width, x0 + factor) - x0) * (y1 - y0);
      for (int c = 0; c < 3; ++c) {
        dst[ox * 3 + c] =
            static_cast<uint8_t>((sums[static_cast<size_t>(ox) * 3 + c] + count / 2) / count);
      }
    }
  }
  return out;
}

}  // namespace imagelist
