// Times the settings window's fill of the image list from the Windows directory (Windows
// build only), through the running program's own FillWithWindowsImages, over a folder of
// small bitmaps and some other files that it makes itself (and removes) in FOLDER, put in
// place of the Windows directory as the in-process tests do. Meanwhile a second thread asks
// the window every 10 ms for an answer (WM_NULL) and keeps the longest wait: how long the
// program stops responding.
//
//   bench_fill IMAGES RUNS FOLDER
//       FILL <images> <entries> <s> <worst wait ms> <sorted s> <sorted worst wait ms>
//   (best of RUNS each; "sorted" with the list's sorted mode on).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

#include "app/SettingNames.h"
#include "tests/support/win/TestEnv.h"
#include "platform/Handles.h"
#include "platform/Seams.h"

#include "bench/BenchClock.h"
#include "bench/BenchMain.h"

namespace {

using bench::Clock;
using bench::MsSince;

// The folder in place of the Windows directory: IMAGES bitmaps, and beside them what the
// scan must pass over (other extensions, longer extensions that match through short
// names, a folder named like a bitmap).
class Folder {
 public:
  Folder(const std::string& path, int images) : path_(path) {
    if (!CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot create folder");
    char name[64];
    for (int i = 0; i < images; ++i) {
      std::snprintf(name, sizeof name, "\\Wallpaper %05d.bmp", (i * 7919) % images);
      testenv::WriteTestBmp(path_ + name, 2, 2, RGB(i % 256, 40, 90));
    }
    for (int i = 0; i < images / 10; ++i) {
      static const char* const kOthers[] = {"txt", "jpeg", "bmpx", "ini", "log"};
      std::snprintf(name, sizeof name, "\\other %05d.%s", i, kOthers[i % 5]);
      testenv::WriteFileBytes(path_ + name, "x");
    }
    CreateDirectoryA((path_ + "\\folder.bmp").c_str(), nullptr);
  }
  ~Folder() {
    WIN32_FIND_DATAA data;
    const platform::UniqueFindFile find(FindFirstFileA((path_ + "\\*").c_str(), &data));
    if (find) {
      do {
        const std::string item = path_ + "\\" + data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileA(item.c_str());
        else if (data.cFileName[0] != '.')
          RemoveDirectoryA(item.c_str());
      } while (FindNextFileA(find.get(), &data));
    }
    RemoveDirectoryA(path_.c_str());
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  const std::string& path() const noexcept { return path_; }

 private:
  std::string path_;
};

// Sends WM_NULL to the window every 10 ms while `watching` is set and keeps the longest
// time until it was answered.
class Watcher {
 public:
  explicit Watcher(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            if (watching_) {
              busy_ = true;
              const Clock::time_point start = Clock::now();
              DWORD_PTR result = 0;
              SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
              worst_ = std::max(worst_.load(), MsSince(start));
              busy_ = false;
            }
            Sleep(10);
          }
        }) {}
  ~Watcher() {
    stop_ = true;
    Settle();
    thread_.join();
  }
  Watcher(const Watcher&) = delete;
  Watcher& operator=(const Watcher&) = delete;

  void Start() {
    worst_ = 0;
    watching_ = true;
  }
  // The longest wait; an ask still underway is answered first.
  double Stop() {
    watching_ = false;
    Settle();
    return worst_;
  }

 private:
  void Settle() {
    MSG msg;
    while (busy_) {
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      Sleep(1);
    }
  }
  std::atomic<bool> stop_{false}, watching_{false}, busy_{false};
  std::atomic<double> worst_{0};
  std::thread thread_;
};

struct Figures {
  double seconds = 1e30, worstMs = 0;
  int entries = 0;
};

int Run(int images, int runs, const std::string& folderPath) {
  testenv::ProgramFixture fixture;
  fixture.registry.WriteText(std::string(app::kProgramKeyPath) + "\\Program",
                             app::names::kRestartChange, "0");
  const Folder folder(folderPath, images);
  platform::seams().windowsDirectory = [&folder] { return folder.path(); };
  // Start-up fills the list from the folder itself (there is no list file yet): the
  // folder's entries are in the system's cache for the timed rounds, as they would be.
  fixture.Start();
  app::TForm1& form = fixture.form1();
  form.TimedChange->SetEnabled(false);
  Watcher watcher(form.hwnd());
  auto measure = [&](bool sorted) {
    Figures best;
    form.FileList->SetSorted(sorted);
    for (int r = 0; r < runs; ++r) {
      form.FileList->Clear();
      watcher.Start();
      const Clock::time_point start = Clock::now();
      form.FillWithWindowsImages();
      const double seconds = MsSince(start) / 1000.0;
      const double worst = watcher.Stop();
      best.seconds = std::min(best.seconds, seconds);
      best.worstMs = std::max(best.worstMs, worst);
      best.entries = form.FileList->Count();
    }
    return best;
  };
  const Figures plain = measure(false);
  const Figures sorted = measure(true);
  if (plain.entries != images || sorted.entries != images) {
    throw std::runtime_error("the list holds " + std::to_string(plain.entries) + " and " +
                             std::to_string(sorted.entries) + " entries");
  }
  std::printf("FILL %d %d %.3f %.1f %.3f %.1f\n", images, plain.entries, plain.seconds,
              plain.worstMs, sorted.seconds, sorted.worstMs);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::Main("bench_fill", argc == 4, "IMAGES RUNS FOLDER",
                     [&] { return Run(std::atoi(argv[1]), std::atoi(argv[2]), argv[3]); });
}
