// The JPEG readers on one input: the header, the conversion into a bitmap file (kept in
// memory and checked against the header), and the scaled decode of the preview.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "wallpaper/core/JpegToBmp.h"

namespace {

using wallpaper::kBmpHeaderSize;

// Bitmaps up to this size are kept whole, so that every byte's writes can be counted;
// for larger ones (a small file may declare a huge picture) only the bounds are checked.
constexpr uint64_t kKeptBytes = uint64_t{16} << 20;

class MemorySink final : public wallpaper::BmpSink {
 public:
  void Reserve(uint64_t totalBytes) override {
    FUZZ_CHECK(reserves_ == 0 && written_ == 0);
    ++reserves_;
    total_ = totalBytes;
    if (totalBytes <= kKeptBytes) {
      bytes_.assign(totalBytes, 0);
      writes_.assign(totalBytes, 0);
    }
  }

  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    FUZZ_CHECK(reserves_ == 1);
    FUZZ_CHECK(offset <= total_ && size <= total_ - offset);
    written_ += size;
    if (!bytes_.empty()) {
      std::memcpy(bytes_.data() + offset, data, size);
      for (size_t i = 0; i < size; ++i) FUZZ_CHECK(++writes_[offset + i] == 1);
    } else if (offset == 0 && size >= kBmpHeaderSize) {
      header_.assign(static_cast<const uint8_t*>(data),
                     static_cast<const uint8_t*>(data) + kBmpHeaderSize);
    }
  }

  bool Kept() const { return !bytes_.empty(); }
  uint64_t Total() const { return total_; }
  uint64_t Written() const { return written_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  const uint8_t* Header() const { return Kept() ? bytes_.data() : header_.data(); }

 private:
  int reserves_ = 0;
  uint64_t total_ = 0;
  uint64_t written_ = 0;
  std::vector<uint8_t> bytes_;
  std::vector<uint8_t> writes_;  // per byte of bytes_
  std::vector<uint8_t> header_;
};

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto header = fuzz::Try([&] { return wallpaper::ReadJpegHeader(data, size); });

  MemorySink sink;
  const bool converted = fuzz::Try([&] {
                           wallpaper::ConvertJpegToBmp(data, size, sink);
                           return true;
                         }).has_value();
  if (converted) {
    FUZZ_CHECK(header && header->width > 0 && header->height > 0);
    FUZZ_CHECK(sink.Total() == kBmpHeaderSize + ui::DibStride24(header->width) *
                                                    static_cast<uint64_t>(header->height));
    FUZZ_CHECK(sink.Written() == sink.Total());
    const uint8_t* h = sink.Header();
    const auto expected = wallpaper::BmpHeader24(header->width, header->height);
    FUZZ_CHECK(std::memcmp(h, expected.data(), kBmpHeaderSize) == 0);
    FUZZ_CHECK(h[0] == 'B' && h[1] == 'M' && Le32(h + 2) == sink.Total());
    FUZZ_CHECK(static_cast<int>(Le32(h + 18)) == header->width);
    FUZZ_CHECK(static_cast<int>(Le32(h + 22)) == header->height);
  }

  // Frame sizes taken from the data, so that each input is repeatable: small ones make
  // libjpeg scale down, large ones decode at full size.
  const int minWidth = 1 + static_cast<int>(size % 193);
  const int minHeight = 1 + static_cast<int>(size / 193 % 151);
  const auto preview =
      fuzz::Try([&] { return wallpaper::DecodeJpegForPreview(data, size, minWidth, minHeight); });
  if (!preview) return 0;
  FUZZ_CHECK(header && preview->fullWidth == header->width &&
             preview->fullHeight == header->height);
  FUZZ_CHECK(preview->width > 0 && preview->width <= preview->fullWidth);
  FUZZ_CHECK(preview->height > 0 && preview->height <= preview->fullHeight);
  FUZZ_CHECK((preview->width >= minWidth && preview->height >= minHeight) ||
             (preview->width == preview->fullWidth && preview->height == preview->fullHeight));
  FUZZ_CHECK(preview->bgr.size() == preview->Stride() * static_cast<size_t>(preview->height));
  // At full size both decodes must give the same pixels. (Below 8 pixels a side, a
  // scaled decode can have the full size too, with other pixels.)
  if (converted && sink.Kept() && preview->width == preview->fullWidth &&
      preview->height == preview->fullHeight &&
      (preview->fullWidth >= 8 || preview->fullHeight >= 8)) {
    FUZZ_CHECK(preview->bgr.size() == sink.Bytes().size() - kBmpHeaderSize);
    FUZZ_CHECK(std::memcmp(preview->bgr.data(), sink.Bytes().data() + kBmpHeaderSize,
                           preview->bgr.size()) == 0);
  }
  return 0;
}
