#include "tests/support/JpegDecode.h"

#include <cstdio>

#include <jpeglib.h>

namespace testjpeg {

PlainDecode DecodePlain(const uint8_t* jpeg, size_t size, unsigned scaleNum) {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  cinfo.scale_num = scaleNum;
  cinfo.scale_denom = 8;
  jpeg_start_decompress(&cinfo);
  PlainDecode out;
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[] = {out.rgb.data() + static_cast<size_t>(cinfo.output_scanline) * out.width * 3};
    jpeg_read_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return out;
}

}  // namespace testjpeg
