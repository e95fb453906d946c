// The bitmap reader, followed by the reduction the preview applies to what it read; the
// preview's own path (reducing while decoding) must give the same pixels and failures.
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "picture/BmpDecode.h"
#include "picture/Reduction.h"

namespace {

// The reduced decode against decode-then-reduce at one factor: the same pixels, or the
// same failure when the full decode failed.
void CheckReducedDecode(const uint8_t* data, size_t size, const picture::DecodedImage* image,
                        int factor) {
  if (!image) {
    FUZZ_CHECK(!fuzz::Try([&] { return picture::DecodeBmpReduced(data, size, factor); }));
    return;
  }
  const picture::DecodedImage reduced = picture::ReduceImage(*image, factor);
  FUZZ_CHECK(reduced.width == (image->width + factor - 1) / factor);
  FUZZ_CHECK(reduced.height == (image->height + factor - 1) / factor);
  FUZZ_CHECK(reduced.fullWidth == image->width && reduced.fullHeight == image->height);
  FUZZ_CHECK(reduced.bgr.size() == reduced.Stride() * static_cast<size_t>(reduced.height));
  // Not under fuzz::Try: once the full decode succeeded, any failure here is a finding.
  const picture::DecodedImage streamed = picture::DecodeBmpReduced(data, size, factor);
  FUZZ_CHECK(streamed.width == reduced.width && streamed.height == reduced.height);
  FUZZ_CHECK(streamed.fullWidth == image->width && streamed.fullHeight == image->height);
  FUZZ_CHECK(streamed.bgr == reduced.bgr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto header = fuzz::Try([&] { return picture::ReadBmpSize(data, size); });
  if (header && fuzz::TooLargeToDecode(header->width, header->height)) return 0;

  const auto image = fuzz::Try([&] { return picture::DecodeBmp(data, size); });
  if (image) {
    FUZZ_CHECK(header && header->width == image->width && header->height == image->height);
    FUZZ_CHECK(image->width > 0 && image->height > 0);
    FUZZ_CHECK(image->fullWidth == image->width && image->fullHeight == image->height);
    FUZZ_CHECK(image->bgr.size() == image->Stride() * static_cast<size_t>(image->height));
  }

  // One factor per input, from 2 to 9, taken from the data so that each input is
  // repeatable.
  const int factor = 2 + static_cast<int>(fuzz::Pick(data, size) % 8);
  CheckReducedDecode(data, size, image ? &*image : nullptr, factor);
  return 0;
}
