#pragma once
// The autostart entry: the program's value under the user's Run key, written at once when
// the user ticks or unticks the box, never read by the program itself.
#include <windows.h>

#include <string>

namespace integration {

inline constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValueName[] = "Papershift";

// The text the system runs at logon for the executable at path. A path with a space is
// put in double quotes: unquoted, the system may start "C:\Program.exe" instead.
std::string RunCommand(const std::string& executablePath);

// Sets the value "Papershift" under root's Run key. The key is opened with full access and
// never created: false when it cannot be opened, and then nothing is written. A write the
// system refuses throws "Failed to set data for 'Papershift'". The value is never deleted;
// autostart off writes empty text.
bool WriteRunValue(HKEY root, const std::string& text);

}  // namespace integration
