// Image list, list files and preview reactions of the settings window.
#include "app/Unit1.h"
#include "app/SettingNames.h"
#include "imagelist/FileDialogs.h"
#include "imagelist/ListFile.h"
#include "imagelist/PictureLoader.h"
#include "imagelist/WaitCursor.h"
#include "imagelist/WindowsImages.h"
#include "imagelist/core/PreviewGeometry.h"
#include "ui/FileIO.h"
#include "ui/Seams.h"
#include "ui/core/Error.h"

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

}  // namespace

SIZE TForm1::PreviewFrameSize() const {
  RECT client{};
  GetClientRect(PanelImage_Outer->hwnd(), &client);
  return {client.right - client.left, client.bottom - client.top};
}

// ---- list file ----

void TForm1::LoadListAtStart() {
  if (ListFileName == kNoListFile) {
    try {
      FillWithWindowsImages();
    } catch (const std::exception&) {
      ShowMessageWindow(kProgramRequestCaption, kProgramRequestText, 1);
    }
    const std::string path = imagelist::DefaultListFilePath(imagelist::CurrentDirectory());
    WriteListFile(path);
    ListFileName = path;
  }
  try {
    ReadListFile(ListFileName);
  } catch (const std::exception&) {
    // The stored path stays current. When the file is gone, the next Done or Exit writes
    // this list into it; when it is there but unreadable, it is kept as it is.
    if (ui::PathExists(ListFileName)) unreadListFile_ = ListFileName;
    FillWithWindowsImages();
    ShowMessageWindow(kUnableToLoadCaption, kUnableToLoadText, 1);
  }
}

void TForm1::WriteCurrentListFile() {
  // Without a current list file there is nothing to write to (a file named after the
  // marker would only litter the working directory).
  if (ListFileName == kNoListFile || ListFileName == unreadListFile_) return;
  WriteListFile(ListFileName);
}

void TForm1::ReadListFile(const std::string& path) {
  // Read whole before anything changes: a file that cannot be read leaves the list as it was.
  const std::vector<std::string> entries = imagelist::ReadListFileEntries(path);
  imagelist::WaitCursor wait;
  FileList->Clear();
  FileList->AddAll(entries);
}

void TForm1::WriteListFile(const std::string& path) {
  imagelist::WriteListFileEntries(path, FileList->Items());
}

void TForm1::SaveFileClick() {
  const std::string path = imagelist::ChooseListFileToSave(hwnd());
  if (path.empty()) return;
  WriteListFile(path);
  ListFileName = path;
  if (path == unreadListFile_) unreadListFile_.clear();
  TimedChange->SetEnabled(false);
  FileList->SetItemIndex(0);
}

void TForm1::LoadFileClick() {
  TimedChange->SetEnabled(false);
  const std::string path = imagelist::ChooseListFileToLoad(hwnd());
  if (path.empty()) return;
  ReadListFile(path);

  bool passed = false;
  if (FileList->Count() > 0) {
    const SIZE frame = PreviewFrameSize();
    try {
      imagelist::LoadedPicture test = imagelist::TestPicture(FileList->Item(0), frame.cx, frame.cy);
      Image2 = std::move(test.bitmap);
      passed = true;
    } catch (const std::exception&) {
      passed = false;
    }
  }
  if (passed) {
    FileList->SetItemIndex(0);
    ListFileName = path;
    if (path == unreadListFile_) unreadListFile_.clear();
    return;
  }
  ShowMessageWindow(kNotValidCaption, kNotValidText, 1);
  ListFileName = kNoListFile;
  FileList->Clear();
  FillWithWindowsImages();
  FileList->SetItemIndex(0);
  FileListClick();
  TimedChange->SetEnabled(false);
}

// ---- image list ----

void TForm1::FillWithWindowsImages() {
  imagelist::ScanWindowsImages(
      ui::seams().windowsDirectory(),
      [this](const std::vector<std::string>& paths) { FileList->AddAll(paths); });
}

void TForm1::addClick() {
  for (const std::string& path : imagelist::ChooseImageFiles(hwnd())) FileList->Add(path);
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

  const std::string path = FileList->Item(FileList->ItemIndex());
  const SIZE frame = PreviewFrameSize();
  imagelist::LoadedPicture picture = imagelist::LoadPicture(path, frame.cx, frame.cy);

  PreviewBitmap = std::move(picture.bitmap);
  Image1->SetBitmap(PreviewBitmap.get());
  shownBitmap_.reset();
  const imagelist::PreviewFit fit =
      imagelist::FitPreview(picture.width, picture.height, frame.cx, frame.cy);
  Image1->SetBounds(fit.left, fit.top, fit.width, fit.height);
  Image1Hint->SetText(imagelist::FileNameOf(path) + '\r' + imagelist::GetBitmapInfo(picture));
}

}  // namespace app
