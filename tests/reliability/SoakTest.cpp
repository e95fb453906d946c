// Many wallpaper changes in one process: GDI and USER objects and private bytes must level
// off after the first fifth of the run.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Support.h"
#include "platform/Handles.h"

namespace {

// Wine's GetGuiResources gives 0. The GDI handle table the system maps into every process
// (PEB GdiSharedHandleTable, 24-byte entries on 64-bit) is counted instead: entries of this
// process with a type. The count is checked against bitmaps made on purpose before use.
int CountGdiFromTable() {
  const BYTE* peb = nullptr;
  asm("movq %%gs:0x60, %0" : "=r"(peb));
  const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
  if (!table) return -1;
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(table, &info, sizeof(info))) return -1;
  const size_t readable =
      static_cast<size_t>(static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize - table);
  const size_t entries = readable / 24 < 0x10000 ? readable / 24 : 0x10000;
  const WORD pid = static_cast<WORD>(GetCurrentProcessId());
  int count = 0;
  for (size_t i = 0; i < entries; ++i) {
    const BYTE* e = table + i * 24;
    const WORD owner = *reinterpret_cast<const WORD*>(e + 8);
    const DWORD type = *reinterpret_cast<const DWORD*>(e + 12);
    if ((type & 0x00ff0000) != 0 && (owner == pid || owner == 0) &&
        *reinterpret_cast<const UINT64*>(e) != 0) {
      ++count;
    }
  }
  return count;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  EnumChildWindows(hwnd, CountWindow, counter);
  return TRUE;
}

// The windows of this thread with their children (Wine has no USER object count).
int CountThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

struct Figures {
  int gdi;
  int user;
  size_t privateBytes;
  DWORD kernelHandles;
};

class Counter {
 public:
  Counter() {
    gdiReal_ = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0;
    userReal_ = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) != 0;
    if (!gdiReal_) tableWorks_ = Calibrate();
  }
  bool GdiCountable() const { return gdiReal_ || tableWorks_; }
  const char* GdiSource() const { return gdiReal_ ? "GetGuiResources" : "GDI handle table"; }
  const char* UserSource() const { return userReal_ ? "GetGuiResources" : "windows of the thread"; }
  Figures Now() const {
    Figures f{};
    f.gdi = gdiReal_ ? static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
                     : CountGdiFromTable();
    f.user = userReal_ ? static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
                       : CountThreadWindows();
    f.privateBytes = reliabilitytest::PrivateBytes();
    GetProcessHandleCount(GetCurrentProcess(), &f.kernelHandles);
    return f;
  }

 private:
  static bool Calibrate() {
    const int before = CountGdiFromTable();
    if (before < 0) return false;
    {
      platform::UniqueBitmap made[10];
      for (auto& b : made) b.reset(CreateBitmap(4, 4, 1, 32, nullptr));
      const int during = CountGdiFromTable();
      std::printf("[ figures  ] GDI table calibration: %d before, %d with 10 bitmaps\n", before,
                  during);
      if (during != before + 10) return false;
    }
    return CountGdiFromTable() == before;
  }
  bool gdiReal_ = false;
  bool userReal_ = false;
  bool tableWorks_ = false;
};

int SoakChanges() {
  char text[16] = {};
  const DWORD length = GetEnvironmentVariableA("PS_SOAK_CHANGES", text, sizeof(text));
  if (length > 0 && length < sizeof(text)) {
    const int n = std::atoi(text);
    if (n >= 10) return n;
  }
  return 300;
}

TEST(Soak, ChangesLeakNoObjectsAndNoMemory) {
  const int changes = SoakChanges();
  const int warmUp = changes / 5;
  testenv::QuietProgram program;
  testenv::TempDir pictures;
  const std::string jpeg = pictures.File("photo.jpg");
  const std::string bmp = pictures.File("plain.bmp");
  testenv::WriteTestJpeg(jpeg, 320, 240, RGB(20, 120, 220));
  testenv::WriteTestBmp(bmp, 160, 120, RGB(220, 20, 20));
  program.Start();
  program.Fill({jpeg, bmp});
  program.form().FileList->SetItemIndex(1);

  const Counter counter;
  ASSERT_TRUE(counter.GdiCountable()) << "no way to count GDI objects here";
  Figures start{}, afterWarmUp{}, end{};
  start = counter.Now();
  const DWORD started = GetTickCount();
  for (int i = 0; i < changes; ++i) {
    program.form().ChangeWallpaper();
    if (i % 50 == 0) testenv::Pump();
    if (i + 1 == warmUp) afterWarmUp = counter.Now();
  }
  testenv::Pump();
  end = counter.Now();
  const DWORD took = GetTickCount() - started;

  ASSERT_EQ(program.installed.size(), static_cast<size_t>(changes));
  // From the bitmap at 1: the JPEG (through its converted bitmap), then the bitmap.
  EXPECT_NE(program.installed[0], jpeg);
  EXPECT_EQ(program.installed[1], bmp);
  EXPECT_TRUE(program.Errors().empty());

  std::printf(
      "[ figures  ] %d changes in %lu ms\n"
      "[ figures  ] GDI objects (%s): %d at start, %d after %d, %d at end\n"
      "[ figures  ] USER objects (%s): %d at start, %d after %d, %d at end\n"
      "[ figures  ] private bytes: %zu at start, %zu after %d, %zu at end\n"
      "[ figures  ] kernel handles: %lu at start, %lu after %d, %lu at end\n",
      changes, static_cast<unsigned long>(took), counter.GdiSource(), start.gdi, afterWarmUp.gdi,
      warmUp, end.gdi, counter.UserSource(), start.user, afterWarmUp.user, warmUp, end.user,
      start.privateBytes, afterWarmUp.privateBytes, warmUp, end.privateBytes,
      static_cast<unsigned long>(start.kernelHandles),
      static_cast<unsigned long>(afterWarmUp.kernelHandles), warmUp,
      static_cast<unsigned long>(end.kernelHandles));
  std::fflush(stdout);

  // Bounds over the last four fifths.
  EXPECT_LE(end.gdi, afterWarmUp.gdi + 5);
  EXPECT_LE(end.user, afterWarmUp.user + 5);
  EXPECT_LE(end.kernelHandles, afterWarmUp.kernelHandles + 5);
  EXPECT_LE(end.privateBytes, afterWarmUp.privateBytes + 2u * 1024 * 1024);
}

}  // namespace
