#include "integration/Autostart.h"

#include <optional>

#include "platform/Handles.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/core/Error.h"

namespace integration {

namespace {

// The switch's data for "on", as Windows writes it.
constexpr BYTE kSwitchedOn[12] = {2};

std::optional<std::string> RunValueText(HKEY root) {
  constexpr DWORD kText = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD size = 0;
  if (RegGetValueA(root, kRunKeyPath, kRunValueName, kText, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string text(size, '\0');
  if (RegGetValueA(root, kRunKeyPath, kRunValueName, kText, nullptr, text.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(text.c_str());  // up to the terminator that RegGetValueA adds
}

// The program a Run command starts: the quoted path, or the whole text when unquoted.
std::string ProgramOf(const std::string& command) {
  if (!command.starts_with('"')) return command;
  return command.substr(1, command.find('"', 1) - 1);
}

bool SwitchedOff(HKEY root) {
  BYTE data[12] = {};
  DWORD size = sizeof(data);
  return RegGetValueA(root, kStartupApprovedKeyPath, kRunValueName, RRF_RT_REG_BINARY, nullptr,
                      data, &size) == ERROR_SUCCESS &&
         size > 0 && (data[0] & 1) != 0;
}

platform::UniqueHKey KeyToSet(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    throw platform::Error(platform::Format("Failed to create key %s", path));
  }
  return platform::UniqueHKey(key);
}

}  // namespace

std::string RunCommand(const std::string& executablePath) {
  if (executablePath.find(' ') == std::string::npos) return executablePath;
  return "\"" + executablePath + "\"";
}

void WriteRunValue(HKEY root, const std::string& text) {
  platform::WriteRegistryText(KeyToSet(root, kRunKeyPath).get(), kRunValueName, text);
  if (text.empty() || !SwitchedOff(root)) return;
  if (RegSetValueExA(KeyToSet(root, kStartupApprovedKeyPath).get(), kRunValueName, 0, REG_BINARY,
                     kSwitchedOn, sizeof(kSwitchedOn)) != ERROR_SUCCESS) {
    throw platform::Error(platform::Format("Failed to set data for '%s'", kRunValueName));
  }
}

bool RunValueStarts(HKEY root, const std::string& executablePath) {
  const std::optional<std::string> command = RunValueText(root);
  return command && lstrcmpiA(ProgramOf(*command).c_str(), executablePath.c_str()) == 0 &&
         !SwitchedOff(root);
}

bool RunValueIsStale(HKEY root, const std::string& executablePath) {
  const std::optional<std::string> command = RunValueText(root);
  if (!command || command->empty()) return false;
  const std::string program = ProgramOf(*command);
  return lstrcmpiA(program.c_str(), executablePath.c_str()) != 0 && !platform::PathExists(program);
}

}  // namespace integration
