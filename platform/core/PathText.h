#pragma once
// Windows paths as text, without touching the file system.

#include <string>
#include <string_view>

namespace platform {

// The part after the last '\', '/' or ':'.
std::string FileNameOf(std::string_view path);

// folder and name with one separator between them: none is added when folder already
// ends in '\' or '/'. An empty folder gives name alone.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace platform
