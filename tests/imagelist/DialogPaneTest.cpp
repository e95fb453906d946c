// The preview pane of the add dialog, run as the open dialog runs it: a child dialog made
// from our template whose parent answers CDM_GETFILEPATH.
#include <gtest/gtest.h>

#include "Support.h"
#include "imagelist/PreviewPane.h"

namespace {

std::string g_highlighted;

LRESULT CALLBACK FakeDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == CDM_GETFILEPATH) {
    const size_t needed = g_highlighted.size() + 1;
    if (needed <= wp) memcpy(reinterpret_cast<char*>(lp), g_highlighted.c_str(), needed);
    return static_cast<LRESULT>(needed);
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class DialogPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{.lpfnWndProc = FakeDialogProc,
                 .hInstance = GetModuleHandleA(nullptr),
                 .lpszClassName = "FakeOpenDialog"};
    RegisterClassA(&wc);
    dialog = CreateWindowA("FakeOpenDialog", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                           nullptr, nullptr);
    ofn.lStructSize = sizeof(ofn);
    ofn.lCustData = reinterpret_cast<LPARAM>(&state);
    pane = CreateDialogIndirectParamA(
        nullptr, reinterpret_cast<const DLGTEMPLATE*>(paneTemplate.data()), dialog,
        reinterpret_cast<DLGPROC>(&imagelist::PreviewPaneHook), reinterpret_cast<LPARAM>(&ofn));
  }
  void TearDown() override { DestroyWindow(dialog); }
  // The dialog tells the pane that the highlighted item changed.
  std::string Highlight(const std::string& path) {
    g_highlighted = path;
    NMHDR header{.hwndFrom = dialog, .idFrom = 0, .code = static_cast<UINT>(CDN_SELCHANGE)};
    SendMessageA(pane, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    char text[100] = {};
    GetDlgItemTextA(pane, imagelist::kPaneSizeId, text, sizeof(text));
    return text;
  }

  testenv::TempDir dir;
  std::vector<uint32_t> paneTemplate = imagelist::BuildPreviewPaneTemplate();
  imagelist::PreviewPaneState state;
  OPENFILENAMEA ofn{};
  HWND dialog = nullptr;
  HWND pane = nullptr;
};

TEST_F(DialogPaneTest, ShowsTheHighlightedPictureOrNone) {
  ASSERT_NE(pane, nullptr);
  EXPECT_NE(GetDlgItem(pane, imagelist::kPanePictureId), nullptr);
  testenv::WriteTestJpeg(dir.File("wide.jpg"), 1200, 400, RGB(0, 200, 0));
  EXPECT_EQ(Highlight(dir.File("wide.jpg")), "( 1200 x 400 ) pixels");
  ASSERT_NE(state.bitmap.get(), nullptr);
  // Kept no larger than the pane needs.
  RECT area{};
  GetClientRect(GetDlgItem(pane, imagelist::kPanePictureId), &area);
  EXPECT_LE(imagelisttest::SizeOf(state.bitmap.get()).cx, 2 * area.right);

  // A folder, another kind of file, a damaged picture: none, and the dialog goes on.
  EXPECT_EQ(Highlight(dir.path()), "(None)");
  EXPECT_EQ(state.bitmap.get(), nullptr);
  testenv::WriteFileBytes(dir.File("notes.txt"), "text");
  EXPECT_EQ(Highlight(dir.File("notes.txt")), "(None)");
  testenv::WriteFileBytes(dir.File("broken.bmp"), "BM broken");
  EXPECT_EQ(Highlight(dir.File("broken.bmp")), "(None)");
  testenv::WriteTestBmp(dir.File("small.bmp"), 30, 20, RGB(1, 2, 3));
  EXPECT_EQ(Highlight(dir.File("small.bmp")), "( 30 x 20 ) pixels");
}

}  // namespace
