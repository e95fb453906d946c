#pragma once
// The image of one icon entry, checked before the system is given it: the system's icon
// reader trusts the sizes in the header, so an entry that claims more than it holds would
// be read past its end.
#include <cstddef>
#include <cstdint>

namespace picture {

// A PNG stream, or a device-independent bitmap (BITMAPINFOHEADER or larger, 1 to 32 bits,
// uncompressed or bit fields) whose colour table, colour mask and transparency mask all lie
// inside the bytes. Anything else throws platform::Error "Icon image is not valid".
void CheckIconImage(const uint8_t* data, size_t size);

}  // namespace picture
