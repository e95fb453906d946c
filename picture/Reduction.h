#pragma once
// Reduction of decoded pictures for the preview. The preview never shows a picture larger
// than its frame, so a picture is kept only as large as what is shown needs.
#include <cstdint>
#include <vector>

#include "picture/Image.h"

namespace picture {

// The largest whole factor by which a picture of pictureW x pictureH can be divided and
// still cover shownW x shownH; 1 when it cannot be reduced.
int ReductionFactor(int pictureW, int pictureH, int shownW, int shownH);

// Averages blocks of factor x factor pixels (a box filter). The result is
// ceil(width / factor) x ceil(height / factor); partial blocks at the right and top edges
// average the pixels they have. The full size of the picture is carried over.
picture::DecodedImage ReduceImage(const picture::DecodedImage& image, int factor);

// The same reduction fed one picture row at a time, bottom row first, so that a decoder
// can reduce as it goes without holding the picture: only one output row of sums is kept.
class BoxReducer {
 public:
  BoxReducer(int width, int height, int factor);
  // The next picture row: width pixels of 24-bit BGR.
  void AddRow(const uint8_t* bgr);
  // The reduced picture, once every row has been added.
  picture::DecodedImage Take();

 private:
  int width_, height_, factor_;
  int row_ = 0;
  picture::DecodedImage out_;
  std::vector<uint64_t> sums_;
};

}  // namespace picture
