#pragma once
// The password prompt "Password", shown near the notification area before the settings
// window when the password is in use. It always closes with an empty field; only the
// right password opens the settings window.
#include <memory>

#include "security/PasswordHost.h"
#include "ui/DialogForm.h"
#include "ui/Controls.h"

namespace security {

class TForm5 : public ui::DialogForm {
 public:
  explicit TForm5(PasswordHost& host);

  void Button1Click();

  std::unique_ptr<ui::Edit> Edit1;
  std::unique_ptr<ui::Button> Button1;

 protected:
  void FormShow() override;

 private:
  PasswordHost& host_;
};

}  // namespace security
