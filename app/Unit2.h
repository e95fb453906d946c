#pragma once
// The splash window: a 300 x 200 picture without border or caption, shown once shortly
// after start; its own close timer hides it again. The picture is held only while the
// splash can still show.
#include <functional>
#include <memory>

#include "ui/Form.h"
#include "platform/Handles.h"
#include "ui/Timer.h"

namespace app {

class TForm2 : public ui::Form {
 public:
  TForm2();
  std::unique_ptr<ui::Timer> Timer1;  // close timer
  // Runs when the splash is shown (the settings window stops its splash timer).
  std::function<void()> onShown;
  // Whether the splash may still be shown later. Once it cannot, the close timer stops at
  // its next tick: a program idling in the notification area should not keep waking.
  std::function<bool()> mayShowLater;
  bool HasPicture() const noexcept { return static_cast<bool>(picture_); }

 protected:
  void FormShow() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Timer1Timer();
  platform::UniqueBitmap picture_;
};

}  // namespace app
