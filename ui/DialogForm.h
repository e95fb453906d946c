#pragma once
// A small non-modal dialog built on ui::Form, with the keyboard of a dialog: Tab and
// Shift+Tab walk the tab stops, Enter presses the default button, Escape the cancel button
// (or, without one, acts as the close box), Ctrl+Tab and Ctrl+Shift+Tab switch pages. Every
// activation and every showing gives a control the focus: the one that had it last, or the
// first tab stop.
#include "ui/Controls.h"
#include "ui/Form.h"

namespace ui {

class DialogForm : public Form {
 public:
  // Keys the dialog manager does not know (Ctrl+Tab); true when the message was used.
  bool PreTranslate(const MSG& msg) override;

 protected:
  DialogForm() = default;
  // The buttons the dialog manager presses for Enter and Escape (cancel may be null).
  void SetDialogButtons(ui::Button* defaultButton, ui::Button* cancelButton);
  // The control that receives the focus the next time the dialog is activated, and now
  // when it is active already.
  void FocusOn(HWND control);
  // The tab control whose pages Ctrl+Tab switches.
  void SetPages(ui::TabControl* pages) { pages_ = pages; }

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void SaveFocus();
  void RestoreFocus();
  HWND focus_ = nullptr;
  ui::TabControl* pages_ = nullptr;
};

}  // namespace ui
