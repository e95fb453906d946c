#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/core/Error.h"
#include "ui/Dpi.h"
#include "ui/ErrorBox.h"

namespace ui {

namespace {

// When the system names no size for its message font: 8 points at 96 dpi, as a character
// height (the negative form).
constexpr LONG kFallbackFontHeight = -11;

// Wider hints break into lines. A maximum width is also what makes the tooltip break lines
// at CR LF at all.
constexpr LPARAM kHintMaxWidth = 600;

HFONT MakeFont(int weight, bool italic) {
  NONCLIENTMETRICSA ncm{.cbSize = sizeof(NONCLIENTMETRICSA)};
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  LOGFONTA lf = ncm.lfMessageFont;
  if (lf.lfHeight == 0) lf.lfHeight = ScaleToDpi(kFallbackFontHeight);
  lf.lfWeight = weight;
  lf.lfItalic = italic ? TRUE : FALSE;
  return CreateFontIndirectA(&lf);
}

}  // namespace

HFONT DefaultFont() {
  static platform::UniqueFont font(MakeFont(FW_NORMAL, false));
  return font.get();
}

HFONT ItalicFont() {
  static platform::UniqueFont font(MakeFont(FW_NORMAL, true));
  return font.get();
}

HFONT BoldFont() {
  static platform::UniqueFont font(MakeFont(FW_BOLD, false));
  return font.get();
}

// ---- Control ----

Control::~Control() {
  // Detached first: the messages of its destruction find no object.
  if (hwnd_ && IsWindow(hwnd())) {
    if (subclassed_) RemoveWindowSubclass(hwnd(), &Control::SubclassProc, 1);
    SetWindowLongPtrA(hwnd(), GWLP_USERDATA, 0);
  }
}

Control* Control::FromHwnd(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  return reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void Control::Create(const char* windowClass, const std::string& text, DWORD style, DWORD exStyle,
                     HWND parent, int x, int y, int width, int height) {
  // Fields take typed text: as Unicode windows they get each character as typed, where an
  // ANSI one gets '?' for any character outside the keyboard's code page.
  const int sx = ScaleToDpi(x), sy = ScaleToDpi(y), sw = ScaleToDpi(width), sh = ScaleToDpi(height);
  if (lstrcmpiA(windowClass, "EDIT") == 0) {
    hwnd_.reset(CreateWindowExW(exStyle, L"EDIT", platform::ToWide(text).c_str(), style | WS_CHILD,
                                sx, sy, sw, sh, parent, nullptr, GetModuleHandleW(nullptr),
                                nullptr));
  } else {
    hwnd_.reset(CreateWindowExA(exStyle, windowClass, text.c_str(), style | WS_CHILD, sx, sy, sw,
                                sh, parent, nullptr, GetModuleHandleA(nullptr), nullptr));
  }
  if (!hwnd_)
    throw platform::Error(platform::Format("Error creating window class %s", windowClass));
  SetWindowLongPtrA(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetFont(DefaultFont());
}

void Control::Subclass() {
  subclassed_ = SetWindowSubclass(hwnd(), &Control::SubclassProc, 1,
                                  reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR ref) {
  auto* self = reinterpret_cast<Control*>(ref);
  LRESULT result = 0;
  bool handled = false;
  try {
    handled = self->OnOwnMessage(msg, wp, lp, result);
  } catch (...) {
    ReportCurrentException();
    handled = false;
  }
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &Control::SubclassProc, 1);
    self->hwnd_.release();  // destroyed with its parent: nothing left to free
  }
  return handled ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

bool Control::OnOwnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}
bool Control::OnParentNotify(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

bool Control::ReactToCommand(UINT msg, WPARAM wp, WORD code, const std::function<void()>& react,
                             LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wp) != code) return false;
  Guarded([&react] {
    if (react) react();
  });
  result = 0;
  return true;
}

bool Control::Enabled() const noexcept {
  return IsWindowEnabled(hwnd()) != FALSE;
}
void Control::SetEnabled(bool enabled) {
  EnableWindow(hwnd(), enabled ? TRUE : FALSE);
}
bool Control::Visible() const noexcept {
  return (GetWindowLongA(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}
void Control::SetVisible(bool visible) {
  ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}

std::string Control::Text() const {
  const LRESULT length = SendMessageA(hwnd(), WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT n =
      SendMessageA(hwnd(), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

void Control::SetText(const std::string& text) {
  SetWindowTextA(hwnd(), text.c_str());
}

void Control::SetBounds(int x, int y, int width, int height) {
  SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Control::Bounds() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Control::SetFont(HFONT font) {
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// ---- Label ----

Label::Label(HWND parent, const Layout& layout) {
  Create("STATIC", layout.caption, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | layout.style, 0, parent,
         layout.x, layout.y, layout.width, layout.height);
}

bool Label::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColour_ == CLR_INVALID ? GetSysColor(COLOR_WINDOWTEXT) : textColour_);
  result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

// ---- Button ----

Button::Button(HWND parent, const Layout& layout) {
  Create("BUTTON", layout.caption,
         WS_VISIBLE | WS_TABSTOP | (layout.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, parent,
         layout.x, layout.y, layout.width, layout.height);
}

void Button::Click() {
  if (onClick) onClick();
}

bool Button::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
  Guarded([this] { Click(); });
  result = 0;
  return true;
}

// ---- CheckBox ----

CheckBox::CheckBox(HWND parent, const Layout& layout) {
  Create("BUTTON", layout.caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, parent, layout.x,
         layout.y, layout.width, layout.height);
  Subclass();  // for the mouse-release reaction
}

bool CheckBox::Checked() const noexcept {
  return SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
  if (checked == Checked()) return;
  SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (onClick) onClick();
}

bool CheckBox::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  return ReactToCommand(msg, wp, BN_CLICKED, onClick, result);
}

bool CheckBox::OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_KEYUP && wp == VK_SPACE) {
    const bool before = Checked();
    result = DefSubclassProc(hwnd(), msg, wp, lp);
    if (Checked() != before) {
      Guarded([this] {
        if (onKeyToggle) onKeyToggle();
      });
    }
    return true;
  }
  if (msg != WM_LBUTTONUP && msg != WM_RBUTTONUP && msg != WM_MBUTTONUP) return false;
  // The default handling toggles the box (and reports the click) first.
  result = DefSubclassProc(hwnd(), msg, wp, lp);
  Guarded([this] {
    if (onMouseUp) onMouseUp();
  });
  return true;
}

// ---- Edit ----

Edit::Edit(HWND parent, const Layout& layout) {
  // In a multi-line edit ES_AUTOHSCROLL turns word wrap off.
  const DWORD scroll = (layout.style & ES_MULTILINE) ? 0 : ES_AUTOHSCROLL;
  Create("EDIT", "", WS_VISIBLE | WS_TABSTOP | scroll | layout.style, WS_EX_CLIENTEDGE, parent,
         layout.x, layout.y, layout.width, layout.height);
  if (layout.maxLength > 0)
    SendMessageA(hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(layout.maxLength), 0);
}

// ---- SpinEdit ----

SpinEdit::SpinEdit(HWND parent, const Layout& layout)
    : min_(layout.minValue), max_(layout.maxValue) {
  // A tab stop: with the focus on the field, the up-down's arrow keys change the value.
  Create("EDIT", std::to_string(min_),
         WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
         parent, layout.x, layout.y, layout.width, layout.height);
  upDown_.reset(CreateWindowExA(
      0, UPDOWN_CLASSA, "",
      WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
      0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr));
  SendMessageA(upDown_.get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd()), 0);
  SendMessageA(upDown_.get(), UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageA(upDown_.get(), UDM_SETPOS32, 0, min_);
}

int SpinEdit::Value() const {
  const std::string text = Text();
  try {
    return std::clamp(std::stoi(text), min_, max_);
  } catch (...) {
    return min_;
  }
}

void SpinEdit::SetValue(int value) {
  value = std::clamp(value, min_, max_);
  settingFromCode_ = true;
  SendMessageA(upDown_.get(), UDM_SETPOS32, 0, value);
  SetText(std::to_string(value));
  settingFromCode_ = false;
  if (onChange) onChange();
}

void SpinEdit::SetEnabledBoth(bool enabled) {
  SetEnabled(enabled);
  EnableWindow(upDown_.get(), enabled ? TRUE : FALSE);
}

bool SpinEdit::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (settingFromCode_) return false;
  return ReactToCommand(msg, wp, EN_CHANGE, onChange, result);
}

// ---- ComboBox ----

ComboBox::ComboBox(HWND parent, const Layout& layout) {
  Create("COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, parent,
         layout.x, layout.y, layout.width, layout.height);
  for (const std::string& item : layout.items) {
    SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
}

int ComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
  const int count = static_cast<int>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0));
  // An index outside the items selects none (not every platform clears it by itself).
  SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < count ? index : -1),
               0);
}

