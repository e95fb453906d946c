#pragma once
// One move-only RAII template for every kind of OS handle, one alias per kind, and
// guards for paired calls. Cleanup keeps the caller's GetLastError value intact.
#include <windows.h>
#include <mmsystem.h>

#include <utility>

namespace platform {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(pointer h) noexcept : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  pointer get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
  pointer release() noexcept { return std::exchange(h_, Traits::invalid()); }
  void reset(pointer h = Traits::invalid()) noexcept {
    if (h_ != Traits::invalid()) {
      const DWORD saved = GetLastError();
      Traits::close(h_);
      SetLastError(saved);
    }
    h_ = h;
  }
  // For out-parameters of API calls: releases what is held first.
  pointer* put() noexcept {
    reset();
    return &h_;
  }

 private:
  pointer h_ = Traits::invalid();
};

namespace traits {
template <typename T, auto Close, T Invalid = T{}>
struct Simple {
  using type = T;
  static constexpr T invalid() noexcept { return Invalid; }
  static void close(T h) noexcept { Close(h); }
};
struct File {
  using type = HANDLE;
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct FindFile {
  using type = HANDLE;
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { FindClose(h); }
};
template <typename T>
struct GdiObject {
  using type = T;
  static constexpr T invalid() noexcept { return nullptr; }
  static void close(T h) noexcept { DeleteObject(h); }
};
// A child or owned window also goes with its parent or owner; one already gone that way is
// passed over.
struct Window {
  using type = HWND;
  static constexpr HWND invalid() noexcept { return nullptr; }
  static void close(HWND h) noexcept {
    if (IsWindow(h)) DestroyWindow(h);
  }
};
struct MciDevice {
  using type = MCIDEVICEID;
  static constexpr MCIDEVICEID invalid() noexcept { return 0; }
  static void close(MCIDEVICEID id) noexcept;  // MCI_CLOSE, waiting
};
}  // namespace traits

using UniqueHKey = UniqueHandle<traits::Simple<HKEY, RegCloseKey>>;
using UniqueFile = UniqueHandle<traits::File>;
using UniqueFindFile = UniqueHandle<traits::FindFile>;
using UniqueBitmap = UniqueHandle<traits::GdiObject<HBITMAP>>;
using UniqueFont = UniqueHandle<traits::GdiObject<HFONT>>;
using UniqueDC = UniqueHandle<traits::Simple<HDC, DeleteDC>>;
using UniqueIcon = UniqueHandle<traits::Simple<HICON, DestroyIcon>>;
using UniqueMenu = UniqueHandle<traits::Simple<HMENU, DestroyMenu>>;
using UniqueWindow = UniqueHandle<traits::Window>;
using UniqueMci = UniqueHandle<traits::MciDevice>;

// GetDC / ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// SelectObject, restored at scope end.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint / EndPaint.
class PaintGuard {
 public:
  explicit PaintGuard(HWND hwnd) noexcept : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
  PaintGuard(const PaintGuard&) = delete;
  PaintGuard& operator=(const PaintGuard&) = delete;
  ~PaintGuard() { EndPaint(hwnd_, &ps_); }
  HDC dc() const noexcept { return ps_.hdc; }
  const RECT& rect() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
};

}  // namespace platform
