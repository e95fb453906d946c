#include "imagelist/PreviewPane.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstring>

#include "imagelist/PictureLoader.h"
#include "ui/Picture.h"

namespace imagelist {

namespace {

// Picture area of the pane, in dialog units.
constexpr short kPaneX = 4;
constexpr short kPictureW = 100;
constexpr short kPictureH = 80;

class TemplateWriter {
 public:
  void Word(uint16_t w) { words_.push_back(w); }
  void Dword(uint32_t d) {
    Word(static_cast<uint16_t>(d));
    Word(static_cast<uint16_t>(d >> 16));
  }
  void Text(const char* s) {
    while (*s) Word(static_cast<uint8_t>(*s++));
    Word(0);
  }
  void AlignDword() {
    if (words_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, uint16_t id, uint16_t classAtom,
            const char* text) {
    AlignDword();
    Dword(style | WS_CHILD);
    Dword(0);  // extended style
    for (short v : {x, y, cx, cy}) Word(static_cast<uint16_t>(v));
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }
  std::vector<uint32_t> Finish() {
    AlignDword();
    std::vector<uint32_t> out(words_.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
      out[i] = static_cast<uint32_t>(words_[2 * i]) | static_cast<uint32_t>(words_[2 * i + 1])
                                                          << 16;
    }
    return out;
  }

 private:
  std::vector<uint16_t> words_;
};

constexpr uint16_t kStaticAtom = 0x0082;

PreviewPaneState* StateOf(HWND pane) {
  return reinterpret_cast<PreviewPaneState*>(GetWindowLongPtrA(pane, GWLP_USERDATA));
}

std::string HighlightedPath(HWND pane) {
  HWND dialog = GetParent(pane);
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const LRESULT n =
        SendMessageA(dialog, CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
    if (n <= 0) return {};
    if (static_cast<size_t>(n) <= path.size()) {
      path.resize(strnlen(path.data(), path.size()));
      return path;
    }
    path.assign(static_cast<size_t>(n), '\0');
  }
}

void ShowHighlighted(HWND pane, PreviewPaneState& state) {
  const std::string path = HighlightedPath(pane);
  if (path == state.shownPath) return;
  state.shownPath = path;
  state.bitmap.reset();
  std::string sizeText = "(None)";
  HWND picture = GetDlgItem(pane, kPanePictureId);
  RECT area{};
  GetClientRect(picture, &area);
  try {
    LoadedPicture loaded =
        LoadPicture(path, std::max<int>(area.right, 1), std::max<int>(area.bottom, 1));
    state.bitmap = std::move(loaded.bitmap);
    sizeText = GetBitmapInfo(loaded);
  } catch (...) {
    // Whatever is highlighted and is not a loadable picture (a folder, another file type,
    // a damaged file) shows as none; the dialog goes on.
  }
  SetDlgItemTextA(pane, kPaneSizeId, sizeText.c_str());
  InvalidateRect(picture, nullptr, TRUE);
}

void DrawPicture(const DRAWITEMSTRUCT& item, const PreviewPaneState& state) {
  const RECT& r = item.rcItem;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  const SIZE size = ui::BitmapSize(state.bitmap.get());
  if (size.cx <= 0 || size.cy <= 0) return;
  // Whole picture inside the area, never enlarged, centred.
  const int areaW = r.right - r.left;
  const int areaH = r.bottom - r.top;
  const double scale =
      std::min({1.0, static_cast<double>(areaW) / size.cx, static_cast<double>(areaH) / size.cy});
  const int w = std::max(1, static_cast<int>(size.cx * scale));
  const int h = std::max(1, static_cast<int>(size.cy * scale));
  ui::DrawBitmap(item.hDC, state.bitmap.get(), r.left + (areaW - w) / 2, r.top + (areaH - h) / 2, w,
                 h);
}

}  // namespace

std::vector<uint32_t> BuildPreviewPaneTemplate() {
  TemplateWriter t;
  constexpr short kItems = 4;
  // The standard controls take the place of stc32; the dialog moves controls to its right
  // along when it grows it to fit them.
  constexpr short kStandardW = 10;
  constexpr short kStandardH = kPictureH + 40;  // nothing of ours lies below it
  constexpr short kLeft = kStandardW + kPaneX;
  t.Dword(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL | DS_SETFONT);
  t.Dword(0);
  t.Word(kItems);
  for (short v : {short{0}, short{0}, short{kLeft + kPictureW + 6}, short{kPictureH + 40}}) {
    t.Word(static_cast<uint16_t>(v));
  }
  t.Word(0);  // no menu
  t.Word(0);  // the default class
  t.Word(0);  // no title
  t.Word(8);
  t.Text("MS Shell Dlg");
  t.Item(WS_VISIBLE, 0, 0, kStandardW, kStandardH, stc32, kStaticAtom, "");
  t.Item(WS_VISIBLE | SS_LEFT, kLeft, 16, kPictureW, 9, kPaneTitleId, kStaticAtom, "Preview:");
  t.Item(WS_VISIBLE | SS_OWNERDRAW | SS_SUNKEN, kLeft, 27, kPictureW, kPictureH, kPanePictureId,
         kStaticAtom, "");
  t.Item(WS_VISIBLE | SS_CENTER, kLeft, 27 + kPictureH + 3, kPictureW, 9, kPaneSizeId, kStaticAtom,
         "(None)");
  return t.Finish();
}

UINT_PTR CALLBACK PreviewPaneHook(HWND pane, UINT msg, WPARAM, LPARAM lp) {
  // Nothing may leave this procedure as an exception: it is called by the dialog's code.
  try {
    switch (msg) {
      case WM_INITDIALOG: {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lp);
        SetWindowLongPtrA(pane, GWLP_USERDATA, ofn ? ofn->lCustData : 0);
        return TRUE;
      }
      case WM_NOTIFY: {
        PreviewPaneState* state = StateOf(pane);
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (state && header &&
            (header->code == static_cast<UINT>(CDN_SELCHANGE) ||
             header->code == static_cast<UINT>(CDN_FOLDERCHANGE))) {
          ShowHighlighted(pane, *state);
        }
        return 0;
      }
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        const PreviewPaneState* state = StateOf(pane);
        if (!state || !item || item->CtlID != static_cast<UINT>(kPanePictureId)) return FALSE;
        DrawPicture(*item, *state);
        return TRUE;
      }
      default:
        return 0;
    }
  } catch (...) {
    return 0;
  }
}

}  // namespace imagelist
