#include "picture/JpegToBmp.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "picture/Reduction.h"
#include "platform/core/Error.h"

namespace picture {

namespace {

constexpr uint64_t kMaxBmpFileSize = 0xFFFFFFFFu;
constexpr int kBatchRows = 16;
// Progressive pictures are buffered whole by libjpeg (2 bytes per coefficient), even when
// decoded scaled down. A tiny file may claim 65500 x 65500 pixels; beyond this libjpeg
// fails with "no backing store" instead of committing gigabytes. libjpeg may take all of
// it in one block, so it stays well below a gigabyte; it still holds about 90 megapixels
// of 4:4:4 colour.
constexpr long kMaxLibjpegMemory = 512L << 20;

[[noreturn]] void ThrowJpegError(int code) {
  throw platform::Error(platform::Format("JPEG error #%d", code));
}

struct ErrorManager {
  jpeg_error_mgr pub;  // first: libjpeg hands back a pointer to it
  std::jmp_buf jump;
  int code;
};

void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->code = err->pub.msg_code;
  std::longjmp(err->jump, 1);
}

// A warning is libjpeg guessing over damaged data (a truncated file, a bad Huffman code):
// decoding would go on and produce a grey or smeared picture. Damaged data must fail.
// A few warnings only describe harmless oddities of real cameras' and editors' files;
// failing on them would make the scheduler drop good pictures from the list.
bool IsHarmlessWarning(int code) {
  switch (code) {
    case JWRN_EXTRANEOUS_DATA:  // stray bytes before a marker
    case JWRN_JFIF_MAJOR:       // a newer JFIF revision
    case JWRN_ADOBE_XFORM:      // an unknown Adobe transform value
    case JWRN_BOGUS_ICC:        // a damaged colour profile (not used here)
      return true;
    default:
      return false;
  }
}

void EmitMessage(j_common_ptr cinfo, int msgLevel) {
  if (msgLevel < 0 && !IsHarmlessWarning(cinfo->err->msg_code)) ErrorExit(cinfo);
}

// libjpeg's default prints to stderr; a GUI program has nowhere to print.
void OutputMessage(j_common_ptr) {}

// libjpeg's source for a pull: one small buffer, refilled as libjpeg asks for more.
struct PullSource {
  jpeg_source_mgr pub{};  // first: libjpeg hands back a pointer to it
  const JpegPull* pull = nullptr;
  std::vector<uint8_t> buffer;
  std::exception_ptr failure;  // what the pull threw; rethrown once libjpeg is left
  bool started = false;
};

constexpr size_t kPullBytes = 64 * 1024;

boolean FillFromPull(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<PullSource*>(cinfo->src);
  size_t got = 0;
  try {
    got = (*src->pull)(src->buffer.data(), src->buffer.size());
  } catch (...) {
    src->failure = std::current_exception();
  }
  // No exception may pass libjpeg's frames; the error exit's jump takes it past them.
  if (src->failure) ERREXIT(cinfo, JERR_FILE_READ);
  // An empty file fails as empty bytes in memory do.
  if (got == 0 && !src->started) ERREXIT(cinfo, JERR_INPUT_EMPTY);
  src->started = true;
  if (got == 0) {
    // As libjpeg's own sources do: a made-up end of image after a warning, and the
    // warning fails the decode, since a truncated file is damaged data.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    got = 2;
  }
  src->pub.next_input_byte = src->buffer.data();
  src->pub.bytes_in_buffer = got;
  return TRUE;
}

void SkipFromPull(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* src = cinfo->src;
  while (count > static_cast<long>(src->bytes_in_buffer)) {
    count -= static_cast<long>(src->bytes_in_buffer);
    FillFromPull(cinfo);
  }
  if (count > 0) {
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
  }
}

void NoSourceStep(j_decompress_ptr) {}

// One decompression. libjpeg's objects are released by the destructor whatever happened.
struct Decompressor {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  PullSource source;

