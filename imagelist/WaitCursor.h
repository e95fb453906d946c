#pragma once
// The hourglass pointer for the length of one operation, the previous pointer back at
// its end, on every way out.
#include <windows.h>

namespace imagelist {

class WaitCursor {
 public:
  WaitCursor() noexcept : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace imagelist
