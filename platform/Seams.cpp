#include "platform/Seams.h"

#include <shlobj.h>

#include "platform/AppTitle.h"
#include "platform/CodePage.h"
#include "platform/Handles.h"

namespace platform {

namespace {

std::string RealWindowsDirectory() {
  // Sized for any path: the first call reports the length the path needs.
  std::string dir(MAX_PATH, '\0');
  UINT n = GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size()));
  if (n >= dir.size()) {
    dir.resize(n);
    n = GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size()));
  }
  dir.resize(n < dir.size() ? n : 0);
  return dir;
}

std::string RealExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string RealPerUserFolder() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, folder)) ||
      folder[0] == '\0') {
    return {};
  }
  return std::string(folder) + "\\Kestrova";
}

BOOL CALLBACK AddMonitorSize(HMONITOR monitor, HDC, LPRECT, LPARAM sizes) noexcept {
  MONITORINFOEXA info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  // The program is not DPI aware: on a scaled monitor its rectangle is in scaled pixels,
  // the display mode in real ones.
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  SIZE size{info.rcMonitor.right - info.rcMonitor.left, info.rcMonitor.bottom - info.rcMonitor.top};
  if (EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode)) {
    size = {static_cast<LONG>(mode.dmPelsWidth), static_cast<LONG>(mode.dmPelsHeight)};
  }
  try {
    reinterpret_cast<std::vector<SIZE>*>(sizes)->push_back(size);
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}

std::vector<SIZE> RealMonitorSizes() {
  std::vector<SIZE> sizes;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitorSize, reinterpret_cast<LPARAM>(&sizes));
  if (sizes.empty())
    sizes.push_back({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  return sizes;
}

// A box modal to a window on the screen opens over it. One owned by a hidden window belongs
// to a reaction in the background (the icon's menu, a timed change): it opens in front of
// the user's other programs, which the foreground lock would otherwise put above it.
UINT BoxPlacement(HWND owner) {
  return owner && IsWindowVisible(owner) ? 0 : MB_SETFOREGROUND | MB_TOPMOST;
}

// The box's own text conversion (MessageBoxA) holds at most 32767 characters and, past that,
// shows a text pointer it never set: a path of 100 000 characters in an error text would
// crash it. The text is converted here, whole.
int ShowBox(HWND owner, const std::string& text, UINT type) {
  return MessageBoxW(owner, ToWide(text).c_str(), ToWide(kAppTitle).c_str(),
                     type | BoxPlacement(owner));
}

}  // namespace

Seams& Seams::Get() {
  static Seams instance = [] {
    Seams s;
    s.Reset();
    return s;
  }();
  return instance;
}

void Seams::Reset() {
  registryRoot = HKEY_CURRENT_USER;
  windowsDirectory = RealWindowsDirectory;
  perUserFolder = RealPerUserFolder;
  executablePath = RealExecutablePath;
  systemParametersInfo = [](UINT action, UINT param, void* data, UINT flags) {
    return SystemParametersInfoA(action, param, data, flags);
  };
  setSysColors = [](int count, const INT* elements, const COLORREF* colours) {
    return SetSysColors(count, elements, colours);
  };
  writeRegistryText = [](HKEY key, const char* name, const std::string& value) {
    // The byte count includes the terminating zero.
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
  };
  errorBox = [](HWND owner, const std::string& text) {
    ShowBox(owner, text, MB_OK | MB_ICONERROR);
  };
  question = [](HWND owner, const std::string& text) {
    return ShowBox(owner, text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
  };
  fileDialog = [](OPENFILENAMEA& ofn, bool save) {
    return (save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn)) != FALSE;
  };
  shellNotifyIcon = [](DWORD message, NOTIFYICONDATAA* data) {
    return Shell_NotifyIconA(message, data);
  };
  mciSend = [](MCIDEVICEID id, UINT msg, DWORD_PTR flags, DWORD_PTR params) {
    return mciSendCommandA(id, msg, flags, params);
  };
  monitorSizes = RealMonitorSizes;
}

}  // namespace platform

// Closing a sound device goes through the seam, so that tests see it closed.
namespace platform::traits {
void MciDevice::close(MCIDEVICEID id) noexcept {
  try {
    seams().mciSend(id, MCI_CLOSE, MCI_WAIT, 0);
  } catch (...) {
  }
}
}  // namespace platform::traits
