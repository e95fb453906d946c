#pragma once
// Test environment for in-process tests under Wine: a scratch registry key in place of
// HKEY_CURRENT_USER, temporary folders, captured error boxes, and a running program
// (application window, message window and settings window) on top of them.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/SettingNames.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "ui/Form.h"
#include "platform/Seams.h"

namespace testenv {

// A private key under HKCU\Software\PapershiftTests, deleted before and after; the
// seams' registry root points at it while the object lives.
class ScratchRegistry {
 public:
  ScratchRegistry();
  ~ScratchRegistry();
  HKEY root() const noexcept { return key_; }
  // Whole-key helpers for assertions, relative to the scratch root.
  bool ValueExists(const std::string& subKey, const std::string& name) const;
  std::string ReadText(const std::string& subKey, const std::string& name) const;
  DWORD ValueType(const std::string& subKey, const std::string& name) const;
  void WriteText(const std::string& subKey, const std::string& name, const std::string& value);
  void WriteRaw(const std::string& subKey, const std::string& name, DWORD type, const void* data,
                DWORD size);
  // Gives the key (not its existing subkeys) an access list that lets it be read only, or
  // back one that lets it be written too.
  void SetReadOnly(const std::string& subKey, bool readOnly);
  // Names of the values of a key in the order the registry enumerates them.
  std::vector<std::string> ValueNames(const std::string& subKey) const;
  const std::string& path() const noexcept { return path_; }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

// A fresh folder under the temp folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const noexcept { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Collects the texts of the standard error box instead of showing it.
class ErrorBoxCapture {
 public:
  ErrorBoxCapture();
  ~ErrorBoxCapture();
  std::vector<std::string> texts;
};

// The names of the files directly in a folder (no folders), in the order the system lists them.
std::vector<std::string> FilesIn(const std::string& folder);

// Runs pending messages of this thread (timers included) for about ms milliseconds.
void Pump(DWORD ms = 0);

// The program as main() builds it, over a scratch registry, a temporary Windows
// directory and a temporary working directory. Call Start() after preparing them.
class ProgramFixture {
 public:
  ProgramFixture();
  ~ProgramFixture();
  void Start();
  app::TForm1& form1() { return *form1_; }
  app::TForm3& form3() { return *form3_; }

  ScratchRegistry registry;
  TempDir windowsDir;
  TempDir workDir;
  ErrorBoxCapture errors;

 private:
  std::string savedCwd_;
  std::unique_ptr<ui::Application> app_;
  std::unique_ptr<app::TForm3> form3_;
  std::unique_ptr<app::TForm1> form1_;
};

inline const std::string kProgramSection = std::string(app::kProgramKeyPath) + "\\Program";
inline const std::string kDesktop = "Control Panel\\Desktop";

// The running program with its start-up change turned off (it would move the selection
// and install a wallpaper before the test looks), the wallpapers it installs recorded at
// the SystemParametersInfo seam. Prepare the registry and the folders, then Start().
class Program {
 public:
  Program();
  void Start() { fixture.Start(); }
  app::TForm1& form() { return fixture.form1(); }
  std::vector<std::string> Entries() { return form().FileList->Items(); }
  int Selected() { return form().FileList->ItemIndex(); }
  std::vector<std::string>& Errors() { return fixture.errors.texts; }
  // Replaces the list by these entries.
  void Fill(const std::vector<std::string>& entries);

  std::vector<std::string> installed;  // outlives the fixture, whose seams fill it
  ProgramFixture fixture;
};

// Quieter still: no sliding, so that a test begins from a still window; a desktop key to
// write into; one picture in the Windows directory (a new list is filled from it, and the
// start-up preview needs one).
class QuietProgram : public Program {
 public:
  QuietProgram();
  // Starts the program and forgets what start-up reported and installed.
  void Start();
};

// Writes a small BMP (24-bit) or JPEG file of the given size and colour.
void WriteTestBmp(const std::string& path, int width, int height, COLORREF colour);
void WriteTestJpeg(const std::string& path, int width, int height, COLORREF colour);

}  // namespace testenv
