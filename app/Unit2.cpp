#include "app/Unit2.h"

#include "resources/resource.h"
#include "ui/Picture.h"

namespace app {

namespace {
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 200;
// The splash hides again this long after it shows.
constexpr UINT kCloseAfterMs = 4000;
}  // namespace

TForm2::TForm2() {
  CreateForm({.className = "TForm2",
              .caption = "",
              .style = WS_POPUP,
              .exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
              .width = kClientWidth,
              .height = kClientHeight});
  MoveTo(ui::CentredOffset(ui::ScreenWidth(), Width()),
         ui::CentredOffset(ui::ScreenHeight(), Height()));
  Timer1 = std::make_unique<ui::Timer>(*this, kCloseAfterMs, true);
  Timer1->onTimer = [this] { Timer1Timer(); };
}

void TForm2::Timer1Timer() {
  // Closing the splash hides it; a hidden splash stays hidden.
  if (Visible()) Hide();
  if (!mayShowLater || !mayShowLater()) {
    Timer1->SetEnabled(false);
    picture_.reset();  // the splash is over for this run
  }
}

void TForm2::FormShow() {
  // The picture is read when the splash first shows, not kept from the start: with the
  // splash off it is never needed.
  if (!picture_) {
    try {
      picture_ = ui::LoadJpegResource(IDR_SPLASH);
    } catch (...) {
      // A splash without its picture still shows the window's background.
    }
  }
  if (onShown) onShown();
}

LRESULT TForm2::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    platform::PaintGuard paint(hwnd());
    if (picture_) ui::DrawBitmap(paint.dc(), picture_.get(), 0, 0, kClientWidth, kClientHeight);
    return 0;
  }
  return Form::OnMessage(msg, wp, lp);
}

}  // namespace app
