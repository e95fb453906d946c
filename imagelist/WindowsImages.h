#pragma once
// The scan of the Windows directory and the system's wallpapers for the default image list.
#include <functional>
#include <string>
#include <vector>

namespace imagelist {

// Calls addAll with folder + "\" + name for every ".bmp" file of the folder, then again for
// every ".jpg" file, each batch in the order the directory search returns them; its
// subfolders are not searched. Then once more for the system's wallpapers under
// folder\Web\Wallpaper, searched with its subfolders: each folder's bitmaps and JPEG files
// by name, then its subfolders by name. Nothing is called for a search that finds nothing.
// Pending window
// messages are delivered while the folder is read (at its start and then at least every
// few milliseconds) and between the two batches, so the program stays responsive while a
// slow folder is read.
void ScanWindowsImages(const std::string& folder,
                       const std::function<void(const std::vector<std::string>&)>& addAll);

}  // namespace imagelist