  Decompressor() {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
  }
  // Safe also when jpeg_create_decompress never ran or failed: the zeroed struct has no
  // memory manager, and jpeg_destroy then does nothing.
  ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  [[noreturn]] void Fail() const {
    if (source.failure) std::rethrow_exception(source.failure);
    ThrowJpegError(err.code);
  }
};

// Runs step(context) with libjpeg's error exit pointing back here. libjpeg reports errors
// by a longjmp, skipping the step's frames, so a step must keep no object with a
// destructor alive while it calls libjpeg; this frame holds none either, which is what
// makes the jump safe (and MSVC's warning about it moot here alone). Exceptions thrown by
// the step's own C++ code (a sink's write) pass through as usual. False when libjpeg failed.
#ifdef _MSC_VER
#pragma warning(push)
#pragma warning(disable : 4611)
#endif
[[nodiscard]] bool CallGuarded(std::jmp_buf& jump, void (*step)(void*), void* context) {
  if (setjmp(jump) != 0) return false;
  step(context);
  return true;
}
#ifdef _MSC_VER
#pragma warning(pop)
#endif

template <class Step>
[[nodiscard]] bool RunGuarded(Decompressor& d, Step& step) {
  return CallGuarded(
      d.err.jump, [](void* s) { (*static_cast<Step*>(s))(); }, &step);
}

template <class Step>
void Run(Decompressor& d, Step&& step) {
  if (!RunGuarded(d, step)) d.Fail();
}

void Open(Decompressor& d, const JpegInput& input) {
  // jpeg_mem_src takes an unsigned long, which is 32 bits on Windows.
  if (!input.pull && input.size > ULONG_MAX) ThrowJpegError(JERR_IMAGE_TOO_BIG);
  PullSource& src = d.source;
  if (input.pull) {
    src.pull = &input.pull;
    src.buffer.resize(kPullBytes);
    src.pub.init_source = NoSourceStep;
    src.pub.fill_input_buffer = FillFromPull;
    src.pub.skip_input_data = SkipFromPull;
    src.pub.resync_to_restart = jpeg_resync_to_restart;
    src.pub.term_source = NoSourceStep;
  }
  Run(d, [&] {
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
    if (input.pull) {
      d.cinfo.src = &src.pub;
    } else {
      jpeg_mem_src(&d.cinfo, input.data, static_cast<unsigned long>(input.size));
    }
    jpeg_read_header(&d.cinfo, TRUE);
  });
}

// Rows per jpeg_read_scanlines call: at least what libjpeg needs for one call.
int BatchRows(const jpeg_decompress_struct& cinfo) {
  return std::max(kBatchRows, cinfo.rec_outbuf_height);
}

bool IsCmyk(const jpeg_decompress_struct& cinfo) {
  return cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
}

// Chooses the output colour space and scale and computes the output size.
void SetUpOutput(Decompressor& d, unsigned scaleNum) {
  Run(d, [&] {
    d.cinfo.out_color_space = IsCmyk(d.cinfo) ? JCS_CMYK : JCS_EXT_BGR;
    d.cinfo.scale_num = scaleNum;
    d.cinfo.scale_denom = 8;
    jpeg_calc_output_dimensions(&d.cinfo);
  });
}

// Pictures whose 24-bit bitmap would not fit the format's 32-bit size fields are refused
// for every use, so that anything decoded can also be installed as wallpaper.
void CheckBitmapSize(uint64_t w, uint64_t h) {
  if (w == 0 || h == 0 || w > INT_MAX || h > INT_MAX ||
      kBmpHeaderSize + picture::DibStride24(static_cast<int>(w)) * h > kMaxBmpFileSize) {
    ThrowJpegError(JERR_IMAGE_TOO_BIG);
  }
}

void CheckOutputSize(const jpeg_decompress_struct& cinfo) {
  CheckBitmapSize(cinfo.output_width, cinfo.output_height);
}

// Adobe applications write CMYK inverted (255 = no ink), which libjpeg marks by the Adobe
// marker; other CMYK files store the ink amount.
void CmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, int width, bool inverted) {
  const unsigned flip = inverted ? 0 : 255;
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const unsigned c = cmyk[0] ^ flip, m = cmyk[1] ^ flip, y = cmyk[2] ^ flip, k = cmyk[3] ^ flip;
    bgr[0] = static_cast<uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<uint8_t>((c * k + 127) / 255);
  }
}

