#pragma once
// Text values in the registry.
#include <windows.h>

#include <string>

namespace platform {

// Writes value as REG_SZ under name through the seams' registry write; throws "Failed to
// set data for '%s'" when the system refuses it.
void WriteRegistryText(HKEY key, const char* name, const std::string& value);

}  // namespace platform