bool ComboBox::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  return ReactToCommand(msg, wp, CBN_SELCHANGE, onChange, result);
}

// ---- TabControl ----

TabControl::TabControl(HWND parent, const Layout& layout) {
  Create(WC_TABCONTROLA, "", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, parent, layout.x,
         layout.y, layout.width, layout.height);
  for (size_t i = 0; i < layout.tabs.size(); ++i) {
    TCITEMA item{.mask = TCIF_TEXT, .pszText = const_cast<char*>(layout.tabs[i].c_str())};
    SendMessageA(hwnd(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

int TabControl::ActivePage() const {
  return static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0));
}

void TabControl::SetActivePage(int index) {
  SendMessageA(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  ShowOnly(index);
}

void TabControl::SelectNext(int delta) {
  const int count = static_cast<int>(pages_.size());
  if (count > 0) SetActivePage(((ActivePage() + delta) % count + count) % count);
}

HWND TabControl::ActivePageWindow() const {
  const int index = ActivePage();
  return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[index] : nullptr;
}

RECT TabControl::PageArea() const {
  RECT r = Bounds();
  SendMessageA(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return {ScaleFromDpi(r.left), ScaleFromDpi(r.top), ScaleFromDpi(r.right), ScaleFromDpi(r.bottom)};
}

void TabControl::ShowOnly(int index) {
  for (size_t i = 0; i < pages_.size(); ++i) {
    ShowWindow(pages_[i], static_cast<int>(i) == index ? SW_SHOWNA : SW_HIDE);
  }
}

bool TabControl::OnParentNotify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lp)->code != static_cast<UINT>(TCN_SELCHANGE))
    return false;
  ShowOnly(ActivePage());
  result = 0;
  return true;
}

// ---- Picture ----

Picture::Picture(HWND parent, const Layout& layout) {
  Create("STATIC", "", WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 0, parent, layout.x, layout.y,
         layout.width, layout.height);
}

void Picture::SetBitmap(HBITMAP bitmap) {
  bitmap_ = bitmap;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool Picture::OnParentNotify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
  const RECT& r = item->rcItem;
  FillRect(item->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  BITMAP info{};
  if (bitmap_ && GetObjectA(bitmap_, sizeof(info), &info)) {
    platform::UniqueDC memory(CreateCompatibleDC(item->hDC));
    platform::SelectGuard select(memory.get(), bitmap_);
    SetStretchBltMode(item->hDC, HALFTONE);
    SetBrushOrgEx(item->hDC, 0, 0, nullptr);
    StretchBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
  }
  result = TRUE;
  return true;
}

// ---- Hint ----

Hint::Hint(HWND owner, HWND tool) : owner_(owner), tool_(tool) {
  tip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_,
                             nullptr, GetModuleHandleA(nullptr), nullptr));
  TTTOOLINFOA info{.cbSize = sizeof(TTTOOLINFOA),
                   .uFlags = TTF_SUBCLASS | TTF_IDISHWND,
                   .hwnd = owner_,
                   .uId = reinterpret_cast<UINT_PTR>(tool_),
                   .lpszText = const_cast<char*>("")};
  SendMessageA(tip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageA(tip_.get(), TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(kHintMaxWidth));
}

void Hint::SetText(const std::string& text) {
  text_ = text;
  // The tooltip breaks lines at CR LF; the hint text itself keeps its lone CR.
  shown_.clear();
  for (char c : text_) {
    shown_ += c;
    if (c == '\r') shown_ += '\n';
  }
  TTTOOLINFOA info{.cbSize = sizeof(TTTOOLINFOA),
                   .uFlags = TTF_IDISHWND,
                   .hwnd = owner_,
                   .uId = reinterpret_cast<UINT_PTR>(tool_),
                   .lpszText = shown_.data()};
  SendMessageA(tip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace ui
