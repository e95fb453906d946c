#pragma once
// What the fuzz targets share: a check that stops the run with a message (libFuzzer keeps
// the input that failed it), the one outcome that bad data may have, and the bounds that
// keep each run small.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/core/Error.h"

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

namespace fuzz {

// The readers refuse bad data with platform::Error; any other exception escapes to libFuzzer,
// which reports it as a crash.
template <class Read>
auto Try(Read&& read) -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const platform::Error&) {
    return std::nullopt;
  }
}

// A few hundred bytes can claim a picture of any size, which the readers then decode (or
// buffer, for progressive JPEG data) in full: seconds and hundreds of megabytes per run.
// The picture targets stop after the header past this size, so that every run stays
// small; the readers' own refusals of large pictures are unit-tested instead.
inline constexpr uint64_t kMaxPixels = uint64_t{1} << 16;

inline bool TooLargeToDecode(int width, int height) {
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels;
}

// A number from every byte of the input, for choices that must be repeatable per input
// and that a mutation anywhere can change.
inline uint32_t Pick(const uint8_t* data, size_t size) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

}  // namespace fuzz
