#include "tests/support/JpegEncode.h"

#include <cstdlib>

namespace testjpeg {

namespace {
int ComponentsOf(J_COLOR_SPACE space) {
  return space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
}

}  // namespace

uint8_t Pattern(int x, int y, int c) {
  return static_cast<uint8_t>((x * 7 + y * 13 + c * 85 + x * y) & 0xFF);
}

Bytes EncodeJpeg(const EncodeOptions& o, const std::function<uint8_t(int, int, int)>& pixel) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(o.width);
  cinfo.image_height = static_cast<JDIMENSION>(o.height);
  cinfo.input_components = ComponentsOf(o.input);
  cinfo.in_color_space = o.input;
  jpeg_set_defaults(&cinfo);
  if (o.stored != JCS_UNKNOWN) jpeg_set_colorspace(&cinfo, o.stored);
  if (o.input == JCS_CMYK) cinfo.write_Adobe_marker = o.adobeMarker;
  jpeg_set_quality(&cinfo, o.quality, TRUE);
  if (o.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(o.width) * cinfo.input_components);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < o.width; ++x) {
      for (int c = 0; c < cinfo.input_components; ++c)
        row[x * cinfo.input_components + c] = pixel(x, y, c);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace testjpeg