// Where decoded 24-bit rows go. Rows are handed out in batches: Row(first, i) is the
// buffer for picture row first + i (counted from the top); Flush says that `count` rows
// from `first` are complete.
class RowTarget {
 public:
  virtual uint8_t* Row(int first, int i) = 0;
  virtual void Flush(int first, int count) = 0;

 protected:
  ~RowTarget() = default;
};

// Starts decompression: a progressive picture is read whole here, so most damaged files
// fail before anything is allocated for the output or reserved in a sink.
void Start(Decompressor& d) {
  Run(d, [&] { jpeg_start_decompress(&d.cinfo); });
}

// The rows and columns of the (scaled) output that go to the target: `count` rows from
// `top`, and from each decoded row `width` columns after the first `skip` columns.
struct Window {
  int top = 0, count = 0, skip = 0, width = 0;
};

// All of the output of a started decompression.
Window WholeOutput(const jpeg_decompress_struct& cinfo) {
  return {0, static_cast<int>(cinfo.output_height), 0, static_cast<int>(cinfo.output_width)};
}

// Decodes the window's rows of a started decompression into `target`, row 0 being the
// window's top row. Rows above and below it are skipped, not decoded. The scratch buffers
// are made here, outside the guarded step, because the step may be left by a longjmp.
void DecodeRows(Decompressor& d, RowTarget& target, const Window& w) {
  const int decodedWidth = static_cast<int>(d.cinfo.output_width);
  const bool cmyk = d.cinfo.out_color_space == JCS_CMYK;
  const bool inverted = d.cinfo.saw_Adobe_marker;
  const size_t pixelBytes = cmyk ? 4 : 3;
  // Straight into the target when each decoded row is exactly a target row.
  const bool direct = !cmyk && w.skip == 0 && w.width == decodedWidth;
  const int batch = BatchRows(d.cinfo);
  const size_t scratchStride = static_cast<size_t>(decodedWidth) * pixelBytes;
  std::vector<uint8_t> scratch(direct ? 0 : static_cast<size_t>(batch) * scratchStride);
  std::vector<JSAMPROW> rows(static_cast<size_t>(batch));

  Run(d, [&] {
    if (w.top > 0) jpeg_skip_scanlines(&d.cinfo, static_cast<JDIMENSION>(w.top));
    int done = 0;
    while (done < w.count) {
      const int wanted = std::min(batch, w.count - done);
      for (int i = 0; i < wanted; ++i) {
        rows[i] = direct ? target.Row(done, i) : scratch.data() + i * scratchStride;
      }
      // libjpeg hands out as few rows per call as its upsampling produces (one, for the
      // usual 2x2 chroma subsampling); the batch is filled before it goes to the target,
      // or every row would be a write of its own.
      int got = 0;
      while (got < wanted) {
        const int n = static_cast<int>(jpeg_read_scanlines(&d.cinfo, rows.data() + got,
                                                           static_cast<JDIMENSION>(wanted - got)));
        if (n <= 0) break;
        got += n;
      }
      // No row at all: jpeg_finish_decompress reports the picture as too short.
      if (got == 0) break;
      if (!direct) {
        for (int i = 0; i < got; ++i) {
          const uint8_t* from = rows[i] + w.skip * pixelBytes;
          if (cmyk) {
            CmykRowToBgr(from, target.Row(done, i), w.width, inverted);
          } else {
            std::memcpy(target.Row(done, i), from, static_cast<size_t>(w.width) * 3);
          }
        }
      }
      target.Flush(done, got);
      done += got;
    }
    // The rows below the window are not decoded; libjpeg then takes the data as read.
    if (done == w.count && d.cinfo.output_scanline < d.cinfo.output_height) {
      jpeg_skip_scanlines(&d.cinfo, d.cinfo.output_height - d.cinfo.output_scanline);
    }
    jpeg_finish_decompress(&d.cinfo);
  });
}

// Collects each batch bottom-up in a small buffer, so that it goes to the file in one
// write at its final place: the buffer is filled from its end, which puts the batch's
// last row (the lowest one in the picture) first, as in the file.
class SinkTarget final : public RowTarget {
 public:
  SinkTarget(BmpSink& sink, int width, int height, int batch)
      : sink_(sink),
        height_(height),
        batch_(batch),
        stride_(picture::DibStride24(width)),
        buffer_(stride_ * static_cast<size_t>(batch)) {}

