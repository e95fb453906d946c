// The icon file checks in the order the preview runs them: the directory, then the image
// of the entry it picked, before the system's icon reader is given those bytes.
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "picture/BmpDecode.h"
#include "picture/IconImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto entry = fuzz::Try([&] { return picture::PickIconEntry(data, size); });
  if (!entry) return 0;
  const size_t count = data[4] | data[5] << 8;
  FUZZ_CHECK(entry->width >= 1 && entry->width <= 256);
  FUZZ_CHECK(entry->height >= 1 && entry->height <= 256);
  FUZZ_CHECK(entry->size > 0 && entry->offset >= 6 + 16 * count);
  FUZZ_CHECK(entry->offset <= size && entry->size <= size - entry->offset);
  fuzz::Try([&] {
    picture::CheckIconImage(data + entry->offset, entry->size);
    return true;
  });
  return 0;
}
