#pragma once
// A window timer owned by a window object. Re-arming or changing the interval starts a
// new full period; enabling an enabled timer changes nothing.
#include <windows.h>

#include <functional>

namespace ui {

class Window;

// Timer objects take ids from here on; a window may set timers of its own below it.
inline constexpr UINT_PTR kFirstTimerId = 100;

class Timer {
 public:
  Timer(Window& owner, UINT intervalMs, bool enabled);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool Enabled() const noexcept { return enabled_; }
  UINT Interval() const noexcept { return interval_; }
  // "Not enough timers available" when the system refuses the timer.
  void SetEnabled(bool enabled);
  void SetInterval(UINT intervalMs);
  std::function<void()> onTimer;

 private:
  friend class Window;
  void Fire();
  void Update();
  Window& owner_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_;
  bool armed_ = false;
};

}  // namespace ui
