#pragma once
// The settings window. Its controls hold every setting while the program runs, and it
// owns the program's logic and non-visual parts: the timers, the tray icon and its
// menu, the sound device, the preview bitmap, the settings store.
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/Requests.h"
#include "app/SettingsStore.h"
#include "imagelist/FileDialogs.h"
#include "integration/WTaskBar.h"
#include "security/PasswordHost.h"
#include "ui/Controls.h"
#include "ui/ListBox.h"
#include "ui/DialogForm.h"
#include "ui/Form.h"
#include "platform/Handles.h"
#include "ui/Menu.h"
#include "ui/Timer.h"
#include "wallpaper/PreparedBitmap.h"

namespace integration {
class SoundDevice;
}

namespace security {
class TForm4;
class TForm5;
}  // namespace security

namespace app {

class TForm2;
class TForm3;

// Menu image indices of the tray menu.
namespace menuimage {
inline constexpr int kChange = 0;
inline constexpr int kSettings = 2;
inline constexpr int kSoundOff = 5;  // shown while the sound is off: "Enable Sound"
inline constexpr int kSoundOn = 6;   // "Disable Sound"
inline constexpr int kTile = 7;
inline constexpr int kCenter = 8;
inline constexpr int kStretch = 9;
}  // namespace menuimage

class TForm1 : public ui::DialogForm, public security::PasswordHost {
 public:
  // Creates the window and its parts and runs the start-up sequence. Notices go to
  // the message window, which already exists.
  explicit TForm1(TForm3& messageWindow);
  ~TForm1() override;

  // Windows created after this one.
  void AttachSplash(TForm2* splash);
  void AttachPasswordWindows(security::TForm4* setPassword, security::TForm5* prompt);

  // ---- shared operations ----
  void ShowSettings() override;
  void HideSettings();
  void ShowMessageWindow(const std::string& caption, const std::string& text, int kind);
  // A notice with "Ok" in the message window.
  void ShowNotice(const std::string& caption, const std::string& text) override;
  void SaveAllSettings();
  void RestoreAllSettings();
  void ApplyWallpaper(const std::string& fileName, const std::string& wallpaperStyle,
                      const std::string& tileWallpaper);
  // The selected entry in the chosen style ("List index out of bounds" with none).
  void ApplySelected();
  void ChangeWallpaper();
  // The bitmap made ahead for the next timed change, when it fits `job` (see
  // wallpaper::BitmapPreparer); FinishPreparing waits until it is made.
  std::string TakePrepared(const wallpaper::BitmapJob& job) { return preparer_.Take(job); }
  void FinishPreparing() { preparer_.Finish(); }
  // The preview of a change: made in full only while the window is shown. Hidden, the entry
  // is only tested as a picture (the same errors at the same step), and its preview is made
  // when the window is next shown.
  void PreviewForChange();
  void FillWithWindowsImages();
  void StorePassword(const std::string& newPassword) override;
  // Every setting and the list to their places, as "Exit Program" and a log-off do. What
  // cannot be saved is passed over; its texts are returned, each once.
  std::vector<std::string> SaveForExit();

  // ---- event reactions ----
  void FormCreate();
  void BtDoneClick();
  void BtCancelClick();
  void TrayIconDblClick();
  void SettingsPopClick();
  void ChangePopClick();
  void SoundPopClick();
  void TitlePopClick();
  void CenterPopClick();
  void StreckPopClick();
  void BcBlackClick();
  void BcWhiteClick();
  void BcRedClick();
  void BcBlueClick();
  void BcGreenClick();
  void ExitPopClick();
  void Timer1Timer();
  void TimedChangeTimer();
  void InstantChClick();
  void TimeChangeChClick();
  void MinuteSpinChange();
  void WPStyleChange();
  void SortFilesClick();
  void SoundChClick();
  void SoundBrowseClick();
  void PwdCheckClick();
  void Button1Click();
  void autostartMouseUp();
  void addClick();
  void removeClick();
  void ListClearClick();
  void SaveFileClick();
  void LoadFileClick();
  void FileListClick();

