#include "platform/core/PathText.h"

namespace platform {

std::string FileNameOf(std::string_view path) {
  const size_t sep = path.find_last_of("\\/:");
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && joined.back() != '\\' && joined.back() != '/') joined += '\\';
  return joined += name;
}

}  // namespace platform
