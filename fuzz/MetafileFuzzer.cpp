// The metafile check that guards the system's metafile players.
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "picture/MetafileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto info = fuzz::Try([&] { return picture::ParseMetafile(data, size); });
  if (!info) return 0;
  FUZZ_CHECK(info->bodyOffset <= size && info->bodySize <= size - info->bodyOffset);
  FUZZ_CHECK(info->widthHmm > 0 && info->heightHmm > 0);
  for (const int dpi : {96, 144}) {
    FUZZ_CHECK(picture::HmmToPixels(info->widthHmm, dpi) >= 0);
    FUZZ_CHECK(picture::HmmToPixels(info->heightHmm, dpi) >= 0);
  }
  return 0;
}
