// Wallpaper reactions of the settings window: applying, changing, style, colour.
#include "app/Unit1.h"
#include "app/SettingNames.h"
#include "integration/SoundDevice.h"
#include "ui/ErrorBox.h"
#include "platform/core/Error.h"
#include "wallpaper/Applier.h"
#include "wallpaper/DesktopColour.h"
#include "wallpaper/JpegConversion.h"
#include "wallpaper/Scheduler.h"
#include "wallpaper/core/WallpaperKind.h"

#include <utility>

namespace app {

namespace {

constexpr char kInvalidCaption[] = "FileName not valid";
constexpr char kInvalidText[] =
    "The selected filename in the list is not a valid imagefile... automatic removal of the "
    "list entery has been done!";

class FormApplyHost final : public wallpaper::ApplyHost {
 public:
  explicit FormApplyHost(TForm1& form) : form_(form) {}
  bool SoundWanted() const override { return form_.SoundCh->Checked(); }
  void PlayChangeSound() override {
    if (form_.Sound) form_.Sound->Play();
  }
  int SelectedIndex() const override { return form_.FileList->ItemIndex(); }
  std::string TakePrepared(const wallpaper::BitmapJob& job) override {
    return form_.TakePrepared(job);
  }
  void StoreItemIndex(int index) override {
    // Without the program key, which start-up has already reported, or with settings that
    // cannot be stored, which Done and Exit say, the wallpaper still changes; only the
    // position in the list is not kept.
    if (!form_.Store().IsOpen()) return;
    try {
      form_.Store().WriteInteger(kSectionProgram, names::kItemIndex, index);
    } catch (const platform::Error&) {
      if (!form_.Store().Locked()) throw;
    }
  }

 private:
  TForm1& form_;
};

class FormChangeList final : public wallpaper::ChangeList {
 public:
  explicit FormChangeList(TForm1& form) : form_(form) {}
  int Count() const override { return form_.FileList->Count(); }
  int Selected() const override { return form_.FileList->ItemIndex(); }
  void Select(int index) override { form_.FileList->SetItemIndex(index); }
  void Preview() override { form_.PreviewForChange(); }
  void ApplySelected() override { form_.ApplySelected(); }
  void DeleteSelected() override {
    form_.FileList->Delete(form_.FileList->ItemIndex());
    form_.FileList->SetItemIndex(-1);
  }
  void NoticeInvalid() override { form_.ShowMessageWindow(kInvalidCaption, kInvalidText, 1); }

 private:
  TForm1& form_;
};

}  // namespace

void TForm1::ApplySelected() {
  ApplyWallpaper(FileList->Item(FileList->ItemIndex()), DS, ST);
}

void TForm1::ApplyWallpaper(const std::string& fileName, const std::string& wallpaperStyle,
                            const std::string& tileWallpaper) {
  FormApplyHost host(*this);
  wallpaper::ApplyWallpaper(fileName, wallpaperStyle, tileWallpaper, host);
  lastApplied_ = AppliedWallpaper{fileName, wallpaperStyle, tileWallpaper};
  PrepareNext();
}

void TForm1::PrepareNext() {
  const int count = FileList->Count();
  if (!TimeChangeCh->Checked() || count == 0) return;
  int next = (FileList->ItemIndex() + 1) % count;
  if (RandomCh->Checked()) next = nextRandom_ = wallpaper::RandomIndex(count);
  const std::string entry = FileList->Item(next);
  if (wallpaper::WallpaperKindOf(entry) != wallpaper::WallpaperKind::Jpeg) return;
  preparer_.Prepare(wallpaper::JobFor(entry, picture::DesktopLayoutOf(DS, ST)));
}

void TForm1::RemakeWallpaperForScreen() {
  if (!lastApplied_) return;
  try {
    wallpaper::RemakeForScreen(lastApplied_->fileName, lastApplied_->wallpaperStyle,
                               lastApplied_->tileWallpaper);
  } catch (const std::exception&) {
    // A picture gone or unwritable since keeps the bitmap made before: the desktop still
    // shows it, only not at the new screen's full size. No box for a change of the display.
  }
}

void TForm1::ChangeWallpaper() {
  FormChangeList list(*this);
  if (RandomCh->Checked()) {
    wallpaper::ChangeAtRandom(list, std::exchange(nextRandom_, -1));
  } else {
    wallpaper::ChangeInListOrder(list);
  }
}

void TForm1::RunReportedChange() {
  try {
    ChangeWallpaper();
  } catch (...) {
    ui::ReportCurrentException();
  }
}

void TForm1::TimedChangeTimer() {
  // Nothing to change to: a tick is not the user's doing, and an error box every interval
  // would be all the user saw of an empty list.
  if (FileList->Count() == 0) return;
  RunReportedChange();
}

void TForm1::ChangePopClick() {
  RunReportedChange();
}

void TForm1::InstantChClick() {
  ApplySelected();
}

void TForm1::WPStyleChange() {
  SetStyleTexts(WPStyle->ItemIndex());
}

void TForm1::SetStyleTexts(int styleIndex) {
  if (const auto texts = wallpaper::StyleTextsOf(styleIndex)) {
    DS = texts->wallpaperStyle;
    ST = texts->tileWallpaper;
  }
}

void TForm1::SetStyle(int styleIndex) {
  if (!wallpaper::StyleTextsOf(styleIndex)) styleIndex = kDefaultStyle;
  WPStyle->SetItemIndex(styleIndex);
  SetStyleTexts(styleIndex);
}

void TForm1::ApplyStyleFromMenu(int styleIndex) {
  WPStyle->SetItemIndex(styleIndex);
  setByUser_.insert(names::kWallpaperStyle);
  SetStyleTexts(styleIndex);
  ApplySelected();
}

void TForm1::TitlePopClick() {
  ApplyStyleFromMenu(0);
}
void TForm1::CenterPopClick() {
  ApplyStyleFromMenu(1);
}
void TForm1::StreckPopClick() {
  ApplyStyleFromMenu(2);
}

void TForm1::SetDesktopColour(COLORREF colour) {
  wallpaper::SetDesktopColour(colour);
}
void TForm1::BcBlackClick() {
  SetDesktopColour(wallpaper::kDesktopBlack);
}
void TForm1::BcWhiteClick() {
  SetDesktopColour(wallpaper::kDesktopWhite);
}
void TForm1::BcRedClick() {
  SetDesktopColour(wallpaper::kDesktopRed);
}
void TForm1::BcBlueClick() {
  SetDesktopColour(wallpaper::kDesktopBlue);
}
void TForm1::BcGreenClick() {
  SetDesktopColour(wallpaper::kDesktopGreen);
}

}  // namespace app
