#pragma once
// Registry sections and value names of the settings store, each defined once.
#include "Version.h"

namespace app {

inline constexpr char kProgramKeyPath[] = "Software\\Kestrova\\Papershift 7";
inline constexpr char kSectionProgram[] = "Program";
inline constexpr char kSectionSecurity[] = "Program\\Security";

namespace names {
inline constexpr char kProgramVersion[] = "Program Version";
inline constexpr char kAutoStart[] = "AutoStart";
inline constexpr char kShowSplash[] = "ShowSplash";
inline constexpr char kUseAnimation[] = "UseAnimation";
inline constexpr char kUsePwd[] = "UsePwd";
inline constexpr char kTimeInterval[] = "TimeInterval";
inline constexpr char kRandomize[] = "Randomize";
inline constexpr char kUseSound[] = "UseSound";
inline constexpr char kRestartChange[] = "RestartChange";
inline constexpr char kChangeIntervalTime[] = "ChangeIntervalTime";
inline constexpr char kSoundFileName[] = "SoundFileName";
inline constexpr char kFileListSource[] = "FileListSource";
inline constexpr char kWallpaperStyle[] = "WallpaperStyle";
inline constexpr char kItemIndex[] = "ItemIndex";
inline constexpr char kFileListSorted[] = "FileListSorted";
inline constexpr char kPassword[] = "Password";
}  // namespace names

// Marker texts of the hidden fields.
inline constexpr char kNoListFile[] = "ListFileName";
inline constexpr char kDefaultSound[] = "< default sound >";
inline constexpr char kVersion[] = PS_VERSION_TEXT;

}  // namespace app
