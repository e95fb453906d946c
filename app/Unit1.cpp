#include "app/Unit1.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "app/SettingNames.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/core/Slide.h"
#include "integration/SoundDevice.h"
#include "resources/resource.h"
#include "security/Unit4.h"
#include "security/Unit5.h"
#include "security/StoredPassword.h"
#include "platform/AppTitle.h"
#include "ui/ErrorBox.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"

namespace app {

namespace {

constexpr int kWidth = 490;
constexpr int kHeight = 400;

// Layout of the pages, in page coordinates.
constexpr int kCheckHeight = 20;
constexpr int kButtonHeight = 24;

constexpr UINT kMsPerMinute = 60000;
// The change interval until the stored one is read, and when none is stored.
constexpr int kDefaultChangeMinutes = 15;
constexpr UINT kTimedChangeDefaultMs = kDefaultChangeMinutes * kMsPerMinute;
// The splash shows this long after start-up.
constexpr UINT kSplashDelayMs = 2000;
// Posted to answer the requests that waited for what was open.
constexpr UINT kAnswerWaitingMessage = WM_APP + 1;

// A start with no picture at all: a machine whose Windows directory and system wallpapers
// hold none, or a list file that is empty.
constexpr char kNoPicturesCaption[] = "No pictures yet";
constexpr char kNoPicturesText[] =
    "Your image list is empty, so Papershift 7 does not change the wallpaper yet. To add "
    "pictures, double-click the Papershift 7 icon in the notification area, open the page "
    "\"File List\", press \"add file(s)..\" (or \"load file list..\"), click a picture in "
    "the list and press \"Done\".";

// Windows 10 and 11 put a new icon out of sight, behind the arrow beside the clock.
constexpr char kWhereTitle[] = "Papershift 7 is running";
constexpr char kWhereText[] =
    "Its icon is here in the notification area. If you do not see it, click the arrow beside "
    "the clock. Double-click the icon for the settings, right-click it for its menu.";

constexpr char kSettingsLockedCaption[] = "Settings not stored";
std::string SettingsLockedText() {
  return std::string("Your settings cannot be stored: the registry key HKEY_CURRENT_USER\\") +
         kProgramKeyPath +
         " can be read but not written (an administrator may have locked it). The settings "
         "you make stay in force until the program ends.";
}

// The text of a caught failure, as its error box would show it.
std::string WhatOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return {};
  }
}

}  // namespace

TForm1::TForm1(TForm3& messageWindow)
    : VersionLabel(kVersion),
      ListFileName(kNoListFile),
      SoundLabel2(kDefaultSound),
      messages_(messageWindow) {
  programIcon_.reset(
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAINICON),
                                    IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
  CreateForm({.className = "TForm1",
              .caption = platform::kAppTitle,
              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              .width = kWidth,
              .height = kHeight,
              .icon = programIcon_.get()});
  requests_ = std::make_unique<Requests>(Requests::Actions{
      .answerLater = [this] { PostMessageA(hwnd(), kAnswerWaitingMessage, 0, 0); },
      .boxOwner = [this] { return Visible() ? hwnd() : nullptr; },
      .ended =
          [] {
            const ui::Application* app = ui::Application::Instance();
            return app && app->Terminated();
          }});
  // The icon first: it is what the user waits for at start, and nothing reaches it before
  // the message loop (or a start-up step that lets messages through) runs.
  CreateTrayIcon();
  CreateControls();
  SetStyle(kDefaultStyle);
  TimedChange = std::make_unique<ui::Timer>(*this, kTimedChangeDefaultMs, false);
  Timer1 = std::make_unique<ui::Timer>(*this, kSplashDelayMs, true);
  // Exists for the whole run, closed until start-up opens it (the apply plays through it).
  Sound = std::make_unique<integration::SoundDevice>();
  Sound->SetNotifyWindow(hwnd());
  WireEvents();
  store_ = std::make_unique<SettingsStore>(platform::seams().registryRoot, kProgramKeyPath,
                                           std::nothrow);
  // Log-off and shutdown: saved as "Exit Program" saves.
  // A log-off never asks: what cannot be saved is passed over.
  if (ui::Application* app = ui::Application::Instance()) {
    app->onEndSession = [this] {
      SaveForExit();
      preparer_.Cancel();  // the session ends the process without destructors
    };
    app->onCloseRequest = Asking(Request::Close, &TForm1::EndAsLogOff);
  }
  FormCreate();
}

