#pragma once
// Reduction of decoded pictures for the preview. The preview never shows a picture larger
// than its frame, so a picture is kept only as large as what is shown needs.
#include <cstdint>
#include <functional>
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

// Shrinks a picture of srcWidth x srcHeight to dstWidth x dstHeight (each no larger) by
// area averaging, whatever the ratio: each output pixel is the mean of the source area it
// covers, a pixel it covers in part weighted by that part. Rows go in from the top; each
// output row goes to `emit` (its index from the top, dstWidth pixels of 24-bit BGR) as
// soon as the rows under it are in. One output row of sums is kept, never the picture.
class AreaReducer {
 public:
  using Emit = std::function<void(int row, const uint8_t* bgr)>;
  AreaReducer(int srcWidth, int srcHeight, int dstWidth, int dstHeight, Emit emit);
  void AddRow(const uint8_t* bgr);

 private:
  struct Tap {
    int source;       // first byte of the source pixel
    uint32_t weight;  // its share of the output pixel, of srcWidth in all
  };
  int dstWidth_;
  uint64_t srcWidth_, srcHeight_, dstHeight_;
  uint64_t at_ = 0;  // how far down the rows in are, in 1/dstHeight of a source row
  int outRow_ = 0;
  std::vector<Tap> taps_;
  std::vector<size_t> tapStart_;  // the taps of output pixel x: tapStart_[x] .. [x + 1]
  std::vector<uint64_t> across_;  // the row going in, summed across for each output pixel
  std::vector<uint64_t> sums_;    // the output row so far, 3 per pixel
  std::vector<uint8_t> out_;
  Emit emit_;
};

}  // namespace picture
