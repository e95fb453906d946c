#pragma once
// The autostart entry: the program's value under the user's Run key, written at once when
// the user ticks or unticks the box, and read to show what Windows will do at logon.
#include <windows.h>

#include <string>

namespace integration {

inline constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValueName[] = "Papershift";
// Windows 8 and later keep an on/off switch for each Run entry here (Task Manager, Settings >
// Apps > Startup): binary data whose first byte is odd while the entry is off.
inline constexpr char kStartupApprovedKeyPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The text the system runs at logon for the executable at path. A path with a space is
// put in double quotes: unquoted, the system may start "C:\Program.exe" instead.
std::string RunCommand(const std::string& executablePath);

// Sets the value "Papershift" under root's Run key, creating the key where a new profile
// lacks it, with no more access than setting a value needs. A command also switches the
// entry on where Windows' own switch has it off. Throws when the registry refuses either.
// The value is never deleted; autostart off writes empty text.
void WriteRunValue(HKEY root, const std::string& text);

// Whether Windows starts executablePath at logon: the Run value names it and Windows' own
// switch does not have the entry off.
bool RunValueStarts(HKEY root, const std::string& executablePath);

// Whether the Run value names a program file that is not there and not executablePath:
// this program's old place, after an uninstall or a move of its folder.
bool RunValueIsStale(HKEY root, const std::string& executablePath);

}  // namespace integration