  uint8_t* Row(int, int i) override { return buffer_.data() + (batch_ - 1 - i) * stride_; }

  void Flush(int first, int count) override {
    if (count <= 0) return;
    const uint64_t lowestRow = static_cast<uint64_t>(height_ - first - count);
    sink_.WriteAt(kBmpHeaderSize + lowestRow * stride_, Row(first, count - 1), count * stride_);
  }

 private:
  BmpSink& sink_;
  int height_;
  int batch_;
  size_t stride_;
  std::vector<uint8_t> buffer_;  // zeroed, so row padding is written as zeros
};

// Shrinks the decoded rows by area averaging on their way to another target, handing it
// the output rows in batches as that target expects them.
class ReducingTarget final : public RowTarget {
 public:
  ReducingTarget(RowTarget& to, const JpegRegion& region, PixelSize size, int batch)
      : to_(to),
        batch_(batch),
        width_(size.width),
        stride_(static_cast<size_t>(region.width) * 3),
        in_(stride_ * static_cast<size_t>(batch)),
        reducer_(region.width, region.height, size.width, size.height,
                 [this](int, const uint8_t* bgr) { Put(bgr); }) {}

  uint8_t* Row(int, int i) override { return in_.data() + static_cast<size_t>(i) * stride_; }
  void Flush(int, int count) override {
    for (int i = 0; i < count; ++i) reducer_.AddRow(Row(0, i));
  }
  // Hands on the last output rows.
  void End() {
    if (pending_ > 0) to_.Flush(first_, pending_);
    first_ += pending_;
    pending_ = 0;
  }

 private:
  void Put(const uint8_t* bgr) {
    std::memcpy(to_.Row(first_, pending_), bgr, static_cast<size_t>(width_) * 3);
    if (++pending_ == batch_) End();
  }

  RowTarget& to_;
  int batch_, width_;
  size_t stride_;
  std::vector<uint8_t> in_;
  AreaReducer reducer_;
  int first_ = 0, pending_ = 0;
};

// Decodes straight into the bottom-up rows of an image.
class ImageTarget final : public RowTarget {
 public:
  explicit ImageTarget(DecodedImage& image) : image_(image) {}
  uint8_t* Row(int first, int i) override {
    return image_.bgr.data() + static_cast<size_t>(image_.height - 1 - first - i) * image_.Stride();
  }
  void Flush(int, int) override {}

 private:
  DecodedImage& image_;
};

void PutLe16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void PutLe32(uint8_t* p, uint32_t v) {
  PutLe16(p, v);
  PutLe16(p + 2, v >> 16);
}

DecodedImage Decode(const JpegInput& input, int minWidth, int minHeight) {
  Decompressor d;
  Open(d, input);
  unsigned scale = 8;
  Run(d, [&] {
    for (unsigned n = 1; n < 8; ++n) {
      d.cinfo.scale_num = n;
      d.cinfo.scale_denom = 8;
      jpeg_calc_output_dimensions(&d.cinfo);
      if (static_cast<int64_t>(d.cinfo.output_width) >= minWidth &&
          static_cast<int64_t>(d.cinfo.output_height) >= minHeight) {
        scale = n;
        break;
      }
    }
  });
  SetUpOutput(d, scale);
  CheckOutputSize(d.cinfo);
  Start(d);

  DecodedImage image;
  image.width = static_cast<int>(d.cinfo.output_width);
  image.height = static_cast<int>(d.cinfo.output_height);
  image.fullWidth = static_cast<int>(d.cinfo.image_width);
  image.fullHeight = static_cast<int>(d.cinfo.image_height);
  image.bgr.assign(image.Stride() * static_cast<size_t>(image.height), 0);
  ImageTarget target(image);
  DecodeRows(d, target, WholeOutput(d.cinfo));
  return image;
}

}  // namespace

JpegHeader ReadJpegHeader(const JpegInput& input) {
  Decompressor d;
  Open(d, input);
  return {static_cast<int>(d.cinfo.image_width), static_cast<int>(d.cinfo.image_height),
          d.cinfo.num_components};
}

