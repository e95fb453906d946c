// The JPEG readers on one input: the header, the conversion into a bitmap file (kept in
// memory and checked against the header), the same for what a small desktop shows in each
// layout, and the scaled decode of the preview, also with the input pulled in pieces.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "picture/JpegToBmp.h"
#include "picture/LittleEndian.h"

namespace {

using picture::kBmpHeaderSize;
using picture::Le32;

class MemorySink final : public picture::BmpSink {
 public:
  void Reserve(uint64_t totalBytes) override {
    FUZZ_CHECK(!reserved_ && writes_.empty());
    reserved_ = true;
    // Not zeroed: most inputs fail within the first rows, and clearing the whole bitmap
    // first would cost more than their decode. No byte is read before all were written.
    bytes_ = std::make_unique_for_overwrite<uint8_t[]>(totalBytes);
    size_ = totalBytes;
  }

  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    FUZZ_CHECK(reserved_);
    FUZZ_CHECK(offset <= size_ && size <= size_ - offset);
    if (size == 0) return;
    std::memcpy(bytes_.get() + offset, data, size);
    writes_.emplace_back(offset, size);
  }

  // Whether every byte of the file was written exactly once: the writes, in order of
  // their offsets, follow each other without gap or overlap up to the end.
  bool EachByteWrittenOnce() const {
    std::vector<std::pair<uint64_t, size_t>> writes = writes_;
    std::sort(writes.begin(), writes.end());
    uint64_t end = 0;
    for (const auto& [offset, size] : writes) {
      if (offset != end) return false;
      end += size;
    }
    return end == size_;
  }

  const uint8_t* Bytes() const { return bytes_.get(); }
  uint64_t Size() const { return size_; }

 private:
  bool reserved_ = false;
  std::unique_ptr<uint8_t[]> bytes_;
  uint64_t size_ = 0;
  std::vector<std::pair<uint64_t, size_t>> writes_;
};

int RoundUp32(int n) {
  return n > INT_MAX - 31 ? INT_MAX : (n + 31) / 32 * 32;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto header = fuzz::Try([&] { return picture::ReadJpegHeader(data, size); });
  // libjpeg works in blocks of up to 32 x 32 pixels (8 x 8 samples of a component
  // subsampled 4 times), so a picture 1 pixel wide costs as much as one 32 pixels wide.
  if (header && fuzz::TooLargeToDecode(RoundUp32(header->width), RoundUp32(header->height))) {
    return 0;
  }

  MemorySink sink;
  const bool converted = fuzz::Try([&] {
                           picture::ConvertJpegToBmp(data, size, sink);
                           return true;
                         }).has_value();
  if (converted) {
    FUZZ_CHECK(header && header->width > 0 && header->height > 0);
    FUZZ_CHECK(sink.Size() == kBmpHeaderSize + picture::DibStride24(header->width) *
                                                   static_cast<uint64_t>(header->height));
    FUZZ_CHECK(sink.EachByteWrittenOnce());
    const uint8_t* h = sink.Bytes();
    const auto expected = picture::BmpHeader24(header->width, header->height);
    FUZZ_CHECK(std::memcmp(h, expected.data(), kBmpHeaderSize) == 0);
    FUZZ_CHECK(h[0] == 'B' && h[1] == 'M' && Le32(h + 2) == sink.Size());
    FUZZ_CHECK(static_cast<int>(Le32(h + 18)) == header->width);
    FUZZ_CHECK(static_cast<int>(Le32(h + 22)) == header->height);
  }

  // What a small desktop shows of it, in a layout picked from the data: the crop, the
  // scaled decode and the shrink, with the bitmap the region says.
  if (header) {
    const uint32_t pick = fuzz::Pick(data, size);
    const auto layout = static_cast<picture::DesktopLayout>(1 + pick % 3);
    const picture::PixelSize screen{1 + static_cast<int>(pick >> 8 & 63),
                                    1 + static_cast<int>(pick >> 16 & 63)};
    MemorySink part;
    const bool made = fuzz::Try([&] {
                        picture::ConvertJpegToBmp(data, size, part, layout, screen);
                        return true;
                      }).has_value();
    if (made) {
      const picture::PixelSize want =
          picture::BitmapSizeOf(picture::RegionFor(layout, header->width, header->height, screen));
      FUZZ_CHECK(part.EachByteWrittenOnce());
      FUZZ_CHECK(static_cast<int>(Le32(part.Bytes() + 18)) == want.width);
      FUZZ_CHECK(static_cast<int>(Le32(part.Bytes() + 22)) == want.height);
    }
  }

  // A frame that asks for scale n/8 of the picture, n taken from the data so that each
  // input is repeatable; n = 9 asks for more than the picture, which is then decoded at
  // full size.
  const int n = header ? 1 + static_cast<int>(fuzz::Pick(data, size) % 9) : 8;
  const int minWidth = header ? (header->width * n + 7) / 8 : 1;
  const int minHeight = header ? (header->height * n + 7) / 8 : 1;
  const auto preview =
      fuzz::Try([&] { return picture::DecodeJpegForPreview(data, size, minWidth, minHeight); });
  // Asked for full size, the preview decodes as the conversion does: it must fail or
  // succeed as the conversion did, with the same pixels. (Below 8 pixels a side, a
  // scaled decode can have the full size too, with other pixels.)
  if (n >= 8 && header && (header->width >= 8 || header->height >= 8)) {
    FUZZ_CHECK(preview.has_value() == converted);
    if (converted) {
      FUZZ_CHECK(preview->width == header->width && preview->height == header->height);
      FUZZ_CHECK(preview->bgr.size() == sink.Size() - kBmpHeaderSize);
      FUZZ_CHECK(std::memcmp(preview->bgr.data(), sink.Bytes() + kBmpHeaderSize,
                             preview->bgr.size()) == 0);
    }
  }
  // Pulled in small pieces, as a file is read, the decode ends the same way.
  size_t at = 0;
  const size_t piece = 1 + fuzz::Pick(data, size) % 97;
  const auto pulled = fuzz::Try([&] {
    return picture::DecodeJpegForPreview(picture::JpegInput([&](uint8_t* into, size_t room) {
                                           const size_t n = std::min({room, piece, size - at});
                                           if (n > 0) std::memcpy(into, data + at, n);
                                           at += n;
                                           return n;
                                         }),
                                         minWidth, minHeight);
  });
  FUZZ_CHECK(pulled.has_value() == preview.has_value());
  if (!preview) return 0;
  FUZZ_CHECK(pulled->bgr == preview->bgr);
  FUZZ_CHECK(header && preview->fullWidth == header->width &&
             preview->fullHeight == header->height);
  FUZZ_CHECK(preview->width > 0 && preview->width <= preview->fullWidth);
  FUZZ_CHECK(preview->height > 0 && preview->height <= preview->fullHeight);
  FUZZ_CHECK((preview->width >= minWidth && preview->height >= minHeight) ||
             (preview->width == preview->fullWidth && preview->height == preview->fullHeight));
  FUZZ_CHECK(preview->bgr.size() == preview->Stride() * static_cast<size_t>(preview->height));
  return 0;
}
