#include "integration/Autostart.h"

#include "platform/Handles.h"
#include "platform/Registry.h"

namespace integration {

std::string RunCommand(const std::string& executablePath) {
  if (executablePath.find(' ') == std::string::npos) return executablePath;
  return "\"" + executablePath + "\"";
}

bool WriteRunValue(HKEY root, const std::string& text) {
  platform::UniqueHKey key;
  if (RegOpenKeyExA(root, kRunKeyPath, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  platform::WriteRegistryText(key.get(), kRunValueName, text);
  return true;
}

}  // namespace integration
