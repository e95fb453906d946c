#include "platform/Registry.h"

#include "platform/Seams.h"
#include "platform/core/Error.h"

namespace platform {

void WriteRegistryText(HKEY key, const char* name, const std::string& value) {
  if (seams().writeRegistryText(key, name, value) != ERROR_SUCCESS) {
    throw Error(Format("Failed to set data for '%s'", name));
  }
}

}  // namespace platform
