// The bitmap reader, followed by the reduction the preview applies to what it read; the
// preview's own path (reducing while decoding) must give the same pixels and failures.
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "imagelist/core/BmpDecode.h"
#include "imagelist/core/PreviewScale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto image = fuzz::Try([&] { return imagelist::DecodeBmp(data, size); });
  if (!image) {
    FUZZ_CHECK(!fuzz::Try([&] { return imagelist::DecodeBmpReduced(data, size, 2); }));
    return 0;
  }
  const auto header = fuzz::Try([&] { return imagelist::ReadBmpSize(data, size); });
  FUZZ_CHECK(header && header->width == image->width && header->height == image->height);
  FUZZ_CHECK(image->width > 0 && image->height > 0);
  FUZZ_CHECK(image->fullWidth == image->width && image->fullHeight == image->height);
  FUZZ_CHECK(image->bgr.size() == image->Stride() * static_cast<size_t>(image->height));

  // A preview frame of a few sizes, taken from the data so that each input is repeatable.
  const int shownW = 16 + static_cast<int>(size % 97);
  const int shownH = 12 + static_cast<int>(size / 97 % 89);
  const int factor = imagelist::ReductionFactor(image->width, image->height, shownW, shownH);
  FUZZ_CHECK(factor >= 1);
  if (factor == 1) return 0;  // shown as read
  const ui::DecodedImage reduced = imagelist::ReduceImage(*image, factor);
  FUZZ_CHECK(reduced.width == (image->width + factor - 1) / factor);
  FUZZ_CHECK(reduced.height == (image->height + factor - 1) / factor);
  FUZZ_CHECK(reduced.fullWidth == image->width && reduced.fullHeight == image->height);
  FUZZ_CHECK(reduced.bgr.size() == reduced.Stride() * static_cast<size_t>(reduced.height));
  const ui::DecodedImage streamed = imagelist::DecodeBmpReduced(data, size, factor);
  FUZZ_CHECK(streamed.width == reduced.width && streamed.height == reduced.height);
  FUZZ_CHECK(streamed.bgr == reduced.bgr);
  return 0;
}
