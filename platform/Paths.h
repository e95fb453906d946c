#pragma once
// Places in the file system: the current directory and whether a path is there.
#include <string>

namespace platform {

// The process's current directory; empty when the system cannot tell it.
std::string CurrentDirectory();

// Whether a file or folder exists at path.
bool PathExists(const std::string& path);

// Whether the folder that holds path exists (a drive or share that is there); true for a
// bare name, which lies in the current directory.
bool FolderOfExists(const std::string& path);

}  // namespace platform
