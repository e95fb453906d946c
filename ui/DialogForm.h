#pragma once
// A small non-modal dialog built on ui::Form: Enter presses the default button, Escape the
// cancel button (through the dialog manager the message loop runs), and the input focus
// goes back to the field that had it whenever the dialog is activated again.
#include "ui/Controls.h"
#include "ui/Form.h"

namespace ui {

class DialogForm : public Form {
 protected:
  DialogForm() = default;
  // The buttons the dialog manager presses for Enter and Escape (cancel may be null).
  void SetDialogButtons(ui::Button* defaultButton, ui::Button* cancelButton);
  // The control that receives the focus the next time the dialog is activated, and now
  // when it is active already.
  void FocusOn(HWND control);

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND focus_ = nullptr;
};

}  // namespace ui
