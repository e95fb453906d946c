#pragma once
// Metafiles read for the preview: a placeable Windows metafile (the 22-byte header with
// the key 0x9AC6CDD7 before a Windows metafile) or an enhanced metafile, told apart by
// their contents. The system's players trust the record sizes, so every record is checked
// to lie inside the file before a metafile is handed over.
#include <cstddef>
#include <cstdint>

namespace picture {

struct MetafileInfo {
  bool placeable = false;  // Windows metafile behind a placeable header; else enhanced
  size_t bodyOffset = 0;   // start of the bytes the system's reader gets
  size_t bodySize = 0;
  // The picture's frame in hundredths of a millimetre.
  int widthHmm = 0;
  int heightHmm = 0;
};

// Anything that is not one of the two kinds, or whose records run past its end, throws
// platform::Error "Metafile is not valid".
MetafileInfo ParseMetafile(const uint8_t* data, size_t size);

// Hundredths of a millimetre to pixels at dpi pixels per inch, rounded.
int HmmToPixels(int hmm, int dpi);

}  // namespace picture
