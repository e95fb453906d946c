#pragma once
// libjpeg's own decode of a JPEG: what the program's conversions are compared with.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace testjpeg {

// Top-down RGB rows.
struct PlainDecode {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

// The picture at scale scaleNum/8.
PlainDecode DecodePlain(const uint8_t* jpeg, size_t size, unsigned scaleNum = 8);

template <class Data>
PlainDecode DecodePlain(const Data& jpeg, unsigned scaleNum = 8) {
  return DecodePlain(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size(), scaleNum);
}

}  // namespace testjpeg
