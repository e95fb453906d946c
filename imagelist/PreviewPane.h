#pragma once
// The preview pane of the "Add image file ..." dialog: a child dialog beside the standard
// controls of the open dialog that shows the highlighted picture and its size, or "(None)"
// when the highlighted item is not a picture.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace imagelist {

inline constexpr int kPaneTitleId = 0x4001;
inline constexpr int kPanePictureId = 0x4002;
inline constexpr int kPaneSizeId = 0x4003;

// What the pane shows; owned by the caller of the dialog for as long as it runs.
struct PreviewPaneState {
  platform::UniqueBitmap bitmap;
  std::string shownPath;
};

// The child dialog template (with the open dialog's stc32 placeholder), DWORD-aligned as
// dialog templates must be.
std::vector<uint32_t> BuildPreviewPaneTemplate();

// The hook procedure of the child dialog. WM_INITDIALOG carries the OPENFILENAMEA whose
// lCustData points to the PreviewPaneState.
UINT_PTR CALLBACK PreviewPaneHook(HWND pane, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace imagelist