  // ---- controls ----
  std::unique_ptr<ui::TabControl> PageControl1;
  std::unique_ptr<ui::Panel> TabSheet1, TabSheet2, TabSheet3, TabSheet4;
  // "Basic Options"
  std::unique_ptr<ui::CheckBox> autostart, SplashCheck, AnimationCheck, PwdCheck;
  std::unique_ptr<ui::Button> Button1;
  // "Change Options"
  std::unique_ptr<ui::Label> Label1, Label2;
  std::unique_ptr<ui::CheckBox> TimeChangeCh;
  std::unique_ptr<ui::SpinEdit> MinuteSpin;
  std::unique_ptr<ui::CheckBox> RandomCh, SortFiles, SoundCh, StartChangeCh;
  std::unique_ptr<ui::Label> SoundLabel;
  std::unique_ptr<ui::Button> SoundBrowse;
  // "File List"
  std::unique_ptr<ui::Label> Label3, Label4;
  std::unique_ptr<ui::ComboBox> WPStyle;
  std::unique_ptr<ui::ListBox> FileList;
  std::unique_ptr<ui::Button> add, ListClear, remove, LoadFile, SaveFile, InstantCh;
  std::unique_ptr<ui::Panel> Panel1, PanelImage_Outer;
  std::unique_ptr<ui::Picture> Image1;
  std::unique_ptr<ui::Hint> Image1Hint;
  // "About"
  std::unique_ptr<ui::Label> ProductLabel, AboutVersion, AboutText;
  std::unique_ptr<ui::Button> BtDone, BtCancel;
  std::unique_ptr<ui::Hint> BtDoneHint, BtCancelHint;

  // Hidden fields.
  std::string VersionLabel;
  std::string ListFileName;
  std::string SoundLabel2;
  std::string DS;
  std::string ST;

  // Non-visual parts.
  std::unique_ptr<ui::Timer> TimedChange;
  std::unique_ptr<ui::Timer> Timer1;
  std::unique_ptr<integration::TWinTaskbar> TrayIcon;
  std::unique_ptr<ui::PopupMenu> PopupMenu1;
  UINT SettingsPop = 0, ChangePop = 0, SoundPop = 0, TitlePop = 0, CenterPop = 0, StreckPop = 0,
       ExitPop = 0;
  std::unique_ptr<integration::SoundDevice> Sound;
  platform::UniqueBitmap PreviewBitmap;
  platform::UniqueBitmap Image2;  // the picture that tested the last loaded list file

  // The store, open for the whole run.
  SettingsStore& Store() noexcept { return *store_; }
  const std::string& Password() const noexcept override { return password_; }
  bool ExitRequested() const noexcept { return exitRequested_; }

 protected:
  void FormClose() override;
  void FormShow() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void CreateTrayIcon();
  void WireEvents();
  void StartupSequence();
  // A setting as SaveAllSettings stores it.
  struct SettingValue {
    const char* section;
    const char* name;
    std::string text;
  };
  // Every setting from its control, in the order SaveAllSettings writes them.
  std::vector<SettingValue> SettingValues() const;
  // Writes the settings. The first failure ends it with its error, unless failures is
  // given: then each failure's text is collected and the rest is still written.
  void WriteSettings(std::vector<std::string>* failures);
  // The boxes and the spin field from "AutoStart" to "ChangeIntervalTime", in their order,
  // with start-up's defaults also for Cancel: an absent value gives the same state either way.
  void ReadOptionControls();
  // "Password" and "UsePwd", also when start-up ends at another value.
  void ReadPasswordAtStart();
  void SetStyleTexts(int styleIndex);
  // The combo and the style texts for a style index; one outside the three styles (a stored
  // "5") gives the default, stretched, so that no empty style text reaches the desktop.
  void SetStyle(int styleIndex);
  static constexpr int kDefaultStyle = 2;
  void ApplyStyleFromMenu(int styleIndex);
  void SetDesktopColour(COLORREF colour);
  void ShowSettingsOrPrompt();
  // Default list at start, then the list file into the list.
  void LoadListAtStart();
  // The default list file for a start without a current list file: an existing one is
  // used, or one is made in the working directory or else in the per-user folder.
  std::string DefaultListAtStart();
  // Writes the list into the current list file (Done and Exit). False when it is not
  // written because that list file is kept (see keptList_).
  bool WriteCurrentListFile();
  // The text that says the list is not being saved, the first time it is asked for;
  // empty after that, so Done and Exit say it once.
  std::string TakeKeptListNotice();
  // Done's way to say it: the message window.
  void ShowKeptListNotice();
  // True when entries lost characters to the code page (see ReadListFileEntries).
  bool ReadListFile(const std::string& path);
  void WriteListFile(const std::string& path);
  void SlideBy(int steps, int delta);
  // Every request of the user, the timer and the system goes through here.
  std::unique_ptr<Requests> requests_;
  // A handler that asks for reaction as request.
  std::function<void()> Asking(Request request, void (TForm1::*reaction)());
  // Runs a file dialog as something open; as cancelled (an empty result) while the program
  // is ending.
  template <typename Dialog>
  auto ChooseFile(Dialog&& dialog) -> decltype(dialog()) {
    const Requests::Scope open = requests_->Open(Opened::FileDialog);
    return open ? dialog() : decltype(dialog())();
  }
  // A close request from outside: saves as a log-off does and ends.
  void EndAsLogOff();
  // Ends the program's message loop.
  void EndProgram();
  // Sets a flag for its lifetime.
  struct FlagScope {
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    bool& flag_;
  };
  // A show or hide under way, and the state last asked for.
  bool showing_ = false;
  bool wantShown_ = false;
  // Opens the sound device on its file at start; failures are passed over silently.
  void OpenSoundAtStart();

