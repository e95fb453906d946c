#include "app/SingleInstance.h"

#include <string>

#include "integration/WTaskBar.h"

namespace app {

namespace {
constexpr char kMutexName[] = "Local\\Kestrova.Papershift7.Running";
using UniqueProcess = platform::UniqueHandle<platform::traits::Simple<HANDLE, CloseHandle>>;
// Holds the process id of the copy that holds the mutex, wherever its file lies.
constexpr char kRunningIdName[] = "Local\\Kestrova.Papershift7.RunningId";
using UniqueView = platform::UniqueHandle<platform::traits::Simple<void*, UnmapViewOfFile>>;

DWORD RunningCopysId() {
  UniqueProcess mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, kRunningIdName));
  if (!mapping) return 0;
  UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(DWORD)));
  return view ? *static_cast<const volatile DWORD*>(view.get()) : 0;
}

std::string ImageOfProcess(HANDLE process) {
  std::string path(32768, '\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameA(process, 0, path.data(), &size)) return {};
  path.resize(size);
  return path;
}

// The class name alone is no proof: another program may use it too. The window must
// belong to the copy that holds the mutex (started from any folder: the installed copy and
// a zip copy share one set of settings), or to a process started from this program's file.
bool IsRunningCopy(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == 0 || pid == GetCurrentProcessId()) return false;
  if (pid == RunningCopysId()) return true;
  UniqueProcess theirs(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!theirs) return false;
  const std::string theirImage = ImageOfProcess(theirs.get());
  const std::string ourImage = ImageOfProcess(GetCurrentProcess());
  return !ourImage.empty() && lstrcmpiA(theirImage.c_str(), ourImage.c_str()) == 0;
}

HWND FindRunningCopysIcon() {
  for (HWND w = FindWindowExA(nullptr, nullptr, integration::kTrayWindowClass, nullptr); w;
       w = FindWindowExA(nullptr, w, integration::kTrayWindowClass, nullptr)) {
    if (IsRunningCopy(w)) return w;
  }
  return nullptr;
}
}  // namespace

SingleInstance::SingleInstance() : mutex_(CreateMutexA(nullptr, FALSE, kMutexName)) {
  another_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
  if (!mutex_ || another_) return;
  runningId_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(DWORD), kRunningIdName));
  if (!runningId_) return;
  UniqueView view(MapViewOfFile(runningId_.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD)));
  if (view) *static_cast<volatile DWORD*>(view.get()) = GetCurrentProcessId();
}

bool SingleInstance::ActivateRunningCopy(DWORD timeoutMs) {
  // The running copy may still be starting: its icon window comes with its settings window.
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND tray = FindRunningCopysIcon()) {
      DWORD pid = 0;
      GetWindowThreadProcessId(tray, &pid);
      AllowSetForegroundWindow(pid);
      // The shell's own sequence for a double-click; the release after it does nothing.
      PostMessageA(tray, integration::kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
      PostMessageA(tray, integration::kTrayCallbackMessage, 0, WM_LBUTTONUP);
      return true;
    }
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(100);
  }
}

}  // namespace app
