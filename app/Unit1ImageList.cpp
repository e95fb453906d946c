// Image list, list files and preview reactions of the settings window.
#include "app/Unit1.h"
#include "app/SettingNames.h"
#include "ui/core/Error.h"

namespace app {

void TForm1::LoadListAtStart() {}
void TForm1::WriteCurrentListFile() {}
void TForm1::ReadListFile(const std::string&) {}
void TForm1::WriteListFile(const std::string&) {}
void TForm1::FillWithWindowsImages() {}
void TForm1::addClick() {}
void TForm1::removeClick() {}
void TForm1::ListClearClick() { FileList->Clear(); }
void TForm1::SaveFileClick() {}
void TForm1::LoadFileClick() {}
void TForm1::FileListClick() {}

}  // namespace app
