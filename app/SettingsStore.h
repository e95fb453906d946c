#pragma once
// The settings store: a section/value store over one registry key. Each read or write
// opens its section key, does its one query or update and closes it again, so every
// write is in the registry at once and nothing is cached.
#include <windows.h>

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace app {

class SettingsStore {
 public:
  // Opens the program key under root, creating it. A key that can be read but not written
  // (settings deployed and locked by an administrator) is opened for reading, and Locked()
  // says so. Throws "Failed to create key %s" when the key can be neither created nor read;
  // the store then stays usable: reads give their defaults and writes try again.
  SettingsStore(HKEY root, std::string keyPath);
  // A store that has not opened its key yet (used when opening failed).
  SettingsStore(HKEY root, std::string keyPath, std::nothrow_t) noexcept;

  bool IsOpen() const noexcept { return open_; }
  // Opens or creates the program key when it is not open yet; throws as the constructor.
  void Open();
  // The registry refuses to store settings: found at opening, or by the last write.
  bool Locked() const noexcept { return locked_; }

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

  // Each read and write opens its section from the root afresh: a key deleted while the
  // program runs (a registry cleaner, a profile reset) is created again by the next write.
  std::string SectionPath(const char* section) const;

  HKEY root_;
  std::string keyPath_;
  bool open_ = false;
  bool locked_ = false;
};

}  // namespace app
