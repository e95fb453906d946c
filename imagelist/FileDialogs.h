#pragma once
// The file dialogs of the image list: "Add image file ..." (pictures, several at once, with
// a preview pane) and the open and save dialogs of list files. Each opens in the process's
// current working directory and leaves the folder the user went to as the current one, so
// the next dialog opens there. They run through platform::seams().fileDialog.
#include <windows.h>

#include <string>
#include <vector>

namespace imagelist {

// The chosen pictures' full paths in the dialog's order; empty when the user cancelled.
std::vector<std::string> ChooseImageFiles(HWND owner);

// The chosen list file to load or to save; empty when the user cancelled.
std::string ChooseListFileToLoad(HWND owner);
std::string ChooseListFileToSave(HWND owner);

// A filter in the written form "Text|*.ext|Text|*.ext" as the dialog wants it: every '|' a
// zero byte, and a second zero byte at the end.
std::string DialogFilter(const std::string& filter);

// The result of a multi-selection dialog: either one full path, or the folder followed by
// the names chosen in it, each ended by a zero byte, the list by a second one.
std::vector<std::string> SplitSelection(const char* buffer, size_t size);

}  // namespace imagelist
