// Times the program's start under Wine: from the moment its process is created to the icon
// in the notification area, and to the end of its start-up sequence (the first time its
// message loop waits for input: settings read, list loaded, selection previewed). The
// references, in the same session: an empty process, and a minimal program that only
// makes a window and adds its icon.
//
//   bench_startup PROGRAM RUNS
//       STARTUP <icon ms best> <icon ms median> <idle ms best> <idle ms median>
//               <empty process ms best> <minimal tray program's icon ms best>
//   bench_startup empty                 the empty process itself
//   bench_startup tray                  the least a notification-area program does
//
// The icon is seen as the taskbar's count of icon tools going up (Wine's taskbar gives
// each icon a tool on its own tool tip window, or a child window in later versions). The
// program is ended by closing its message window's session (WM_ENDSESSION is answered by
// saving, as at log-off) and then terminated, so each round starts alike.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchMain.h"

namespace {

using bench::Clock;
using bench::MsSince;

struct Counter {
  int count = 0;
};

BOOL CALLBACK CountChildIcons(HWND window, LPARAM param) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "__wine_tray_icon") == 0) ++reinterpret_cast<Counter*>(param)->count;
  return TRUE;
}

BOOL CALLBACK CountTipTools(HWND window, LPARAM param) {
  const HWND bar = FindWindowA("Shell_TrayWnd", nullptr);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (bar && std::strcmp(name, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == bar) {
    reinterpret_cast<Counter*>(param)->count +=
        static_cast<int>(SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0));
  }
  return TRUE;
}

int TrayIconCount() {
  Counter counter;
  if (const HWND bar = FindWindowA("Shell_TrayWnd", nullptr)) {
    EnumChildWindows(bar, CountChildIcons, reinterpret_cast<LPARAM>(&counter));
  }
  EnumWindows(CountTipTools, reinterpret_cast<LPARAM>(&counter));
  return counter.count;
}

struct Process {
  PROCESS_INFORMATION info{};
  ~Process() {
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
  }
};

bool Start(std::string commandLine, Process& process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process.info) != 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Waits (polling) until the icon count differs from `before`; -1 after 20 s.
double WaitForIcon(int before, Clock::time_point start, HANDLE process) {
  while (MsSince(start) < 20000) {
    if (TrayIconCount() > before) return MsSince(start);
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return -1;
    Sleep(0);
  }
  return -1;
}

// Ends the program the way log-off does, so it takes its icon away, then makes sure.
void End(const Process& process) {
  struct Finder {
    DWORD pid;
    std::vector<HWND> windows;
  } finder{process.info.dwProcessId, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* f = reinterpret_cast<Finder*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == f->pid) f->windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&finder));
  // Removing the icon is what the icon's own window does when it is destroyed.
  for (HWND window : finder.windows) PostMessageA(window, WM_CLOSE, 0, 0);
  TerminateProcess(process.info.hProcess, 0);
  WaitForSingleObject(process.info.hProcess, 10000);
}

// One start of a program: milliseconds to its icon and to its first wait for input.
// A console program has no input idle state: `idleMs` is then left alone.
bool TimeOneStart(const std::string& commandLine, double* iconMs, double* idleMs) {
  Sleep(300);  // the previous copy's icon gone
  const int before = TrayIconCount();
  Process p;
  const Clock::time_point start = Clock::now();
  if (!Start(commandLine, p)) return false;
  *iconMs = WaitForIcon(before, start, p.info.hProcess);
  const bool gui = idleMs != nullptr;
  const DWORD waited = gui ? WaitForInputIdle(p.info.hProcess, 20000) : 0;
  if (gui) *idleMs = MsSince(start);
  End(p);
  return *iconMs >= 0 && waited == 0;
}

double Best(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

int Run(const std::string& program, int runs) {
  // The taskbar must be up: an icon added before the notification area exists is refused.
  // Asking for the desktop window makes Wine start the desktop with its taskbar.
  // A desktop without one keeps a hidden notification area, where no icon can be seen.
  GetDesktopWindow();
  for (int i = 0; !IsWindowVisible(FindWindowA("Shell_TrayWnd", nullptr)); ++i) {
    if (i == 300) {
      std::fprintf(stderr, "bench_startup: no visible taskbar on this desktop after 30 s\n");
      return 1;
    }
    Sleep(100);
  }
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string selfCommand = "\"" + std::string(self) + "\"";
  std::vector<double> icon, idle, empty, tray;
  for (int r = 0; r < runs; ++r) {
    {
      Process p;
      const Clock::time_point start = Clock::now();
      if (!Start(selfCommand + " empty", p)) {
        std::fprintf(stderr, "bench_startup: cannot start itself (error %lu)\n", GetLastError());
        return 1;
      }
      WaitForSingleObject(p.info.hProcess, INFINITE);
      empty.push_back(MsSince(start));
    }
    double iconMs = 0, idleMs = 0;
    if (!TimeOneStart(selfCommand + " tray", &iconMs, nullptr)) {
      std::fprintf(stderr, "bench_startup: the reference showed no icon (round %d)\n", r);
      return 1;
    }
    tray.push_back(iconMs);
    if (!TimeOneStart("\"" + program + "\"", &iconMs, &idleMs)) {
      std::fprintf(stderr, "bench_startup: no icon or no idle (round %d)\n", r);
      return 1;
    }
    icon.push_back(iconMs);
    idle.push_back(idleMs);
  }
  std::printf("STARTUP %.1f %.1f %.1f %.1f %.1f %.1f\n", Best(icon), Median(icon), Best(idle),
              Median(idle), Best(empty), Best(tray));
  std::fflush(stdout);
  return 0;
}

}  // namespace

// The least a notification-area program does: a window and its icon, then wait.
int MinimalTrayProgram() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "BenchTrayReference";
  RegisterClassA(&wc);
  const HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, wc.hInstance, nullptr);
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  std::string_view("reference").copy(data.szTip, sizeof(data.szTip) - 1);
  Shell_NotifyIconA(NIM_ADD, &data);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  Shell_NotifyIconA(NIM_DELETE, &data);
  return 0;
}

int main(int argc, char** argv) {
  const std::string mode = argc == 2 ? argv[1] : "";
  return bench::Main("bench_startup", argc == 3 || mode == "empty" || mode == "tray",
                     "PROGRAM RUNS", [&] {
                       if (mode == "empty") return 0;
                       if (mode == "tray") return MinimalTrayProgram();
                       return Run(argv[1], std::atoi(argv[2]));
                     });
}
