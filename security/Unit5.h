#pragma once
// The password prompt "Password", shown near the notification area before the settings
// window when the password is in use. It always closes with an empty field; only the
// right password opens the settings window.
#include <memory>

#include "ui/DialogForm.h"
#include "ui/Controls.h"

namespace app {
class TForm1;
}

namespace security {

class TForm5 : public ui::DialogForm {
 public:
  explicit TForm5(app::TForm1& settings);

  void Button1Click();

  std::unique_ptr<ui::Edit> Edit1;
  std::unique_ptr<ui::Button> Button1;

 protected:
  void FormShow() override;

 private:
  app::TForm1& settings_;
};

}  // namespace security
