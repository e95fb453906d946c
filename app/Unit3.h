#pragma once
// The message window: the program's one notice window. Created first, so it is the
// application's main window; it refuses every close request.
#include <memory>

#include "ui/Controls.h"
#include "ui/DialogForm.h"

namespace app {

class TForm3 : public ui::DialogForm {
 public:
  TForm3();
  // Shows the window (not modal), sets caption and the memo's first line; kind 1
  // makes "Ok" visible for good.
  void ShowNotice(const std::string& caption, const std::string& text, int kind);
  // Puts an open notice back above a window of the program that was shown after it.
  void StayAbove();

  std::unique_ptr<ui::Edit> Memo1;
  std::unique_ptr<ui::Button> bt2;  // "Ok"
  std::unique_ptr<ui::Button> bt1;  // "Cancel", disabled

 protected:
  void FormClose() override {}  // refuses to close
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace app
