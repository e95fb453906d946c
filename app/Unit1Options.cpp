// Done and Cancel, the change sound, the password and the autostart entry.
#include "app/Unit1.h"
#include "app/SettingNames.h"
#include "integration/SoundDevice.h"
#include "ui/core/Error.h"

namespace app {

void TForm1::BtDoneClick() {}
void TForm1::BtCancelClick() {}
void TForm1::RestoreAllSettings() {}
void TForm1::OpenSoundAtStart() {}
void TForm1::SoundPopClick() {}
void TForm1::SoundBrowseClick() {}
void TForm1::Button1Click() {}
void TForm1::autostartMouseUp() {}
void TForm1::StorePassword(const std::string&) {}

}  // namespace app
