#pragma once
// The set-password dialog "Set Password..": old, new and re-entered password, at most 8
// characters each, shown as '*'. Not modal; hidden, never destroyed, between uses.
#include <memory>
#include <string>

#include "security/PasswordHost.h"
#include "ui/DialogForm.h"
#include "ui/Controls.h"

namespace security {

inline constexpr int kMaxPasswordLength = 8;

class TForm4 : public ui::DialogForm {
 public:
  // Owned by owner (the settings window), so that it stays above it.
  TForm4(PasswordHost& host, HWND owner);

  // "Ok": stores the new password when the old one is right and the new one was entered
  // twice alike; otherwise nothing happens. A password that cannot be stored is refused
  // with a notice.
  void Button1Click();
  // "Cancel": empties the fields and hides the dialog.
  void Button2Click();
  void ClearFields();

  std::unique_ptr<ui::Label> Label1, Label2, Label3;
  std::unique_ptr<ui::Edit> Edit1;  // old
  std::unique_ptr<ui::Edit> Edit2;  // new
  std::unique_ptr<ui::Edit> Edit3;  // re-entered
  std::unique_ptr<ui::Button> Button1, Button2;

 protected:
  void FormShow() override;

 private:
  PasswordHost& host_;
};

// The notice for a password whose character at position (1-based) would be stored as the
// zero character.
inline constexpr char kUnstorableCaption[] = "Password not accepted";
std::string UnstorableText(int position);

}  // namespace security
