#pragma once
// The settings store: a section/value store over one registry key. Each read or write
// opens its section key, does its one query or update and closes it again, so every
// write is in the registry at once and nothing is cached.
#include <windows.h>

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/Handles.h"

namespace app {

class SettingsStore {
 public:
  // Opens or creates the program key under root. Throws "Failed to create key %s" when
  // it can be neither opened nor created; the store then stays usable: reads give
  // their defaults and writes try to open the key again.
  SettingsStore(HKEY root, std::string keyPath);
  // A store that has not opened its key yet (used when opening failed).
  SettingsStore(HKEY root, std::string keyPath, std::nothrow_t) noexcept;

  bool IsOpen() const noexcept { return static_cast<bool>(key_); }
  // Opens or creates the program key when it is not open yet; throws as the constructor.
  void Open();

  bool ReadBool(const char* section, const char* name, bool def) const;
  int ReadInteger(const char* section, const char* name, int def) const;
  std::string ReadString(const char* section, const char* name, const std::string& def) const;

  // Whether the value has been read (also a read that failed) or written since the store was
  // made. A value never reached is not what the program holds for it; one whose read failed
  // is to be written again with what the program holds.
  bool Reached(const char* section, const char* name) const;

  void WriteBool(const char* section, const char* name, bool value);
  void WriteInteger(const char* section, const char* name, int value);
  void WriteString(const char* section, const char* name, const std::string& value);

  // Observer of every successful write, in the order they happen (diagnostics, tests).
  std::function<void(const char* section, const char* name)> onWrite;

 private:
  // The stored text, or nullopt when the section or the value is absent.
  std::optional<std::string> ReadText(const char* section, const char* name) const;
  std::optional<std::string> ReadAndMark(const char* section, const char* name) const;

  mutable std::set<std::string> reached_;

  HKEY root_;
  std::string keyPath_;
  platform::UniqueHKey key_;
};

}  // namespace app
