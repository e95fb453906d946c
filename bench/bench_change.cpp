// Times one wallpaper change of the running program (Windows build only): from the change
// timer's tick to the return of SystemParametersInfoA, through the program's own objects
// (settings window, scheduler, preview, applier, conversion) on the system's real
// SystemParametersInfoA. The reference is the same file's conversion alone, in the same
// process, into the same place.
//
//   bench_change RUNS FILE...   one line per file (best of RUNS each):
//       CHANGE <file> <change ms> <conversion ms> <preview ms> <system ms> <load ms>
//   "preview" is the settings window's preview of the file alone (the change shows it
//   first); "system" the time spent inside SystemParametersInfoA during the change;
//   "load" a LoadImageA of the installed bitmap from its file into a DIB section, which
//   is what Wine's SystemParametersInfoA does in the calling process. A bitmap is
//   installed as it is: its conversion is 0.
//   bench_change --styles RUNS FILE...   the change in each style (best of RUNS each):
//       STYLE <style> <file> <change ms> <bitmap bytes> <screen bytes> <ahead ms>
//   "bitmap" the size of the file installed by the change, "screen" that of a 24-bit
//   bitmap of the screen's own size, "ahead" the time the program then goes on working
//   in the background on the next change's bitmap (0 for a program that does not).
// Timed changes are on, and each tick waits until the work of the one before has ended,
// as the interval between two ticks (a minute at least) lets it.
//   bench_change --styles --now RUNS FILE...   the same with timed changes off: every change
//       decodes its picture itself, as "Change Image" does when none was made ahead.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/SettingNames.h"
#include "tests/support/win/TestEnv.h"
#include "platform/Handles.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"
#include "wallpaper/JpegConversion.h"
#include "wallpaper/core/WallpaperKind.h"

#include "bench/BenchClock.h"
#include "bench/BenchMain.h"

namespace {

using bench::Clock;
using bench::MsSince;

// Waits for the bitmap made ahead, in a program that makes one.
template <class Form>
void FinishPreparing(Form& form) {
  if constexpr (requires { form.FinishPreparing(); }) form.FinishPreparing();
}

struct Best {
  double change = 1e30, conversion = 1e30, preview = 1e30, system = 1e30, load = 1e30;
};

class ChangeBench {
 public:
  explicit ChangeBench(bool ahead = true) {
    const std::string program = std::string(app::kProgramKeyPath) + "\\Program";
    // No change at start-up and no sliding window; the desktop key exists, so the change
    // writes its values as on a real system.
    fixture_.registry.WriteText(program, app::names::kRestartChange, "0");
    fixture_.registry.WriteText(program, app::names::kUseAnimation, "0");
    fixture_.registry.WriteText("Control Panel\\Desktop", "Wallpaper", "");
    testenv::WriteTestBmp(fixture_.windowsDir.File("start.bmp"), 4, 4, RGB(1, 2, 3));
    platform::seams().systemParametersInfo = [this](UINT action, UINT param, void* data,
                                                    UINT flags) {
      installed_ = static_cast<const char*>(data);
      systemStart_ = Clock::now();
      const BOOL result = SystemParametersInfoA(action, param, data, flags);
      systemEnd_ = Clock::now();
      ++systemCalls_;
      return result;
    };
    fixture_.Start();
    fixture_.errors.texts.clear();
    form().RandomCh->SetChecked(false);
    form().TimeChangeCh->SetChecked(ahead);
    form().TimedChange->SetEnabled(false);
  }

  struct StyleFigures {
    double change = 1e30, ahead = 1e30;
    uintmax_t bytes = 0;
  };

  // The change of the file in the style (0 tiled, 1 centred, 2 stretched), with the size of
  // the bitmap it installs.
  StyleFigures MeasureStyle(const std::string& file, int style, int runs) {
    form().FileList->Clear();
    form().FileList->Add(file);
    form().FileList->SetItemIndex(0);
    form().WPStyle->SetItemIndex(style);
    form().WPStyleChange();
    Change();
    StyleFigures best;
    for (int r = 0; r < runs; ++r) {
      double ahead = 0;
      best.change = std::min(best.change, Change(nullptr, &ahead));
      best.ahead = std::min(best.ahead, ahead);
    }
    best.bytes = std::filesystem::file_size(installed_);
    return best;
  }

