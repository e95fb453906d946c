#pragma once
// The few places where tests observe or replace an effect on the system. Each member
// has a real default; production code never changes them.
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct Seams {
  // Root for the settings store, the desktop values and the Run value.
  HKEY registryRoot = HKEY_CURRENT_USER;
  std::function<std::string()> windowsDirectory;
  // The program's per-user folder, %LOCALAPPDATA%\Kestrova (not created here); empty when
  // the system names no local application data folder.
  std::function<std::string()> perUserFolder;
  std::function<std::string()> executablePath;
  std::function<BOOL(UINT action, UINT param, void* data, UINT flags)> systemParametersInfo;
  std::function<BOOL(int count, const INT* elements, const COLORREF* colours)> setSysColors;
  // The one REG_SZ write (see WriteRegistryText). A key opened with full access cannot be
  // made to refuse a write on demand, so tests replace this to see that case.
  std::function<LONG(HKEY key, const char* name, const std::string& value)> writeRegistryText;
  // Shows the standard error box with the final text (full stop already added).
  std::function<void(HWND owner, const std::string& text)> errorBox;
  // Asks a question with Yes and No, No the default; true for Yes.
  std::function<bool(HWND owner, const std::string& text)> question;
  // Runs an open (save == false) or save dialog; true when the user chose a file.
  std::function<bool(OPENFILENAMEA& ofn, bool save)> fileDialog;
  std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)> shellNotifyIcon;
  std::function<MCIERROR(MCIDEVICEID id, UINT msg, DWORD_PTR flags, DWORD_PTR params)> mciSend;
  // The size in pixels of every monitor of the desktop, in the display's own pixels (also
  // where the system scales this program's windows for a high DPI).
  std::function<std::vector<SIZE>()> monitorSizes;

  static Seams& Get();
  // Puts every member back to its real default.
  void Reset();
};

inline Seams& seams() {
  return Seams::Get();
}

}  // namespace platform