  // ---- image list and preview state ----
  void ShowPendingPreview();
  // The rest of FileListClick once the previous bitmap is put aside: path into the preview.
  void ShowPreview(const std::string& path);
  // The entry whose preview is due at the next show; empty when none is.
  std::string pendingPreview_;
  // The picture Image1 shows while PreviewBitmap is empty: a preview frees PreviewBitmap
  // first, and one that fails must leave the previous picture on show.
  platform::UniqueBitmap shownBitmap_;
  // The size of the preview frame (PanelImage_Outer's client area).
  SIZE PreviewFrameSize() const;
  // Why Done and Exit leave the current list file alone until the user makes a list
  // current again: a stored list file that start-up could not read (locked, on a drive or
  // share not there yet), whose list would be lost when the drive comes back; no list
  // file at all since one failed its test on "load file list..", when the list would be
  // saved nowhere; or a list file whose names lost characters to the code page when read,
  // which writing would take from the file. Each time the user is told once.
  enum class KeptWhy { Unread, NoListFile, LostCharacters };
  struct KeptList {
    std::string file;
    KeptWhy why;
  };
  std::optional<KeptList> keptList_;
  bool keptListSaid_ = false;
  void KeepListFile(std::string file, KeptWhy why);
  // The list and the change timer as the settings window found them, which Cancel (the
  // timer also the close box) puts back; held during a visit.
  struct AtShow {
    std::vector<std::string> entries;
    std::string file;
    std::optional<KeptList> kept;
    bool timerOn = false;
  };
  std::optional<AtShow> atShow_;
  // Cancel and the close box: timed changes run again as before the visit.
  void EndVisit();

  // ---- wallpaper state ----
  // The last apply that succeeded, made again for a larger screen after a display change.
  struct AppliedWallpaper {
    std::string fileName, wallpaperStyle, tileWallpaper;
  };
  std::optional<AppliedWallpaper> lastApplied_;
  void RemakeWallpaperForScreen();
  // With timed changes on: the entry the next tick takes (drawn already, at random), its
  // bitmap made ahead.
  wallpaper::BitmapPreparer preparer_;
  int nextRandom_ = -1;
  void PrepareNext();
  // Runs ChangeWallpaper and shows its error.
  void RunReportedChange();

  // ---- options state (Done/Cancel, sound, password, autostart) ----
  // Writes the Run value for the box's state (the path, or empty text).
  void WriteRunValueFor(bool on);
  // The box ticked exactly when Windows starts this program at logon, StartChangeCh with
  // it; with repairStale, a Run value naming this program's old place is brought up to date.
  void ShowAutostartAsItIs(bool repairStale);
  // Cancel: the Run value back in step with the restored box, StartChangeCh with both.
  void ResyncAutostart();
  // What the Run value says since this run last wrote it; unknown before.
  std::optional<bool> runValueOn_;

  TForm3& messages_;
  TForm2* splash_ = nullptr;
  security::TForm4* setPasswordForm_ = nullptr;
  security::TForm5* promptForm_ = nullptr;
  std::unique_ptr<SettingsStore> store_;
  std::string storedPassword_;
  std::string password_;
  int nextIndex_ = 0;
  bool exitRequested_ = false;
  // Where the next file dialog opens.
  imagelist::DialogFolder dialogFolder_;
  // No settings of this user existed: the icon says once where it is.
  bool firstStart_ = false;
  // The settings as start-up left the controls: a value start-up did not reach and the user
  // has not changed since is not written back.
  std::vector<SettingValue> startupValues_;
  // Failures of start-up's preview and change, reported once start-up is over.
  std::vector<std::exception_ptr> startupReports_;
  // The store's refusal has been said (by Done or Exit).
  bool lockedSaid_ = false;
  // Value names of the settings set since start-up.
  std::set<std::string> setByUser_;
  platform::UniqueIcon programIcon_;
  platform::UniqueBitmap menuImages_;
};

}  // namespace app
