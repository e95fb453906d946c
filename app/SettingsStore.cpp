#include "app/SettingsStore.h"

#include "app/core/StoredValue.h"
#include "platform/Handles.h"
#include "platform/Registry.h"
#include "platform/core/Error.h"

namespace app {

SettingsStore::SettingsStore(HKEY root, std::string keyPath)
    : root_(root), keyPath_(std::move(keyPath)) {
  Open();
}

SettingsStore::SettingsStore(HKEY root, std::string keyPath, std::nothrow_t) noexcept
    : root_(root), keyPath_(std::move(keyPath)) {}

void SettingsStore::Open() {
  if (open_) return;
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  locked_ = status == ERROR_ACCESS_DENIED;
  if (locked_) status = RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_READ, &key);
  if (status != ERROR_SUCCESS) {
    throw platform::Error(platform::Format("Failed to create key %s", keyPath_.c_str()));
  }
  platform::UniqueHKey opened(key);
  open_ = true;
}

std::string SettingsStore::SectionPath(const char* section) const {
  return keyPath_ + '\\' + section;
}

std::optional<std::string> SettingsStore::ReadText(const char* section, const char* name) const {
  platform::UniqueHKey sectionKey;
  if (RegOpenKeyExA(root_, SectionPath(section).c_str(), 0, KEY_QUERY_VALUE, sectionKey.put()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(sectionKey.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    throw platform::Error(platform::Format("Invalid data type for '%s'", name));
  }
  if (size == 0) return std::string();
  std::string data(size, '\0');
  // The value may grow between the two queries; ask again with the size it reports.
  for (;;) {
    DWORD got = static_cast<DWORD>(data.size());
    const LSTATUS status = RegQueryValueExA(sectionKey.get(), name, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data.data()), &got);
    if (status == ERROR_MORE_DATA) {
      data.resize(got);
      continue;
    }
    if (status != ERROR_SUCCESS)
      throw platform::Error(platform::Format("Failed to get data for '%s'", name));
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
      throw platform::Error(platform::Format("Invalid data type for '%s'", name));
    }
    return TextUpToZero(data.data(), got);
  }
}

std::optional<std::string> SettingsStore::ReadAndMark(const char* section, const char* name) const {
  reached_.insert(std::string(section) + '\\' + name);
  return ReadText(section, name);
}

bool SettingsStore::Reached(const char* section, const char* name) const {
  return reached_.contains(std::string(section) + '\\' + name);
}

bool SettingsStore::ReadBool(const char* section, const char* name, bool def) const {
  return DecodeBool(ReadAndMark(section, name), def);
}

int SettingsStore::ReadInteger(const char* section, const char* name, int def) const {
  return DecodeInteger(ReadAndMark(section, name), def);
}

std::string SettingsStore::ReadString(const char* section, const char* name,
                                      const std::string& def) const {
  return ReadAndMark(section, name).value_or(def);
}

void SettingsStore::WriteString(const char* section, const char* name, const std::string& value) {
  HKEY key = nullptr;
  const LSTATUS status =
      RegCreateKeyExA(root_, SectionPath(section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr);
  locked_ = status == ERROR_ACCESS_DENIED;
  if (status != ERROR_SUCCESS) {
    throw platform::Error(platform::Format("Failed to create key %s", section));
  }
  platform::UniqueHKey sectionKey(key);
  platform::WriteRegistryText(sectionKey.get(), name, value);
  reached_.insert(std::string(section) + '\\' + name);
  if (onWrite) onWrite(section, name);
}

void SettingsStore::WriteInteger(const char* section, const char* name, int value) {
  WriteString(section, name, std::to_string(value));
}

void SettingsStore::WriteBool(const char* section, const char* name, bool value) {
  WriteString(section, name, value ? "1" : "0");
}

}  // namespace app
