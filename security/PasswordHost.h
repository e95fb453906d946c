#pragma once
// What the password windows ask of the settings window. They reach it only through this,
// so security/ does not depend on app/.
#include <string>

namespace security {

class PasswordHost {
 public:
  // The password in force; empty when none is set.
  virtual const std::string& Password() const noexcept = 0;
  // Makes newPassword the one in force and stores it.
  virtual void StorePassword(const std::string& newPassword) = 0;
  // Opens the settings window.
  virtual void ShowSettings() = 0;
  // A notice the user confirms with "Ok".
  virtual void ShowNotice(const std::string& caption, const std::string& text) = 0;

 protected:
  // Not owned through this interface.
  ~PasswordHost() = default;
};

}  // namespace security
