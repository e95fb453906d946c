#include "app/Unit3.h"

#include "platform/Wine.h"
#include "ui/Timer.h"

namespace app {

namespace {
constexpr int kWidth = 380;
constexpr int kHeight = 170;
// Timer of the re-raise: late enough that the window shown after the notice is on the
// screen, soon enough not to be seen.
constexpr UINT_PTR kRaiseTimer = 1;
static_assert(kRaiseTimer < ui::kFirstTimerId, "set by hand, below the timer objects' ids");
constexpr UINT kRaiseDelayMs = 300;
}  // namespace

TForm3::TForm3() {
  CreateForm({.className = "TForm3",
              .caption = "",
              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              .exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
              .width = kWidth,
              .height = kHeight});
  const int cw = ClientWidth();
  const int ch = ClientHeight();
  Memo1 = ui::Make<ui::Edit>(hwnd(),
                             {.x = 8,
                              .y = 8,
                              .width = cw - 16,
                              .height = ch - 50,
                              .style = ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL});
  // Borderless, on the scroll-bar colour.
  SetWindowLongA(Memo1->hwnd(), GWL_EXSTYLE,
                 GetWindowLongA(Memo1->hwnd(), GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  SetWindowPos(Memo1->hwnd(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  bt2 = ui::Make<ui::Button>(
      hwnd(),
      {.caption = "Ok", .x = cw - 168, .y = ch - 34, .width = 75, .height = 25, .isDefault = true});
  bt2->SetVisible(false);
  bt2->onClick = [this] { Hide(); };
  bt1 = ui::Make<ui::Button>(
      hwnd(), {.caption = "Cancel", .x = cw - 85, .y = ch - 34, .width = 75, .height = 25});
  bt1->SetEnabled(false);
  // Enter presses "Ok"; Escape is the close box, which is refused.
  SetDialogButtons(bt2.get(), nullptr);
  MoveTo(ui::CentredOffset(ui::ScreenWidth(), Width()),
         ui::CentredOffset(ui::ScreenHeight(), Height()));
}

void TForm3::ShowNotice(const std::string& caption, const std::string& text, int kind) {
  KeepWithinWorkArea();  // centred once, on the screen as it was then
  Show();
  SetText(caption);
  // Replace the first line, keep any further lines.
  std::string memo = Memo1->Text();
  const size_t lineEnd = memo.find("\r\n");
  Memo1->SetText(lineEnd == std::string::npos ? text : text + memo.substr(lineEnd));
  if (kind == 1) bt2->SetVisible(true);
  FocusOn(bt2->Visible() ? bt2->hwnd() : Memo1->hwnd());
}

void TForm3::StayAbove() {
  // Topmost, the notice stays above the program's other windows by the system's own order.
  // Wine's X11 driver may still put a window shown later above it on the screen; there the
  // notice is shown anew once that window is up.
  if (Visible() && platform::RunningUnderWine()) {
    SetTimer(hwnd(), kRaiseTimer, kRaiseDelayMs, nullptr);
  }
}

LRESULT TForm3::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == Memo1->hwnd()) {
    SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_SCROLLBAR));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
  }
  // A notice dismissed before the re-raise stays dismissed.
  if (msg == WM_SHOWWINDOW && !wp) KillTimer(hwnd(), kRaiseTimer);
  if (msg == WM_TIMER && wp == kRaiseTimer) {
    KillTimer(hwnd(), kRaiseTimer);
    if (!Visible()) return 0;
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ShowWindow(hwnd(), SW_HIDE);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, flags | SWP_SHOWWINDOW);
    return 0;
  }
  return DialogForm::OnMessage(msg, wp, lp);
}

}  // namespace app
