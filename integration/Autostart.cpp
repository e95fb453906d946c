#include "integration/Autostart.h"

#include "platform/Handles.h"
#include "platform/core/Error.h"

namespace integration {

namespace {

LONG SetRunValue(HKEY runKey, const std::string& text) {
  return RegSetValueExA(runKey, kRunValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

}  // namespace

std::string RunCommand(const std::string& executablePath) {
  if (executablePath.find(' ') == std::string::npos) return executablePath;
  return "\"" + executablePath + "\"";
}

RunValueSetter& RunValueWrite() {
  static RunValueSetter setter = SetRunValue;
  return setter;
}

bool WriteRunValue(HKEY root, const std::string& text) {
  platform::UniqueHKey key;
  if (RegOpenKeyExA(root, kRunKeyPath, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  if (RunValueWrite()(key.get(), text) != ERROR_SUCCESS) {
    throw platform::Error(platform::Format("Failed to set data for '%s'", kRunValueName));
  }
  return true;
}

}  // namespace integration
