#pragma once
// The running program for the reliability tests: no start-up change, no sliding, a desktop
// key to write into, one picture in the Windows directory, and the installed wallpapers
// recorded at the SystemParametersInfo seam.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/SettingNames.h"
#include "app/Unit1.h"
#include "tests/support/win/TestEnv.h"
#include "platform/Seams.h"

namespace reliabilitytest {

inline const std::string kProgramSection = std::string(app::kProgramKeyPath) + "\\Program";
inline const std::string kDesktop = "Control Panel\\Desktop";

class Program {
 public:
  Program() {
    fixture.registry.WriteText(kProgramSection, app::names::kRestartChange, "0");
    fixture.registry.WriteText(kProgramSection, app::names::kUseAnimation, "0");
    fixture.registry.WriteText(kDesktop, "Marker", "");
    testenv::WriteTestBmp(fixture.windowsDir.File("start.bmp"), 4, 4, RGB(1, 2, 3));
    platform::seams().systemParametersInfo = [this](UINT, UINT, void* data, UINT) {
      installed.push_back(static_cast<const char*>(data));
      return TRUE;
    };
  }
  void Start() {
    fixture.Start();
    fixture.errors.texts.clear();
    installed.clear();
  }
  app::TForm1& form() { return fixture.form1(); }
  std::vector<std::string>& Errors() { return fixture.errors.texts; }
  void Fill(const std::vector<std::string>& entries) {
    form().FileList->Clear();
    for (const std::string& e : entries) form().FileList->Add(e);
  }
  // The text of the failure of f, "<no error>" when it succeeds.
  static std::string ErrorOf(const std::function<void()>& f);

  std::vector<std::string> installed;  // outlives the fixture, whose seams fill it
  testenv::ProgramFixture fixture;
};

// The process's private bytes (PrivateUsage, or the committed private memory where the
// system gives no figure).
size_t PrivateBytes();

}  // namespace reliabilitytest