std::array<uint8_t, kBmpHeaderSize> BmpHeader24(int width, int height) {
  const uint32_t imageSize =
      static_cast<uint32_t>(picture::DibStride24(width) * static_cast<uint64_t>(height));
  std::array<uint8_t, kBmpHeaderSize> h{};
  uint8_t* p = h.data();
  p[0] = 'B';
  p[1] = 'M';
  PutLe32(p + 2, static_cast<uint32_t>(kBmpHeaderSize) + imageSize);  // bfSize
  PutLe32(p + 10, static_cast<uint32_t>(kBmpHeaderSize));             // bfOffBits
  PutLe32(p + 14, 40);                                                // biSize
  PutLe32(p + 18, static_cast<uint32_t>(width));
  PutLe32(p + 22, static_cast<uint32_t>(height));  // positive: bottom-up
  PutLe16(p + 26, 1);                              // biPlanes
  PutLe16(p + 28, 24);                             // biBitCount
  PutLe32(p + 34, imageSize);                      // biSizeImage (biCompression 0: BI_RGB)
  PutLe32(p + 38, 2835);                           // 72 dpi
  PutLe32(p + 42, 2835);
  return h;
}

void ConvertJpegToBmp(const JpegInput& input, BmpSink& sink, DesktopLayout layout,
                      PixelSize extent) {
  Decompressor d;
  Open(d, input);
  JpegRegion region = RegionFor(layout, static_cast<int>(d.cinfo.image_width),
                                static_cast<int>(d.cinfo.image_height), extent);
  SetUpOutput(d, static_cast<unsigned>(region.scaleNum));
  // Kept inside the scaled picture, should libjpeg ever round its size otherwise.
  const int outW = static_cast<int>(d.cinfo.output_width);
  const int outH = static_cast<int>(d.cinfo.output_height);
  region.left = std::clamp(region.left, 0, outW);
  region.top = std::clamp(region.top, 0, outH);
  region.width = std::min(region.width, outW - region.left);
  region.height = std::min(region.height, outH - region.top);
  CheckBitmapSize(static_cast<uint64_t>(std::max(region.width, 0)),
                  static_cast<uint64_t>(std::max(region.height, 0)));
  PixelSize bitmap = BitmapSizeOf(region);
  bitmap = {std::clamp(bitmap.width, 1, region.width), std::clamp(bitmap.height, 1, region.height)};
  const std::array<uint8_t, kBmpHeaderSize> header = BmpHeader24(bitmap.width, bitmap.height);
  Start(d);

  // libjpeg's smooth chroma upsampling takes the ends of a cropped row for the picture's
  // edges, which changes the outermost pixels; a margin keeps the region's own pixels as a
  // full decode makes them. libjpeg moves the left end further left, to a block boundary.
  constexpr int kCropMargin = 2;
  JDIMENSION cropLeft = static_cast<JDIMENSION>(std::max(region.left - kCropMargin, 0));
  JDIMENSION cropWidth =
      static_cast<JDIMENSION>(std::min(region.left + region.width + kCropMargin, outW)) - cropLeft;
  if (cropWidth < static_cast<JDIMENSION>(outW)) {
    Run(d, [&] { jpeg_crop_scanline(&d.cinfo, &cropLeft, &cropWidth); });
  }
  const Window window{region.top, region.height, region.left - static_cast<int>(cropLeft),
                      region.width};

  sink.Reserve(kBmpHeaderSize +
               picture::DibStride24(bitmap.width) * static_cast<uint64_t>(bitmap.height));
  SinkTarget target(sink, bitmap.width, bitmap.height, BatchRows(d.cinfo));
  if (bitmap.width == region.width && bitmap.height == region.height) {
    DecodeRows(d, target, window);
  } else {
    ReducingTarget reducing(target, region, bitmap, BatchRows(d.cinfo));
    DecodeRows(d, reducing, window);
    reducing.End();
  }
  sink.WriteAt(0, header.data(), header.size());
}

DecodedImage DecodeJpegForPreview(const JpegInput& input, int minWidth, int minHeight) {
  return Decode(input, minWidth, minHeight);
}

DecodedImage DecodeJpegFull(const uint8_t* data, size_t size) {
  return Decode(JpegInput(data, size), INT_MAX, INT_MAX);
}

}  // namespace picture
