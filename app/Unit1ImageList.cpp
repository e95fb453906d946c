// Image list, list files and preview reactions of the settings window.
#include <utility>

#include "app/Unit1.h"
#include "app/SettingNames.h"
#include "imagelist/FileDialogs.h"
#include "imagelist/ListFile.h"
#include "imagelist/PictureLoader.h"
#include "imagelist/WaitCursor.h"
#include "imagelist/WindowsImages.h"
#include "imagelist/core/PreviewGeometry.h"
#include "platform/Paths.h"
#include "platform/core/PathText.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"
#include "wallpaper/JpegConversion.h"

namespace app {

namespace {

constexpr char kProgramRequestCaption[] = "Program Request";
constexpr char kProgramRequestText[] =
    "Please add files to your imagelist.. You do this in the section called \"File List\" in "
    "the settings..";
constexpr char kUnableToLoadCaption[] = "Unable to load File(s) List";
constexpr char kUnableToLoadText[] =
    "It accurs to be some kind of problem, we are verry sorry to tell you that your Imagelist "
    "could not be loaded automatically this time.. If you have it saved on your harddrive, "
    "please do try to load it manually";
constexpr char kNotValidCaption[] = "Not a valid .kvl-file";
constexpr char kNotValidText[] = "Try to load a different filelist";
constexpr char kListKeptCaption[] = "File List not saved";

}  // namespace

SIZE TForm1::PreviewFrameSize() const {
  RECT client{};
  GetClientRect(PanelImage_Outer->hwnd(), &client);
  return {client.right - client.left, client.bottom - client.top};
}

// ---- list file ----

void TForm1::LoadListAtStart() {
  if (ListFileName == kNoListFile) ListFileName = DefaultListAtStart();
  try {
    if (ReadListFile(ListFileName)) KeepListFile(ListFileName, KeptWhy::LostCharacters);
  } catch (const std::exception&) {
    // The stored path stays current. Only a file that is really gone from a folder that is
    // there is written by the next Done or Exit; one that is there but unreadable, or on a
    // drive or share that is missing for now, is kept as it is.
    if (platform::PathExists(ListFileName) || !platform::FolderOfExists(ListFileName)) {
      KeepListFile(ListFileName, KeptWhy::Unread);
    }
    FillWithWindowsImages();
    ShowMessageWindow(kUnableToLoadCaption, kUnableToLoadText, 1);
  }
}

std::string TForm1::DefaultListAtStart() {
  // A default list that exists is the user's (kept from an earlier start): it is read,
  // never written over.
  const std::string inWorkDir = imagelist::DefaultListFilePath(platform::CurrentDirectory());
  if (platform::PathExists(inWorkDir)) return inWorkDir;
  try {
    FillWithWindowsImages();
  } catch (const std::exception&) {
    ShowMessageWindow(kProgramRequestCaption, kProgramRequestText, 1);
  }
  const std::string perUserFolder = platform::seams().perUserFolder();
  try {
    WriteListFile(inWorkDir);
    return inWorkDir;
  } catch (const platform::Error&) {
    // A working directory the user cannot write (a start from the Run key at logon is in a
    // system folder): the per-user folder holds the default list instead.
    if (perUserFolder.empty()) throw;
  }
  const std::string perUser = imagelist::DefaultListFilePath(perUserFolder);
  if (platform::PathExists(perUser)) return perUser;
  CreateDirectoryA(perUserFolder.c_str(), nullptr);  // a failure shows in the write below
  WriteListFile(perUser);
  return perUser;
}

bool TForm1::WriteCurrentListFile() {
  if (keptList_ && ListFileName == keptList_->file) return false;
  // Without a current list file there is nothing to write to (a file named after the
  // marker would only litter the working directory).
  if (ListFileName == kNoListFile) return true;
  WriteListFile(ListFileName);
  return true;
}

void TForm1::KeepListFile(std::string file, KeptWhy why) {
  keptList_ = KeptList{std::move(file), why};
  keptListSaid_ = false;
}

std::string TForm1::TakeKeptListNotice() {
  if (!keptList_ || std::exchange(keptListSaid_, true)) return {};
  constexpr char kHowToKeep[] =
      " To keep this list, save it with \"save file list..\" in the section called \"File "
      "List\".";
  if (keptList_->why == KeptWhy::NoListFile) {
    return std::string(
               "Your imagelist is not saved: no list file is in use since one failed "
               "its test on \"load file list..\".") +
           kHowToKeep;
  }
  if (keptList_->why == KeptWhy::LostCharacters) {
    return "Your imagelist is not saved to \"" + keptList_->file +
           "\": some names in it use characters that this system's code page does not hold. "
           "They show as \"?\" here and would be lost from the file, which is kept as it is.";
  }
  return "Your imagelist is not saved to \"" + keptList_->file +
         "\", because that file could not be loaded at start; it is kept as it is." + kHowToKeep;
}

bool TForm1::ReadListFile(const std::string& path) {
  // Read whole before anything changes: a file that cannot be read leaves the list as it was.
  bool lost = false;
  const std::vector<std::string> entries = imagelist::ReadListFileEntries(path, &lost);
  imagelist::WaitCursor wait;
  FileList->Clear();
  FileList->AddAll(entries);
  return lost;
}

void TForm1::WriteListFile(const std::string& path) {
  imagelist::WriteListFileEntries(path, FileList->Items());
}

void TForm1::SaveFileClick() {
  const std::string path =
      ChooseFile([&] { return imagelist::ChooseListFileToSave(hwnd(), dialogFolder_); });
  if (path.empty()) return;
  if (keptList_ && keptList_->why == KeptWhy::LostCharacters &&
      lstrcmpiA(path.c_str(), keptList_->file.c_str()) == 0) {
    keptListSaid_ = false;  // asked for in so many words: said again
    ShowKeptListNotice();
    return;
  }
  WriteListFile(path);
  ListFileName = path;
  setByUser_.insert(names::kFileListSource);
  keptList_.reset();  // the user has made a list current again
  TimedChange->SetEnabled(false);
  FileList->SetItemIndex(0);
}

void TForm1::LoadFileClick() {
  TimedChange->SetEnabled(false);
  const std::string path =
      ChooseFile([&] { return imagelist::ChooseListFileToLoad(hwnd(), dialogFolder_); });
  if (path.empty()) return;
  const bool lost = ReadListFile(path);

  // The first entry that is not empty is tested and selected: with sorting on, the empty
  // line that editors leave at the end of a file sorts first.
  const int count = FileList->Count();
  int named = 0;
  std::string entry;
  while (named < count && (entry = FileList->Item(named)).empty()) ++named;
  bool passed = false;
  if (named < count) {
    const SIZE frame = PreviewFrameSize();
    try {
      imagelist::LoadedPicture test = imagelist::TestPicture(entry, frame.cx, frame.cy);
      Image2 = std::move(test.bitmap);
      passed = true;
    } catch (const std::exception&) {
      passed = false;
    }
  }
  if (passed) {
    FileList->SetItemIndex(named);
    ListFileName = path;
    setByUser_.insert(names::kFileListSource);
    if (lost) {
      KeepListFile(path, KeptWhy::LostCharacters);
    } else {
      keptList_.reset();
    }
    return;
  }
  ShowMessageWindow(kNotValidCaption, kNotValidText, 1);
  ListFileName = kNoListFile;
  // Edits from here on would be saved nowhere: Done and Exit say so.
  KeepListFile(kNoListFile, KeptWhy::NoListFile);
  FileList->Clear();
  FillWithWindowsImages();
  FileList->SetItemIndex(0);
  FileListClick();
  TimedChange->SetEnabled(false);
}

void TForm1::ShowKeptListNotice() {
  if (const std::string notice = TakeKeptListNotice(); !notice.empty()) {
    ShowMessageWindow(kListKeptCaption, notice, 1);
  }
}

// ---- image list ----

void TForm1::FillWithWindowsImages() {
  imagelist::ScanWindowsImages(
      platform::seams().windowsDirectory(), [this](std::vector<std::string> paths) {
        // The program's own converted bitmaps are no pictures of the
        // user's: they show whichever JPEG was installed last, or comes next.
        std::erase_if(paths, [](const std::string& path) {
          const std::string name = platform::FileNameOf(path);
          return lstrcmpiA(name.c_str(), wallpaper::kConvertedBitmapName) == 0 ||
                 lstrcmpiA(name.c_str(), wallpaper::kPreparedBitmapName) == 0;
        });
        FileList->AddAll(paths);
      });
}

void TForm1::addClick() {
  for (const std::string& path :
       ChooseFile([&] { return imagelist::ChooseImageFiles(hwnd(), dialogFolder_); })) {
    FileList->Add(path);
  }
}

void TForm1::removeClick() {
  const int count = FileList->Count();
  const int selected = FileList->ItemIndex();
  const int target = selected - 1 < 0 ? 0 : selected - 1;
  FileList->Delete(selected);
  if (count >= 2) {
    FileList->SetItemIndex(target);
    FileListClick();
  }
}

void TForm1::ListClearClick() {
  FileList->Clear();
}

// ---- preview ----

void TForm1::FileListClick() {
  imagelist::WaitCursor wait;
  // The previous bitmap goes; until a new picture is ready, Image1 keeps showing it.
  if (PreviewBitmap) shownBitmap_ = std::move(PreviewBitmap);
  ShowPreview(FileList->Item(FileList->ItemIndex()));
}

void TForm1::PreviewForChange() {
  if (Visible()) {
    FileListClick();
    return;
  }
  const std::string path = FileList->Item(FileList->ItemIndex());
  const SIZE frame = PreviewFrameSize();
  imagelist::TestPicture(path, frame.cx, frame.cy);
  pendingPreview_ = path;
}

void TForm1::ShowPendingPreview() {
  if (pendingPreview_.empty()) return;
  const std::string path = std::exchange(pendingPreview_, {});
  imagelist::WaitCursor wait;
  if (PreviewBitmap) shownBitmap_ = std::move(PreviewBitmap);
  try {
    ShowPreview(path);
  } catch (const std::exception&) {
    // The entry passed its test at the change; a file damaged or gone since then keeps the
    // previous picture on show, as a failed preview does, and is reported when it is clicked.
  }
}

void TForm1::ShowPreview(const std::string& path) {
  const SIZE frame = PreviewFrameSize();
  imagelist::LoadedPicture picture = imagelist::LoadPicture(path, frame.cx, frame.cy);

  PreviewBitmap = std::move(picture.bitmap);
  Image1->SetBitmap(PreviewBitmap.get());
  shownBitmap_.reset();
  const imagelist::PreviewFit fit =
      imagelist::FitPreview(picture.width, picture.height, frame.cx, frame.cy);
  Image1->SetBounds(fit.left, fit.top, fit.width, fit.height);
  Image1Hint->SetText(platform::FileNameOf(path) + '\r' + imagelist::GetBitmapInfo(picture));
  pendingPreview_.clear();
}

}  // namespace app
