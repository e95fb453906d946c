#include "picture/Reduction.h"

#include <algorithm>
#include <utility>
#include <cstdint>
#include <vector>

namespace picture {

int ReductionFactor(int pictureW, int pictureH, int shownW, int shownH) {
  if (pictureW <= 0 || pictureH <= 0) return 1;
  const int byWidth = pictureW / std::max(shownW, 1);
  const int byHeight = pictureH / std::max(shownH, 1);
  return std::max(1, std::min(byWidth, byHeight));
}

picture::DecodedImage ReduceImage(const picture::DecodedImage& image, int factor) {
  if (factor <= 1 || image.width <= 0 || image.height <= 0) return image;
  BoxReducer reducer(image.width, image.height, factor);
  const size_t stride = image.Stride();
  for (int y = 0; y < image.height; ++y) reducer.AddRow(image.bgr.data() + stride * y);
  picture::DecodedImage out = reducer.Take();
  out.fullWidth = image.fullWidth ? image.fullWidth : image.width;
  out.fullHeight = image.fullHeight ? image.fullHeight : image.height;
  return out;
}

BoxReducer::BoxReducer(int width, int height, int factor)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), factor_(std::max(factor, 1)) {
  out_.width = (width_ + factor_ - 1) / factor_;
  out_.height = (height_ + factor_ - 1) / factor_;
  out_.fullWidth = width_;
  out_.fullHeight = height_;
  out_.bgr.assign(out_.Stride() * static_cast<size_t>(out_.height), 0);
  // 64-bit sums: a block holds up to factor^2 pixels, and the factor is not bounded here.
  sums_.assign(static_cast<size_t>(out_.width) * 3, 0);
}

void BoxReducer::AddRow(const uint8_t* bgr) {
  if (row_ >= height_) return;
  const uint8_t* p = bgr;
  for (int ox = 0; ox < out_.width; ++ox) {
    const int x1 = std::min(width_, (ox + 1) * factor_);
    uint64_t b = 0, g = 0, r = 0;
    for (int x = ox * factor_; x < x1; ++x, p += 3) {
      b += p[0];
      g += p[1];
      r += p[2];
    }
    uint64_t* s = &sums_[static_cast<size_t>(ox) * 3];
    s[0] += b;
    s[1] += g;
    s[2] += r;
  }
  ++row_;
  if (row_ % factor_ != 0 && row_ != height_) return;

  // A block row is complete (the top one may be partial): average and start over.
  const int oy = (row_ - 1) / factor_;
  const int rows = row_ - oy * factor_;
  uint8_t* dst = out_.bgr.data() + out_.Stride() * static_cast<size_t>(oy);
  for (int ox = 0; ox < out_.width; ++ox) {
    const int x0 = ox * factor_;
    const uint64_t count = static_cast<uint64_t>(std::min(width_, x0 + factor_) - x0) * rows;
    for (int c = 0; c < 3; ++c) {
      uint64_t& sum = sums_[static_cast<size_t>(ox) * 3 + c];
      dst[ox * 3 + c] = static_cast<uint8_t>((sum + count / 2) / count);
      sum = 0;
    }
  }
}

picture::DecodedImage BoxReducer::Take() {
  return std::move(out_);
}

AreaReducer::AreaReducer(int srcWidth, int srcHeight, int dstWidth, int dstHeight, Emit emit)
    : dstWidth_(dstWidth),
      srcWidth_(static_cast<uint64_t>(srcWidth)),
      srcHeight_(static_cast<uint64_t>(srcHeight)),
      dstHeight_(static_cast<uint64_t>(dstHeight)),
      across_(static_cast<size_t>(dstWidth) * 3, 0),
      sums_(static_cast<size_t>(dstWidth) * 3, 0),
      out_(static_cast<size_t>(dstWidth) * 3, 0),
      emit_(std::move(emit)) {
  // Across, in units of 1/dstWidth of a source pixel: source pixel i spans
  // [i * dstWidth, (i + 1) * dstWidth), output pixel x spans [x * srcWidth, (x + 1) * srcWidth).
  const int64_t sw = srcWidth, dw = dstWidth;
  tapStart_.reserve(static_cast<size_t>(dstWidth) + 1);
  for (int64_t x = 0; x < dw; ++x) {
    tapStart_.push_back(taps_.size());
    const int64_t begin = x * sw, end = (x + 1) * sw;
    for (int64_t i = begin / dw; i < sw && i * dw < end; ++i) {
      const int64_t part = std::min((i + 1) * dw, end) - std::max(i * dw, begin);
      if (part > 0) taps_.push_back({static_cast<int>(i * 3), static_cast<uint32_t>(part)});
    }
  }
  tapStart_.push_back(taps_.size());
}

void AreaReducer::AddRow(const uint8_t* bgr) {
  for (int x = 0; x < dstWidth_; ++x) {
    uint64_t b = 0, g = 0, r = 0;
    for (size_t t = tapStart_[x]; t < tapStart_[x + 1]; ++t) {
      const uint8_t* p = bgr + taps_[t].source;
      b += uint64_t{p[0]} * taps_[t].weight;
      g += uint64_t{p[1]} * taps_[t].weight;
      r += uint64_t{p[2]} * taps_[t].weight;
    }
    uint64_t* across = &across_[static_cast<size_t>(x) * 3];
    across[0] = b;
    across[1] = g;
    across[2] = r;
  }
  // Down, in units of 1/dstHeight of a source row: this row spans [from, at_), output row
  // y spans [y * srcHeight, (y + 1) * srcHeight).
  uint64_t from = at_;
  at_ += dstHeight_;
  while (from < at_ && outRow_ < static_cast<int>(dstHeight_)) {
    const uint64_t rowEnd = static_cast<uint64_t>(outRow_ + 1) * srcHeight_;
    const uint64_t part = std::min(at_, rowEnd) - from;
    for (size_t i = 0; i < sums_.size(); ++i) sums_[i] += across_[i] * part;
    from += part;
    if (from < rowEnd) break;
    // Every output pixel holds srcWidth x srcHeight units of weight.
    const uint64_t total = srcWidth_ * srcHeight_;
    for (size_t i = 0; i < sums_.size(); ++i) {
      out_[i] = static_cast<uint8_t>((sums_[i] + total / 2) / total);
      sums_[i] = 0;
    }
    emit_(outRow_++, out_.data());
  }
}

}  // namespace picture
