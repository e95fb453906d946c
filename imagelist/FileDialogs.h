#pragma once
// The file dialogs of the image list: "Add image file ..." (pictures, several at once, with
// a preview pane) and the open and save dialogs of list files. Each opens in the folder the
// user last chose a file in, and leaves the process's current directory alone. They run
// through platform::seams().fileDialog.
#include <windows.h>

#include <string>
#include <vector>

namespace imagelist {

// The folder the next file dialog opens in. The dialogs do not change the process's current
// directory (OFN_NOCHANGEDIR): a current folder cannot be deleted or renamed, nor the USB
// stick it is on ejected, while the program runs. So the program keeps the folder the user
// last chose a file in; before any, the working directory.
class DialogFolder {
 public:
  std::string Get() const;
  void Remember(const std::string& chosenFile);

 private:
  std::string folder_;
};

// The chosen pictures' full paths in the dialog's order; empty when the user cancelled.
std::vector<std::string> ChooseImageFiles(HWND owner, DialogFolder& folder);

// The chosen list file to load or to save; empty when the user cancelled.
std::string ChooseListFileToLoad(HWND owner, DialogFolder& folder);
std::string ChooseListFileToSave(HWND owner, DialogFolder& folder);

// A filter in the written form "Text|*.ext|Text|*.ext" as the dialog wants it: every '|' a
// zero byte, and a second zero byte at the end.
std::string DialogFilter(const std::string& filter);

// The result of a multi-selection dialog: either one full path, or the folder followed by
// the names chosen in it, each ended by a zero byte, the list by a second one.
std::vector<std::string> SplitSelection(const char* buffer, size_t size);

}  // namespace imagelist