TForm1::~TForm1() {
  if (ui::Application* app = ui::Application::Instance()) {
    app->onEndSession = nullptr;
    app->onCloseRequest = nullptr;
  }
}

void TForm1::AttachSplash(TForm2* splash) {
  splash_ = splash;
  if (!splash_) return;
  // Shown once: showing it ends the splash timer, and with that timer off it cannot show.
  splash_->onShown = [this] { Timer1->SetEnabled(false); };
  splash_->mayShowLater = [this] { return Timer1->Enabled(); };
}

void TForm1::AttachPasswordWindows(security::TForm4* setPassword, security::TForm5* prompt) {
  setPasswordForm_ = setPassword;
  promptForm_ = prompt;
}

void TForm1::CreateControls() {
  const int cw = ClientWidth();
  PageControl1 = ui::Make<ui::TabControl>(
      hwnd(), {.x = 4,
               .y = 4,
               .width = cw - 8,
               .height = 318,
               .tabs = {"Basic Options", "Change Options", "File List", "About"}});
  const RECT area = PageControl1->PageArea();
  const int pw = area.right - area.left;
  const int ph = area.bottom - area.top;
  auto page = [&] {
    auto panel =
        ui::Make<ui::Panel>(hwnd(), {.x = area.left, .y = area.top, .width = pw, .height = ph});
    // Above the tab control, which would otherwise paint over the page.
    SetWindowPos(panel->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return panel;
  };
  TabSheet1 = page();
  TabSheet2 = page();
  TabSheet3 = page();
  TabSheet4 = page();
  PageControl1->SetPages(
      {TabSheet1->hwnd(), TabSheet2->hwnd(), TabSheet3->hwnd(), TabSheet4->hwnd()});

  // "Basic Options"
  HWND p1 = TabSheet1->hwnd();
  autostart =
      ui::Make<ui::CheckBox>(p1, {.caption = "Start program automatically at Windows startup",
                                  .x = 12,
                                  .y = 14,
                                  .width = pw - 24,
                                  .height = kCheckHeight});
  SplashCheck =
      ui::Make<ui::CheckBox>(p1, {.caption = "Show splash-image at Papershift programstart",
                                  .x = 12,
                                  .y = 42,
                                  .width = pw - 24,
                                  .height = kCheckHeight});
  AnimationCheck = ui::Make<ui::CheckBox>(p1, {.caption = "Use hide/show animation",
                                               .x = 12,
                                               .y = 70,
                                               .width = pw - 24,
                                               .height = kCheckHeight});
  PwdCheck = ui::Make<ui::CheckBox>(p1, {.caption = "Use a password to protect your settings",
                                         .x = 12,
                                         .y = 98,
                                         .width = 300,
                                         .height = kCheckHeight});
  Button1 = ui::Make<ui::Button>(
      p1, {.caption = "Change..", .x = 320, .y = 96, .width = 80, .height = kButtonHeight});

  // "Change Options"
  HWND p2 = TabSheet2->hwnd();
  Label1 =
      ui::Make<ui::Label>(p2, {.caption = "Change my wallpaper image due to following selections:",
                               .x = 12,
                               .y = 12,
                               .width = pw - 24,
                               .height = 16});
  TimeChangeCh = ui::Make<ui::CheckBox>(p2, {.caption = "Time intervall -> change it every",
                                             .x = 12,
                                             .y = 38,
                                             .width = 200,
                                             .height = kCheckHeight});
  MinuteSpin = ui::Make<ui::SpinEdit>(
      p2, {.x = 214, .y = 37, .width = 48, .height = 22, .minValue = 1, .maxValue = 60});
  Label2 = ui::Make<ui::Label>(
      p2, {.caption = "minutes. (1 - 60)", .x = 268, .y = 41, .width = 120, .height = 16});
  RandomCh = ui::Make<ui::CheckBox>(p2, {.caption = "Randomize my filelist at wallpaper change",
                                         .x = 12,
                                         .y = 66,
                                         .width = pw - 24,
                                         .height = kCheckHeight});
  SortFiles = ui::Make<ui::CheckBox>(
      p2, {.caption = "Sort the images in your files list automatically by name and location",
           .x = 12,
           .y = 92,
           .width = pw - 24,
           .height = kCheckHeight});
  SoundCh = ui::Make<ui::CheckBox>(p2, {.caption = "Play a sound when wallpaper changes ->",
                                        .x = 12,
                                        .y = 118,
                                        .width = 230,
                                        .height = kCheckHeight});
  SoundLabel = ui::Make<ui::Label>(p2, {.caption = kDefaultSound,
                                        .x = 246,
                                        .y = 121,
                                        .width = 124,
                                        .height = 16,
                                        .style = SS_ENDELLIPSIS});
  SoundLabel->SetFont(ui::ItalicFont());
  SoundLabel->SetTextColour(GetSysColor(COLOR_3DSHADOW));
  SoundBrowse = ui::Make<ui::Button>(
      p2, {.caption = "Change..", .x = 376, .y = 116, .width = 80, .height = kButtonHeight});
  StartChangeCh =
      ui::Make<ui::CheckBox>(p2, {.caption = "Change wallpaper image every time I restart windows",
                                  .x = 12,
                                  .y = 146,
                                  .width = pw - 24,
                                  .height = kCheckHeight});

  // "File List"
  HWND p3 = TabSheet3->hwnd();
  Label3 = ui::Make<ui::Label>(
      p3, {.caption = "Wallpaper style ->", .x = 8, .y = 11, .width = 104, .height = 16});
  WPStyle = ui::Make<ui::ComboBox>(
      p3, {.x = 114, .y = 7, .width = 114, .height = 200, .items = {"Title", "Center", "Stretch"}});
  FileList = ui::Make<ui::ListBox>(p3, {.x = 8, .y = 36, .width = 220, .height = 160});
  add = ui::Make<ui::Button>(
      p3, {.caption = "add file(s)..", .x = 8, .y = 200, .width = 108, .height = kButtonHeight});
  remove = ui::Make<ui::Button>(
      p3, {.caption = "remove file", .x = 120, .y = 200, .width = 108, .height = kButtonHeight});
  ListClear = ui::Make<ui::Button>(
      p3, {.caption = "new list", .x = 8, .y = 228, .width = 108, .height = kButtonHeight});
  InstantCh = ui::Make<ui::Button>(
      p3, {.caption = "change now", .x = 120, .y = 228, .width = 108, .height = kButtonHeight});
  LoadFile = ui::Make<ui::Button>(
      p3, {.caption = "load file list..", .x = 8, .y = 256, .width = 108, .height = kButtonHeight});
  SaveFile = ui::Make<ui::Button>(
      p3,
      {.caption = "save file list..", .x = 120, .y = 256, .width = 108, .height = kButtonHeight});
  Label4 = ui::Make<ui::Label>(
      p3, {.caption = "Preview:", .x = 236, .y = 18, .width = 100, .height = 16});
  // The frame's client area is 225 x 145 inside a lowered bevel.
  Panel1 = ui::Make<ui::Panel>(
      p3, {.x = 236, .y = 36, .width = 229, .height = 149, .exStyle = WS_EX_CLIENTEDGE});
  PanelImage_Outer = ui::Make<ui::Panel>(Panel1->hwnd(), {.width = 225, .height = 145});
  // Sized to the picture when one is shown.
  Image1 = ui::Make<ui::Picture>(PanelImage_Outer->hwnd(), {});
  Image1Hint = std::make_unique<ui::Hint>(PanelImage_Outer->hwnd(), Image1->hwnd());

  // "About"
  HWND p4 = TabSheet4->hwnd();
  ProductLabel = ui::Make<ui::Label>(p4, {.caption = platform::kAppTitle,
                                          .x = 12,
                                          .y = 24,
                                          .width = pw - 24,
                                          .height = 20,
                                          .style = SS_CENTER});
  ProductLabel->SetFont(ui::BoldFont());
  AboutVersion = ui::Make<ui::Label>(p4, {.caption = std::string("Version ") + kVersion,
                                          .x = 12,
                                          .y = 50,
                                          .width = pw - 24,
                                          .height = 16,
                                          .style = SS_CENTER});
  AboutText = ui::Make<ui::Label>(
      p4, {.caption = "Changes your desktop wallpaper from a list of bitmap and JPEG images.",
           .x = 12,
           .y = 84,
           .width = pw - 24,
           .height = 32,
           .style = SS_CENTER});

  BtDone = ui::Make<ui::Button>(
      hwnd(),
      {.caption = "Done", .x = cw - 176, .y = 330, .width = 80, .height = 25, .isDefault = true});
  BtCancel = ui::Make<ui::Button>(
      hwnd(), {.caption = "Cancel", .x = cw - 88, .y = 330, .width = 80, .height = 25});
  SetDialogButtons(BtDone.get(), BtCancel.get());  // Enter presses "Done", Escape "Cancel"
  SetPages(PageControl1.get());
  BtDoneHint = std::make_unique<ui::Hint>(hwnd(), BtDone->hwnd());
  BtDoneHint->SetText("Save settings and close this dialog");
  BtCancelHint = std::make_unique<ui::Hint>(hwnd(), BtCancel->hwnd());
  BtCancelHint->SetText("Restore data and close this dialog");
}

void TForm1::CreateTrayIcon() {
  menuImages_.reset(
      static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_MENUIMAGES),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  PopupMenu1 = std::make_unique<ui::PopupMenu>();
  ui::PopupMenu& menu = *PopupMenu1;
  menu.SetImages(menuImages_.get());
  using R = Request;
  SettingsPop =
      menu.Add("Show Settings..", menuimage::kSettings, Asking(R::Show, &TForm1::SettingsPopClick));
  ChangePop =
      menu.Add("Change Image", menuimage::kChange, Asking(R::Change, &TForm1::ChangePopClick));
  SoundPop =
      menu.Add("Enable Sound", menuimage::kSoundOff, Asking(R::Sound, &TForm1::SoundPopClick));
  ui::PopupMenu& colours = menu.AddSubmenu("Background Color");
  colours.Add("Black", -1, Asking(R::Colour, &TForm1::BcBlackClick));
  colours.Add("White", -1, Asking(R::Colour, &TForm1::BcWhiteClick));
  colours.Add("Red", -1, Asking(R::Colour, &TForm1::BcRedClick));
  colours.Add("Blue", -1, Asking(R::Colour, &TForm1::BcBlueClick));
  colours.Add("Green", -1, Asking(R::Colour, &TForm1::BcGreenClick));
  menu.AddSeparator();
  TitlePop = menu.Add("Title Image", menuimage::kTile, Asking(R::Style, &TForm1::TitlePopClick));
  CenterPop =
      menu.Add("Center Image", menuimage::kCenter, Asking(R::Style, &TForm1::CenterPopClick));
  StreckPop =
      menu.Add("Strech Image", menuimage::kStretch, Asking(R::Style, &TForm1::StreckPopClick));
  menu.AddSeparator();
  ExitPop = menu.Add("Exit Program", -1, Asking(R::Exit, &TForm1::ExitPopClick));

  // Hint and icon before the icon is shown, so that the one add already carries both.
  TrayIcon = std::make_unique<integration::TWinTaskbar>(hwnd());
  TrayIcon->SetHint(platform::kAppTitle);
  // The small-icon size, drawn for it: a large image shrunk by the shell comes out blurred.
  const platform::UniqueIcon small(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  TrayIcon->SetIcon(small ? small.get() : programIcon_.get());
  TrayIcon->OnDblClick = Asking(R::DoubleClick, &TForm1::TrayIconDblClick);
  TrayIcon->OnCloseRequest = Asking(R::Close, &TForm1::EndAsLogOff);
  TrayIcon->SetPopUpMenu(PopupMenu1.get());
  TrayIcon->SetShowIcon(true);
}

void TForm1::WireEvents() {
  Button1->onClick = [this] { Button1Click(); };
  PwdCheck->onClick = [this] { PwdCheckClick(); };
  autostart->onMouseUp = [this] { autostartMouseUp(); };
  // The keyboard's toggle gets the same reaction, or the box and the Run value part ways.
  autostart->onKeyToggle = [this] { autostartMouseUp(); };
  TimeChangeCh->onClick = [this] { TimeChangeChClick(); };
  MinuteSpin->onChange = [this] { MinuteSpinChange(); };
  SortFiles->onClick = [this] { SortFilesClick(); };
  SoundCh->onClick = [this] { SoundChClick(); };
  SoundBrowse->onClick = Asking(Request::Click, &TForm1::SoundBrowseClick);
  WPStyle->onChange = [this] { WPStyleChange(); };
  FileList->onClick = Asking(Request::Click, &TForm1::FileListClick);
  add->onClick = Asking(Request::Click, &TForm1::addClick);
  remove->onClick = Asking(Request::Click, &TForm1::removeClick);
  ListClear->onClick = Asking(Request::Click, &TForm1::ListClearClick);
  LoadFile->onClick = Asking(Request::Click, &TForm1::LoadFileClick);
  SaveFile->onClick = Asking(Request::Click, &TForm1::SaveFileClick);
  InstantCh->onClick = Asking(Request::Click, &TForm1::InstantChClick);
  BtDone->onClick = Asking(Request::Click, &TForm1::BtDoneClick);
  BtCancel->onClick = Asking(Request::Click, &TForm1::BtCancelClick);
  TimedChange->onTimer = Asking(Request::Tick, &TForm1::TimedChangeTimer);
  Timer1->onTimer = [this] { Timer1Timer(); };
  // Each setting the user sets is stored from then on, even when set back to its start-up
  // value (reads mark theirs too: those are reached anyway).
  const std::pair<std::function<void()>*, const char*> settings[] = {
      {&autostart->onClick, names::kAutoStart},
      {&SplashCheck->onClick, names::kShowSplash},
      {&AnimationCheck->onClick, names::kUseAnimation},
      {&PwdCheck->onClick, names::kUsePwd},
      {&TimeChangeCh->onClick, names::kTimeInterval},
      {&RandomCh->onClick, names::kRandomize},
      {&SoundCh->onClick, names::kUseSound},
      {&StartChangeCh->onClick, names::kRestartChange},
      {&MinuteSpin->onChange, names::kChangeIntervalTime},
      {&WPStyle->onChange, names::kWallpaperStyle},
      {&SortFiles->onClick, names::kFileListSorted}};
  for (const auto& setting : settings) {
    std::function<void()>* event = setting.first;
    *event = [this, name = setting.second, next = std::move(*event)] {
      setByUser_.insert(name);
      if (next) next();
    };
  }
  // The dependent controls start in the state their boxes give them.
  PwdCheckClick();
  TimeChangeChClick();
  SoundChClick();
}

void TForm1::FormCreate() {
  {
    // Requests that come while start-up lets messages through are answered when it is over.
    const Requests::Scope startUp = requests_->Open(Opened::StartUp);
    // Any failure ends the start-up sequence with the error box; the program runs on.
    ui::Guarded([this] { StartupSequence(); });
    // Also after a start-up that ended early: a stale value is repaired while "AutoStart" is on.
    ShowAutostartAsItIs(autostart->Checked());
    // The failures start-up passed over, said once it has run to its end.
    for (const std::exception_ptr& report : std::exchange(startupReports_, {})) {
      if (requests_->Ending()) break;
      ui::Guarded([&report] { std::rethrow_exception(report); });
    }
  }
  startupValues_ = SettingValues();
  if (firstStart_) TrayIcon->ShowBalloon(kWhereTitle, kWhereText);
}

std::function<void()> TForm1::Asking(Request request, void (TForm1::*reaction)()) {
  return [this, request, reaction] {
    requests_->Ask(request, [this, reaction] { (this->*reaction)(); });
  };
}

void TForm1::StartupSequence() {
  MoveTo(ui::CentredOffset(ui::ScreenWidth(), Width()),
         ui::CentredOffset(ui::ScreenHeight(), Height()));
  PageControl1->SetActivePage(0);

  try {
    store_->Open();
  } catch (const platform::Error& e) {
    // Without the program key the program still runs, on the defaults; later writes
    // try to open the key again and report their own failure.
    ui::ShowErrorBox(e.what());
  }
  // An Exit or a close during start-up's box or scan: start-up stops where it is.
  if (requests_->Ending()) return;
  if (store_->IsOpen()) {
    // No version stored yet: this user's first start.
    try {
      firstStart_ = store_->ReadString(kSectionProgram, names::kProgramVersion, "").empty();
    } catch (const platform::Error&) {
      firstStart_ = false;
    }
    try {
      store_->WriteString(kSectionProgram, names::kProgramVersion, VersionLabel);
    } catch (const platform::Error&) {
      // Settings locked by an administrator are read as they are; Done or Exit says once
      // that they cannot be stored.
      if (!store_->Locked()) throw;
    }
  }

  SettingsStore& s = *store_;
  try {
    ReadOptionControls();
    SoundLabel2 = s.ReadString(kSectionProgram, names::kSoundFileName, kDefaultSound);
    ListFileName = s.ReadString(kSectionProgram, names::kFileListSource, kNoListFile);
    SetStyle(s.ReadInteger(kSectionProgram, names::kWallpaperStyle, kDefaultStyle));
    SortFiles->SetChecked(s.ReadBool(kSectionProgram, names::kFileListSorted, false));
  } catch (const platform::Error&) {
    // A value that ends start-up must not leave the settings unguarded; its own error is
    // the one reported.
    try {
      ReadPasswordAtStart();
    } catch (const platform::Error&) {
    }
    throw;
  }
  ReadPasswordAtStart();

  Timer1->SetEnabled(SplashCheck->Checked());
  StartChangeCh->SetVisible(autostart->Checked());
  Button1->SetEnabled(PwdCheck->Checked());

  LoadListAtStart();
  if (requests_->Ending()) return;

  int itemIndex = 0;
  try {
    itemIndex = s.ReadInteger(kSectionProgram, names::kItemIndex, 0);
  } catch (const platform::Error&) {
    itemIndex = 0;
  }
  FileList->SetItemIndex(itemIndex);
  TimedChange->SetInterval(static_cast<UINT>(MinuteSpin->Value()) * kMsPerMinute);

  // An empty list is no error of the user's: start-up runs on, and says how to fill it
  // unless a notice of its own about the list is up already. A picture deleted since the
  // last run is reported, and the rest of start-up still runs, or timed changes would be
  // off for the whole run without a word.
  auto reported = [this](void (TForm1::*step)()) {
    try {
      (this->*step)();
    } catch (...) {
      // The start-up change after a failed preview often fails the same way: said once.
      const std::exception_ptr report = std::current_exception();
      const auto same = [&](const std::exception_ptr& said) {
        return WhatOf(said) == WhatOf(report);
      };
      if (std::none_of(startupReports_.begin(), startupReports_.end(), same)) {
        startupReports_.push_back(report);
      }
    }
  };
  const bool listEmpty = FileList->Count() == 0;
  if (!listEmpty) {
    reported(&TForm1::FileListClick);
  } else if (!messages_.Visible()) {
    ShowMessageWindow(kNoPicturesCaption, kNoPicturesText, 1);
  }

  OpenSoundAtStart();
  // A change that fails (its preview, the system's refusal) ends the change, not the start-up.
  if (StartChangeCh->Checked() && !listEmpty) reported(&TForm1::ChangeWallpaper);
  FileList->SetSorted(SortFiles->Checked());
  TimedChange->SetEnabled(TimeChangeCh->Checked());
  MinuteSpin->SetEnabledBoth(TimeChangeCh->Checked());
  SoundChClick();
}

void TForm1::ReadPasswordAtStart() {
  const SettingsStore& s = *store_;
  std::exception_ptr failure;
  try {
    storedPassword_ = s.ReadString(kSectionSecurity, names::kPassword, "");
    password_ = security::PasswordFromStored(storedPassword_);
  } catch (const platform::Error&) {
    failure = std::current_exception();
    // No text of a field holds the zero character: nothing opens the guarded window until
    // the stored password can be read again.
    password_.assign(1, '\0');
  }
  // A switch that cannot be read guards the window while there is a password.
  bool guarded = !password_.empty();
  try {
    guarded = s.ReadBool(kSectionSecurity, names::kUsePwd, false);
  } catch (const platform::Error&) {
    if (!failure) failure = std::current_exception();
  }
  PwdCheck->SetChecked(guarded);
  if (failure) std::rethrow_exception(failure);
}

void TForm1::ReadOptionControls() {
  // Setting a box runs its click reaction, and the spin field its change reaction.
  const SettingsStore& s = *store_;
  autostart->SetChecked(s.ReadBool(kSectionProgram, names::kAutoStart, false));
  SplashCheck->SetChecked(s.ReadBool(kSectionProgram, names::kShowSplash, true));
  AnimationCheck->SetChecked(s.ReadBool(kSectionProgram, names::kUseAnimation, true));
  PwdCheck->SetChecked(s.ReadBool(kSectionSecurity, names::kUsePwd, false));
  TimeChangeCh->SetChecked(s.ReadBool(kSectionProgram, names::kTimeInterval, false));
  RandomCh->SetChecked(s.ReadBool(kSectionProgram, names::kRandomize, false));
  SoundCh->SetChecked(s.ReadBool(kSectionProgram, names::kUseSound, false));
  StartChangeCh->SetChecked(s.ReadBool(kSectionProgram, names::kRestartChange, true));
  MinuteSpin->SetValue(
      s.ReadInteger(kSectionProgram, names::kChangeIntervalTime, kDefaultChangeMinutes));
}

std::vector<TForm1::SettingValue> TForm1::SettingValues() const {
  auto flag = [](const ui::CheckBox& box) { return std::string(box.Checked() ? "1" : "0"); };
  const char* p = kSectionProgram;
  return {{p, names::kAutoStart, flag(*autostart)},
          {p, names::kShowSplash, flag(*SplashCheck)},
          {p, names::kUseAnimation, flag(*AnimationCheck)},
          {kSectionSecurity, names::kUsePwd, flag(*PwdCheck)},
          {p, names::kTimeInterval, flag(*TimeChangeCh)},
          {p, names::kRandomize, flag(*RandomCh)},
          {p, names::kUseSound, flag(*SoundCh)},
          {p, names::kRestartChange, flag(*StartChangeCh)},
          {p, names::kChangeIntervalTime, std::to_string(MinuteSpin->Value())},
          {p, names::kSoundFileName, SoundLabel2},
          {p, names::kFileListSource, ListFileName},
          {p, names::kWallpaperStyle, std::to_string(WPStyle->ItemIndex())},
          {p, names::kItemIndex, std::to_string(FileList->ItemIndex())},
          {p, names::kFileListSorted, flag(*SortFiles)}};
}

void TForm1::WriteSettings(std::vector<std::string>* failures) {
  const std::vector<SettingValue> values = SettingValues();
  for (size_t i = 0; i < values.size(); ++i) {
    const SettingValue& v = values[i];
    // Start-up stopped before this value (a wrongly typed one before it): the control
    // holds only its starting value, and writing it would replace the user's setting. One
    // the user has set is stored, even when set back to that value.
    const bool unchanged = i >= startupValues_.size() || startupValues_[i].text == v.text;
    if (unchanged && !store_->Reached(v.section, v.name) && !setByUser_.contains(v.name)) continue;
    try {
      store_->WriteString(v.section, v.name, v.text);
    } catch (const platform::Error& e) {
      if (store_->Locked()) {
        // Every write is refused alike: said once, by the first Done or Exit.
        if (std::exchange(lockedSaid_, true)) return;
        if (failures) {
          failures->push_back(SettingsLockedText());
        } else {
          ShowMessageWindow(kSettingsLockedCaption, SettingsLockedText(), 1);
        }
        return;
      }
      if (!failures) throw;
      if (std::find(failures->begin(), failures->end(), e.what()) == failures->end()) {
        failures->push_back(e.what());
      }
    }
  }
}

void TForm1::SaveAllSettings() {
  WriteSettings(nullptr);
}

// ---- showing and hiding ----

void TForm1::SlideBy(int steps, int delta) {
  int left = Left();
  const int top = Top();
  for (int i = 0; i < steps; ++i) {
    left += delta;
    MoveTo(left, top);
  }
}

// Showing and hiding call into the system, which may deliver a message sent from another
// process meanwhile (the shell's icon double-click), and with it a second show or hide.
// That one only records what is wanted; the one under way ends there.
void TForm1::ShowSettings() {
  wantShown_ = true;
  if (showing_) return;
  // Where it comes to rest: centred across, at the height start-up gave it, unless the
  // display has changed since and that would put part of it off the screen.
  const int centred = ui::CentredOffset(ui::ScreenWidth(), Width());
  const POINT rest = ui::WithinWorkArea({centred, Top(), centred + Width(), Top() + Height()});
  if (Visible()) {
    // Already there: to its resting place, without a second slide from the screen's edge.
    if (Left() != rest.x || Top() != rest.y) MoveTo(rest.x, rest.y);
    SetForegroundWindow(GetLastActivePopup(hwnd()));
    return;
  }
  {
    FlagScope scope(showing_);
    if (!AnimationCheck->Checked()) {
      MoveTo(rest.x, rest.y);
      Show();
    } else {
      MoveTo(kSlideStart, rest.y);
      Show();
      SlideBy(SlideSteps(ui::ScreenWidth(), Width()), -1);
    }
  }
  messages_.StayAbove();
  if (!wantShown_) HideSettings();
}

void TForm1::HideSettings() {
  wantShown_ = false;
  if (showing_) return;
  {
    FlagScope scope(showing_);
    if (AnimationCheck->Checked() && Visible()) {
      SlideBy(SlideSteps(ui::ScreenWidth(), Width()), +1);
    }
    Hide();
  }
  // Its password dialog closes with it, as by its Cancel: no password is set with no settings
  // window open.
  if (setPasswordForm_ && setPasswordForm_->Visible()) setPasswordForm_->Button2Click();
  if (wantShown_) ShowSettings();
}

void TForm1::FormShow() {
  atShow_ = AtShow{FileList->Items(), ListFileName, keptList_, TimedChange->Enabled()};
  TimedChange->SetEnabled(false);
  ShowPendingPreview();
  // Task Manager, Settings or an uninstaller may have changed it since.
  ShowAutostartAsItIs(false);
}

void TForm1::FormClose() {
  EndVisit();
  HideSettings();
}

void TForm1::EndVisit() {
  // The timer runs only while its box is ticked.
  if (atShow_ && atShow_->timerOn && TimeChangeCh->Checked()) TimedChange->SetEnabled(true);
  atShow_.reset();
}

void TForm1::ShowSettingsOrPrompt() {
  if (PwdCheck->Checked()) {
    // Start-up's requests wait until it is over, and the prompt exists before the message
    // loop runs; without it the window stays closed.
    if (!promptForm_) return;
    promptForm_->Show();
    SetForegroundWindow(promptForm_->hwnd());
    messages_.StayAbove();
    return;
  }
  ShowSettings();
}

void TForm1::TrayIconDblClick() {
  ShowSettingsOrPrompt();
}
void TForm1::SettingsPopClick() {
  ShowSettingsOrPrompt();
}

void TForm1::ShowMessageWindow(const std::string& caption, const std::string& text, int kind) {
  messages_.ShowNotice(caption, text, kind);
}

void TForm1::ShowNotice(const std::string& caption, const std::string& text) {
  ShowMessageWindow(caption, text, 1);
}

// ---- splash ----

void TForm1::Timer1Timer() {
  // A tick before the splash window exists has nothing to show.
  if (splash_) splash_->ShowInactive();
}

// ---- exit ----

std::vector<std::string> TForm1::SaveForExit() {
  std::vector<std::string> unsaved;
  WriteSettings(&unsaved);
  try {
    if (!WriteCurrentListFile()) {
      if (std::string notice = TakeKeptListNotice(); !notice.empty()) unsaved.push_back(notice);
    }
  } catch (const std::exception& e) {
    unsaved.push_back(e.what());
  }
  return unsaved;
}

void TForm1::ExitPopClick() {
  // An exit that cannot save everything still ends, unless the user chooses to stay (a
  // drive that is not there would otherwise keep the program from ever ending).
  if (const std::vector<std::string> unsaved = SaveForExit(); !unsaved.empty()) {
    std::string question;
    for (const std::string& text : unsaved) question += platform::ErrorBoxText(text) + "\r\n\r\n";
    question += "Not everything could be saved. Exit anyway?";
    if (!ui::AskYesNo(question)) return;
  }
  EndProgram();
}

void TForm1::EndAsLogOff() {
  SaveForExit();
  EndProgram();
}

void TForm1::EndProgram() {
  exitRequested_ = true;
  if (ui::Application* app = ui::Application::Instance()) app->Terminate();
}

LRESULT TForm1::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kAnswerWaitingMessage) {
    requests_->AnswerWaiting();
    return 0;
  }
  if (msg == WM_COMMAND && lp == 0 && HIWORD(wp) == 0) {
    ui::Guarded([&] { PopupMenu1->Dispatch(LOWORD(wp)); });
    return 0;
  }
  if (msg == WM_DISPLAYCHANGE) RemakeWallpaperForScreen();
  // The tray's message after its menu (kAfterPopupMessage) needs no reaction. It shares its
  // number with DM_GETDEFID, which the dialog manager sends for Enter: that one gets its
  // answer from DialogForm.
  return DialogForm::OnMessage(msg, wp, lp);
}

// ---- small reactions of the option pages ----

void TForm1::PwdCheckClick() {
  Button1->SetEnabled(PwdCheck->Checked());
}

void TForm1::TimeChangeChClick() {
  MinuteSpin->SetEnabledBoth(TimeChangeCh->Checked());
}

void TForm1::MinuteSpinChange() {
  // The field keeps its value within its bounds when it is set.
  const int value = MinuteSpin->Value();
  TimedChange->SetInterval(static_cast<UINT>(value) * kMsPerMinute);
}

void TForm1::SortFilesClick() {
  FileList->SetSorted(SortFiles->Checked());
}

void TForm1::SoundChClick() {
  const bool on = SoundCh->Checked();
  SoundBrowse->SetEnabled(on);
  PopupMenu1->SetItem(SoundPop, on ? "Disable Sound" : "Enable Sound",
                      on ? menuimage::kSoundOn : menuimage::kSoundOff);
}

}  // namespace app
