#pragma once
// The little-endian fields of the picture formats, and the one way their readers reject a
// file. Callers have checked that the bytes are there.
#include <cstdint>
#include <string>

#include "platform/core/Error.h"

namespace picture {

inline uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(Le16(p)) | static_cast<uint32_t>(Le16(p + 2)) << 16;
}

inline int32_t LeS32(const uint8_t* p) {
  return static_cast<int32_t>(Le32(p));
}

// "<kind> is not valid", the text for every malformed picture.
[[noreturn]] inline void NotValid(const char* kind) {
  throw platform::Error(std::string(kind) + " is not valid");
}

}  // namespace picture
