// Wallpaper reactions of the settings window: applying, changing, style, colour.
#include "app/Unit1.h"
#include "app/SettingNames.h"
#include "ui/core/Error.h"

namespace app {

void TForm1::ApplyWallpaper(const std::string&, const std::string&, const std::string&) {}
void TForm1::ChangeWallpaper() {}
void TForm1::TimedChangeTimer() { ChangeWallpaper(); }
void TForm1::ChangePopClick() { ChangeWallpaper(); }
void TForm1::InstantChClick() {}
void TForm1::WPStyleChange() { SetStyleTexts(WPStyle->ItemIndex()); }
void TForm1::SetStyleTexts(int) {}
void TForm1::ApplyStyleFromMenu(int) {}
void TForm1::TitlePopClick() { ApplyStyleFromMenu(0); }
void TForm1::CenterPopClick() { ApplyStyleFromMenu(1); }
void TForm1::StreckPopClick() { ApplyStyleFromMenu(2); }
void TForm1::SetDesktopColour(COLORREF) {}
void TForm1::BcBlackClick() {}
void TForm1::BcWhiteClick() {}
void TForm1::BcRedClick() {}
void TForm1::BcBlueClick() {}
void TForm1::BcGreenClick() {}

}  // namespace app
