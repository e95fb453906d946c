#pragma once
// The picture type chosen by a file name.

#include <string>
#include <string_view>

namespace picture {

// The text after the last '.' of the file name (see platform::FileNameOf), without the
// dot; empty when the file name has no dot.
std::string ExtensionOf(std::string_view path);

enum class PictureKind { Bitmap, Jpeg, Icon, Metafile };

// By extension, letter case ignored. Any other extension, or none, throws
// platform::Error "Unknown picture file extension (.%s)".
PictureKind PictureKindOf(std::string_view path);

}  // namespace picture
