#pragma once
// Small checks shared by the test folders, free of the platform so the native core tests
// use them too.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "picture/LittleEndian.h"

namespace testsupport {

// What ErrorOf gives when the call raised nothing.
inline constexpr char kNoError[] = "<no error>";

// The text of the exception f raises, as the error box would show it; kNoError when f
// returns.
inline std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return kNoError;
}

// The little-endian 32-bit field at `at` of file bytes held in a string or a byte vector.
template <class Data>
uint32_t Le32(const Data& b, size_t at) {
  return picture::Le32(reinterpret_cast<const uint8_t*>(b.data()) + at);
}

}  // namespace testsupport
