#pragma once
// The scan of the Windows directory for the default image list.
#include <functional>
#include <string>

namespace imagelist {

// Calls add with folder + "\" + name for every ".bmp" file of the folder, then for every
// ".jpg" file, each in the order the directory search returns them; subfolders are not
// searched. Pending window messages are delivered after every directory entry, so the
// program stays responsive while a slow folder is read.
void ScanWindowsImages(const std::string& folder,
                       const std::function<void(const std::string&)>& add);

}  // namespace imagelist
