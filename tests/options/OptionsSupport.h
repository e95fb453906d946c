#pragma once
// Shared pieces of the options tests: a stand-in for the Media Control Interface, the
// program with its password windows, and input as a user gives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/SettingNames.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "security/Unit4.h"
#include "security/Unit5.h"
#include "tests/support/win/TestEnv.h"
#include "platform/Seams.h"

namespace optionstest {

// Answers the sound device's requests in place of the system: Wine here has no audio
// device, so the device logic is observed at the mciSend seam.
class FakeMci {
 public:
  struct Call {
    MCIDEVICEID id;
    UINT msg;
    DWORD_PTR flags;
    std::string element;  // MCI_OPEN
    DWORD_PTR callback;   // MCI_PLAY
  };
  FakeMci();
  ~FakeMci();
  FakeMci(const FakeMci&) = delete;
  FakeMci& operator=(const FakeMci&) = delete;

  std::vector<UINT> Messages() const;
  int Count(UINT msg) const;
  std::string LastOpened() const;

  std::vector<Call> calls;
  std::set<std::string> refused;  // element names whose open fails with openError
  MCIERROR openError = MCIERR_INVALID_FILE;
  DWORD position = 0;
  DWORD length = 1000;
  std::set<MCIDEVICEID> openDevices;

 private:
  MCIERROR Send(MCIDEVICEID id, UINT msg, DWORD_PTR flags, DWORD_PTR params);
  decltype(platform::Seams::mciSend) saved_;
  MCIDEVICEID nextId_ = 7;
};

// The program over a scratch registry and temporary folders, with the password windows
// attached as main() attaches them. Prepare the registry and the folders, then Start().
class OptionsTest : public ::testing::Test {
 protected:
  ~OptionsTest() override;
  // With two pictures in the Windows directory (so the start-up preview succeeds), no
  // start-up change and no slide animation unless the registry says otherwise.
  void Start();
  app::TForm1& form1() { return program.form1(); }
  app::TForm3& form3() { return program.form3(); }
  std::string Stored(const char* section, const char* name) const;
  void Store(const char* section, const char* name, const std::string& value);

  FakeMci mci;  // first: the program's device closes through it when the program ends
  testenv::ProgramFixture program;
  std::unique_ptr<security::TForm4> form4;
  std::unique_ptr<security::TForm5> form5;
  std::string imageA, imageB;
};

std::string SectionKey(const char* section);

// A click of the button as the window system reports it to the button's parent.
void Click(ui::Button& button);
// Characters typed into a field one by one (so its length limit applies).
void Type(ui::Edit& edit, const std::string& text);
// A mouse press and release over the box.
void MouseClick(ui::CheckBox& box, bool rightButton = false);
// The space bar pressed and released on the box.
void KeyToggle(ui::CheckBox& box);
// A key as the message loop hands it to the dialog manager.
bool DialogKey(HWND dialog, HWND focus, WPARAM key);

}  // namespace optionstest
