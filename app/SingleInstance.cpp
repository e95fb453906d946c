#include "app/SingleInstance.h"

#include "integration/WTaskBar.h"

namespace app {

namespace {
constexpr char kMutexName[] = "Local\\Kestrova.Papershift7.Running";
}

SingleInstance::SingleInstance() : mutex_(CreateMutexA(nullptr, FALSE, kMutexName)) {
  another_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool SingleInstance::ActivateRunningCopy(DWORD timeoutMs) {
  // The running copy may still be starting: its icon window comes with its settings window.
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND tray = FindWindowA("TWinTaskbar", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(tray, &pid);
      AllowSetForegroundWindow(pid);
      // The shell's own sequence for a double-click: the release after it is swallowed.
      PostMessageA(tray, integration::kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
      PostMessageA(tray, integration::kTrayCallbackMessage, 0, WM_LBUTTONUP);
      return true;
    }
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(100);
  }
}

}  // namespace app