  Best Measure(const std::string& file, int runs) {
    form().FileList->Clear();
    form().FileList->Add(file);
    form().FileList->SetItemIndex(0);
    const bool jpeg = wallpaper::WallpaperKindOf(file) == wallpaper::WallpaperKind::Jpeg;
    // One untimed round of each first: the file in the cache, the bitmap in place.
    Change();
    if (jpeg) Convert(file);
    Best best;
    for (int r = 0; r < runs; ++r) {
      double system = 0;
      best.change = std::min(best.change, Change(&system));
      best.system = std::min(best.system, system);
      best.conversion = jpeg ? std::min(best.conversion, Convert(file)) : 0;
      const Clock::time_point start = Clock::now();
      form().FileListClick();
      best.preview = std::min(best.preview, MsSince(start));
      best.load = std::min(best.load, LoadInstalled());
    }
    return best;
  }

 private:
  app::TForm1& form() { return fixture_.form1(); }

  // One tick of the change timer; the time up to the return of SystemParametersInfoA.
  double Change(double* system = nullptr, double* ahead = nullptr) {
    const int calls = systemCalls_;
    const Clock::time_point start = Clock::now();
    form().TimedChange->onTimer();
    const Clock::time_point returned = Clock::now();
    FinishPreparing(form());
    if (ahead) *ahead = MsSince(returned);
    if (!fixture_.errors.texts.empty()) throw std::runtime_error(fixture_.errors.texts.front());
    if (systemCalls_ != calls + 1) throw std::runtime_error("the change installed nothing");
    if (system)
      *system = std::chrono::duration<double, std::milli>(systemEnd_ - systemStart_).count();
    return std::chrono::duration<double, std::milli>(systemEnd_ - start).count();
  }

  double LoadInstalled() {
    const Clock::time_point start = Clock::now();
    platform::UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageA(
        nullptr, installed_.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE)));
    if (!bitmap) throw std::runtime_error("cannot load " + installed_);
    return MsSince(start);
  }

  // The conversion alone, into the place the change writes.
  double Convert(const std::string& file) {
    const Clock::time_point start = Clock::now();
    wallpaper::ConvertForWallpaper(file, fixture_.windowsDir.path(),
                                   platform::seams().perUserFolder());
    return MsSince(start);
  }

  testenv::ProgramFixture fixture_;
  Clock::time_point systemStart_{}, systemEnd_{};
  int systemCalls_ = 0;
  std::string installed_;
};

}  // namespace

int main(int argc, char** argv) {
  const bool styles = argc >= 2 && std::strcmp(argv[1], "--styles") == 0;
  if (styles) {
    --argc;
    ++argv;
  }
  const bool now = styles && argc >= 2 && std::strcmp(argv[1], "--now") == 0;
  if (now) {
    --argc;
    ++argv;
  }
  return bench::Main("bench_change", argc >= 3, "[--styles [--now]] RUNS FILE...", [&] {
    ChangeBench bench(!now);
    if (styles) {
      const int runs = std::max(1, std::atoi(argv[1]));
      const uintmax_t screen = 54 + (GetSystemMetrics(SM_CXSCREEN) * 3 + 3) / 4 * 4 *
                                        static_cast<uintmax_t>(GetSystemMetrics(SM_CYSCREEN));
      for (int style = 0; style < 3; ++style) {
        for (int i = 2; i < argc; ++i) {
          const auto figures = bench.MeasureStyle(argv[i], style, runs);
          std::printf("STYLE %d %s %.2f %ju %ju %.2f\n", style, argv[i], figures.change,
                      figures.bytes, screen, figures.ahead);
          std::fflush(stdout);
        }
      }
      return 0;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    for (int i = 2; i < argc; ++i) {
      const Best best = bench.Measure(argv[i], runs);
      std::printf("CHANGE %s %.2f %.2f %.2f %.2f %.2f\n", argv[i], best.change, best.conversion,
                  best.preview, best.system, best.load);
      std::fflush(stdout);
    }
    return 0;
  });
}
