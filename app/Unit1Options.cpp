// Done and Cancel, the change sound, the password and the autostart entry.
#include <utility>

#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/SettingNames.h"
#include "integration/Autostart.h"
#include "integration/SoundDevice.h"
#include "security/Unit4.h"
#include "security/Unit5.h"
#include "security/StoredPassword.h"
#include "ui/ErrorBox.h"
#include "platform/Paths.h"
#include "platform/Seams.h"
#include "platform/core/PathText.h"
#include "platform/core/Error.h"

namespace app {

namespace {

constexpr char kInformationCaption[] = "Important Information";
constexpr char kInformationText[] =
    "If your spyware-detection-software or your AntiVirus program asks if Papershift7 is "
    "entitled to do system-changes, then please reply: \"yes\"!";
constexpr char kRestrictionsCaption[] = "System Restrictions";
constexpr char kRestrictedUseText[] =
    "Due to restrictions in your system, you are not entitled to use this option. Please "
    "contact your System Administrator!";
constexpr char kRestrictedChangeText[] =
    "Due to restrictions in your system, you are not entitled to change this option. Please "
    "contact your System Administrator!";

// "wave files|*.wav" in the dialog's own form.
constexpr char kSoundFilter[] = "wave files\0*.wav\0";
constexpr DWORD kSoundDialogMaxPath = 32768;

// Sound failures at start and at Cancel are passed over: changes are then silent.
void TryOpen(integration::SoundDevice& sound) {
  try {
    sound.Open();
  } catch (const platform::Error&) {
  }
}

// The file the device plays for a "SoundFileName" value.
std::string SoundFileFor(const std::string& soundName) {
  if (soundName != kDefaultSound) return soundName;
  return integration::DefaultSoundFile(platform::seams().windowsDirectory());
}

}  // namespace

// ---- Done and Cancel ----

void TForm1::BtDoneClick() {
  SaveAllSettings();
  // With nothing selected (an empty list is a normal state) there is nothing to install;
  // the list is still written and the window closes.
  if (FileList->ItemIndex() >= 0) ApplySelected();
  atShow_.reset();
  if (!WriteCurrentListFile()) ShowKeptListNotice();
  const bool timed = TimeChangeCh->Checked();
  // Off first, so the next timed change comes one full interval after Done even when the
  // timer was running.
  TimedChange->SetEnabled(false);
  TimedChange->SetEnabled(timed);
  MinuteSpin->SetEnabledBoth(timed);
  HideSettings();
}

void TForm1::BtCancelClick() {
  RestoreAllSettings();
  SetStyleTexts(WPStyle->ItemIndex());
  if (FileList->ItemIndex() >= 0) ApplySelected();
  EndVisit();
  HideSettings();
}

void TForm1::RestoreAllSettings() {
  SettingsStore& s = Store();
  const int storedIndex = s.ReadInteger(kSectionProgram, names::kItemIndex, 0);
  FileList->SetItemIndex(storedIndex);
  int selected = FileList->ItemIndex();
  const std::string listFileOfVisit = ListFileName;

  ReadOptionControls();
  ResyncAutostart();
  SoundLabel2 = s.ReadString(kSectionProgram, names::kSoundFileName, kDefaultSound);
  // The label and the device follow the restored value as at start, so that what the
  // window shows is what plays.
  SoundLabel->SetText(SoundLabel2 == kDefaultSound ? std::string(kDefaultSound)
                                                   : platform::FileNameOf(SoundLabel2));
  if (const std::string file = SoundFileFor(SoundLabel2);
      file != Sound->FileName() || !Sound->IsOpen()) {
    Sound->Close();
    Sound->SetFileName(file);
    TryOpen(*Sound);
  }
  // The stored marker only says that no list file has been stored yet; the one start-up
  // made (or one loaded since) stays current, or the next Done and Exit would not write the
  // list and the next start would build a fresh one in its place.
  if (std::string stored = s.ReadString(kSectionProgram, names::kFileListSource, kNoListFile);
      stored != kNoListFile) {
    ListFileName = std::move(stored);
  } else if (atShow_) {
    ListFileName = atShow_->file;
  }
  SetStyle(s.ReadInteger(kSectionProgram, names::kWallpaperStyle, kDefaultStyle));
  SortFiles->SetChecked(s.ReadBool(kSectionProgram, names::kFileListSorted, false));

  // Whatever the visit did to the list (a new list, removals, sorting, a load), the list
  // file in force gets its own entries back (after the sorted mode is back): as the window
  // found them, or read again from a file other than the one of the visit's start.
  if (atShow_ && ListFileName == atShow_->file) {
    keptList_ = atShow_->kept;
    if (FileList->Items() != atShow_->entries) {
      FileList->Clear();
      FileList->AddAll(atShow_->entries);
    }
    FileList->SetItemIndex(storedIndex);
    selected = FileList->ItemIndex();
  } else if (ListFileName != listFileOfVisit) {
    try {
      if (ReadListFile(ListFileName)) KeepListFile(ListFileName, KeptWhy::LostCharacters);
      FileList->SetItemIndex(storedIndex);
      selected = FileList->ItemIndex();
    } catch (const platform::Error& e) {
      // The entries stay with the file they came from, so no file is overwritten by
      // another one's entries.
      ListFileName = listFileOfVisit;
      ui::ShowErrorBox(e.what());
    }
  }
  // Sorting may have moved the selection.
  FileList->SetItemIndex(selected);
}

// ---- change sound ----

void TForm1::OpenSoundAtStart() {
  if (Sound->FileName().empty()) Sound->SetFileName(SoundFileFor(kDefaultSound));
  TryOpen(*Sound);
  if (SoundLabel2 != kDefaultSound) {
    Sound->Close();
    Sound->SetFileName(SoundLabel2);
    SoundLabel->SetText(platform::FileNameOf(SoundLabel2));
    TryOpen(*Sound);
  }
}

void TForm1::SoundPopClick() {
  SoundCh->SetChecked(!SoundCh->Checked());
  SoundChClick();
}

void TForm1::SoundBrowseClick() {
  const std::string initialDir = dialogFolder_.Get();
  std::string file(kSoundDialogMaxPath, '\0');
  OPENFILENAMEA ofn{.lStructSize = sizeof(OPENFILENAMEA),
                    .hwndOwner = hwnd(),
                    .lpstrFilter = kSoundFilter,
                    .nFilterIndex = 1,
                    .lpstrFile = file.data(),
                    .nMaxFile = kSoundDialogMaxPath,
                    .lpstrInitialDir = initialDir.c_str(),
                    .Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                             OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR};
  {
    const Requests::Scope open = requests_->Open(Opened::FileDialog);
    if (!open || !platform::seams().fileDialog(ofn, false)) return;
  }
  file.resize(file.find('\0'));
  dialogFolder_.Remember(file);
  Sound->Close();
  SoundLabel2 = file;
  setByUser_.insert(names::kSoundFileName);
  SoundLabel->SetText(platform::FileNameOf(file));
  Sound->SetFileName(file);
  // A refused file is reported here, once; the device stays closed and changes are silent.
  Sound->Open();
}

// ---- password ----

void TForm1::Button1Click() {
  // Also brings an open dialog back to the front.
  if (setPasswordForm_) setPasswordForm_->BringToFront();
  messages_.StayAbove();
}

void TForm1::StorePassword(const std::string& newPassword) {
  // Stored first: a password that could not be stored must not be in force for this run and
  // gone at the next start.
  std::string stored = security::StoredFromPassword(newPassword);
  Store().WriteString(kSectionSecurity, names::kPassword, stored);
  storedPassword_ = std::move(stored);
  password_ = newPassword;
  if (setPasswordForm_) setPasswordForm_->ClearFields();
}

// ---- autostart ----

void TForm1::WriteRunValueFor(bool on) {
  const std::string command =
      on ? integration::RunCommand(platform::seams().executablePath()) : std::string();
  integration::WriteRunValue(platform::seams().registryRoot, command);
  runValueOn_ = on;
}

void TForm1::ShowAutostartAsItIs(bool repairStale) {
  const HKEY root = platform::seams().registryRoot;
  const std::string program = platform::seams().executablePath();
  if (repairStale && integration::RunValueIsStale(root, program)) {
    try {
      WriteRunValueFor(true);
    } catch (const platform::Error&) {
      // Left as it is: the box then shows that nothing starts at logon.
    }
  }
  autostart->SetChecked(integration::RunValueStarts(root, program));
  StartChangeCh->SetVisible(autostart->Checked());
}

void TForm1::ResyncAutostart() {
  // Only a Run value that this run wrote is put back; one from before is left as it is.
  if (runValueOn_ && *runValueOn_ != autostart->Checked()) {
    try {
      WriteRunValueFor(autostart->Checked());
    } catch (const std::exception&) {
      ShowMessageWindow(kRestrictionsCaption, kRestrictedChangeText, 1);
    }
  }
  // The stored setting stays for the next Done; the box says what Windows will do.
  ShowAutostartAsItIs(false);
}

void TForm1::autostartMouseUp() {
  // The click (or the space bar) has already given the box its new state.
  const bool on = autostart->Checked();
  try {
    WriteRunValueFor(on);
    if (on) StartChangeCh->SetVisible(true);
    ShowMessageWindow(kInformationCaption, kInformationText, 1);
    if (!on) StartChangeCh->SetVisible(false);
  } catch (const std::exception&) {
    ShowMessageWindow(kRestrictionsCaption, on ? kRestrictedUseText : kRestrictedChangeText, 1);
    // Set from code, the box does not come back here.
    autostart->SetChecked(!on);
    StartChangeCh->SetVisible(!on);
  }
}

}  // namespace app
