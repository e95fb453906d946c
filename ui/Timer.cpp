#include "ui/Timer.h"

#include "ui/ErrorBox.h"
#include "ui/Window.h"
#include "platform/core/Error.h"

namespace ui {

namespace {
UINT_PTR NextTimerId() {
  static UINT_PTR next = kFirstTimerId;
  return next++;
}
}  // namespace

Timer::Timer(Window& owner, UINT intervalMs, bool enabled)
    : owner_(owner), id_(NextTimerId()), interval_(intervalMs), enabled_(enabled) {
  owner_.timers_[id_] = this;
  Update();
}

Timer::~Timer() {
  if (armed_ && owner_.hwnd()) KillTimer(owner_.hwnd(), id_);
  owner_.timers_.erase(id_);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void Timer::SetInterval(UINT intervalMs) {
  if (intervalMs == interval_) return;
  interval_ = intervalMs;
  Update();
}

void Timer::Update() {
  if (armed_) {
    KillTimer(owner_.hwnd(), id_);
    armed_ = false;
  }
  if (enabled_ && interval_ != 0) {
    if (SetTimer(owner_.hwnd(), id_, interval_, nullptr) == 0) {
      throw platform::Error("Not enough timers available");
    }
    armed_ = true;
  }
}

void Timer::Fire() {
  Guarded([this] {
    if (onTimer) onTimer();
  });
}

}  // namespace ui
