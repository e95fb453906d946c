#include "ui/ListBox.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <utility>

#include "platform/CodePage.h"
#include "platform/core/Error.h"
#include "ui/ErrorBox.h"

namespace ui {

namespace {

// The list box's collation: the system's comparison with letter case ignored. On UTF-16:
// the "A" forms convert through the locale's code page, not the process's UTF-8.
int Collate(const std::string& a, const std::string& b) {
  const std::wstring wa = platform::ToWide(a), wb = platform::ToWide(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                        static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()));
}

// The collation's sort keys, made once per text: sorting n texts then costs n calls into
// the system instead of n log n comparisons, each of which maps both texts again.
class SortKeys {
 public:
  explicit SortKeys(const std::vector<std::string>& texts) {
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
    spans_.reserve(texts.size());
    std::wstring wide;
    for (const std::string& text : texts) {
      const size_t at = arena_.size();
      int size = 0;
      if (!text.empty()) {
        wide = platform::ToWide(text);
        const int length = static_cast<int>(wide.size());
        // Most keys fit this guess; the rare longer one is measured first. A sort key is
        // bytes, whatever the form of the call.
        arena_.resize(at + wide.size() * 8 + 32);
        size = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.c_str(), length, KeyAt(at),
                            static_cast<int>(arena_.size() - at));
        if (size == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
          size = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.c_str(), length, nullptr, 0);
          arena_.resize(at + static_cast<size_t>(std::max(size, 0)));
          size = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.c_str(), length, KeyAt(at), size);
        }
        if (size <= 0) {
          ok_ = false;
          return;
        }
      }
      arena_.resize(at + static_cast<size_t>(size));
      spans_.emplace_back(at, static_cast<size_t>(size));
    }
  }
  bool ok() const noexcept { return ok_; }
  std::string_view operator[](size_t i) const noexcept {
    return std::string_view(arena_).substr(spans_[i].first, spans_[i].second);
  }

 private:
  LPWSTR KeyAt(size_t at) { return reinterpret_cast<LPWSTR>(arena_.data() + at); }

  std::string arena_;
  std::vector<std::pair<size_t, size_t>> spans_;
  bool ok_ = true;
};

// Text widths in the list box's font, through one device context for many texts.
class TextWidth {
 public:
  explicit TextWidth(HWND list)
      : dc_(list),
        font_(dc_.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0))) {}
  int operator()(const std::string& text) const {
    SIZE size{};
    GetTextExtentPoint32A(dc_.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

 private:
  platform::WindowDC dc_;
  platform::SelectGuard font_;
};

// Room beside the widest text: the list box draws its texts a little in from the edge.
constexpr int kTextMargin = 4;

std::vector<size_t> Identity(size_t count) {
  std::vector<size_t> order(count);
  std::iota(order.begin(), order.end(), size_t{0});
  return order;
}

// Positions into texts, in the order that Add one by one leaves them: texts[0, listed) are
// the entries already in the list (in order), the rest are added after them in turn. A new
// text goes before a listed one only when it sorts strictly before it, and equal new texts
// keep their own order.
template <typename Less>
std::vector<size_t> MergedOrder(size_t count, size_t listed, Less less) {
  std::vector<size_t> order = Identity(count);
  std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(listed), order.end(), less);
  std::inplace_merge(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(listed),
                     order.end(), less);
  return order;
}

// Whether every pair of neighbours compares the same through the keys as through the
// comparison itself; then both orders are the same, equal runs included.
bool KeysAgree(const std::vector<std::string>& texts, const std::vector<size_t>& order,
               const SortKeys& keys) {
  for (size_t i = 1; i < order.size(); ++i) {
    const int byKey = keys[order[i - 1]].compare(keys[order[i]]);
    const int byCollation = Collate(texts[order[i - 1]], texts[order[i]]) - CSTR_EQUAL;
    if (byCollation > 0 || (byKey > 0) - (byKey < 0) != byCollation) return false;
  }
  return true;
}

std::vector<size_t> SortedOrder(const std::vector<std::string>& texts, size_t listed) {
  const SortKeys keys(texts);
  if (keys.ok()) {
    std::vector<size_t> order =
        MergedOrder(texts.size(), listed, [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    if (KeysAgree(texts, order, keys)) return order;
  }
  // Should keys and comparison ever disagree, the list shows the comparison's order, the one
  // Add gives.
  return MergedOrder(texts.size(), listed, [&](size_t a, size_t b) {
    return Collate(texts[a], texts[b]) == CSTR_LESS_THAN;
  });
}

}  // namespace

ListBox::ListBox(HWND parent, const Layout& layout) {
  Create("LISTBOX", "",
         WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
             LBS_HASSTRINGS,
         WS_EX_CLIENTEDGE, parent, layout.x, layout.y, layout.width, layout.height);
  listProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd(), GCLP_WNDPROC));
  listProcW_ = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd(), GCLP_WNDPROC));
}

LRESULT ListBox::Send(UINT msg, WPARAM wp, LPARAM lp) const {
  return CallWindowProcA(listProc_, hwnd(), msg, wp, lp);
}

int ListBox::Count() const {
  return static_cast<int>(Send(LB_GETCOUNT, 0, 0));
}

std::string ListBox::Item(int index) const {
  if (index < 0 || index >= Count())
    throw platform::Error(platform::Format("List index out of bounds (%d)", index));
  // Read in UTF-16 and converted here. The list box of the common controls is a Unicode
  // window, and the system's conversion of the "A" message for it goes through a buffer of
  // its own: under Wine a fixed one of 512 characters, which a longer entry overruns.
  const auto wideIndex = static_cast<WPARAM>(index);
  const LRESULT length = CallWindowProcW(listProcW_, hwnd(), LB_GETTEXTLEN, wideIndex, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT n = CallWindowProcW(listProcW_, hwnd(), LB_GETTEXT, wideIndex,
                                    reinterpret_cast<LPARAM>(wide.data()));
  // The length may be larger than the text: the system may count for either kind of text.
  wide.resize(static_cast<size_t>(std::clamp<LRESULT>(n, 0, length)));
  return platform::FromWide(wide);  // the process's code page, whatever it is
}

int ListBox::ItemIndex() const {
  return static_cast<int>(Send(LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) {
  Send(LB_SETCURSEL, static_cast<WPARAM>(index < 0 || index >= Count() ? -1 : index), 0);
}

int ListBox::SortedPlace(const std::string& text) const {
  // Upper bound: equal entries keep the order in which they were added.
  int lo = 0, hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (Collate(text, Item(mid)) == CSTR_LESS_THAN) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

int ListBox::Add(const std::string& text) {
  const LRESULT at = sorted_ ? Send(LB_INSERTSTRING, static_cast<WPARAM>(SortedPlace(text)),
                                    reinterpret_cast<LPARAM>(text.c_str()))
                             : Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (at == LB_ERR || at == LB_ERRSPACE) throw platform::Error("Unable to insert a line");
  CountWidth(TextWidth(hwnd())(text), +1);
  UpdateExtent();
  return static_cast<int>(at);
}

void ListBox::CountWidth(int width, int delta) {
  int& count = widths_[width];
  count += delta;
  if (count <= 0) widths_.erase(width);
}

void ListBox::UpdateExtent() {
  const int extent = widths_.empty() ? 0 : widths_.rbegin()->first + kTextMargin;
  if (Send(LB_GETHORIZONTALEXTENT, 0, 0) != extent) {
    Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
  }
}

bool ListBox::Refill(const std::vector<std::string>& texts, const std::vector<size_t>& order) {
  size_t bytes = 0;
  for (const size_t i : order) bytes += texts[i].size() + 1;
  Clear();
  Send(LB_INITSTORAGE, order.size(), static_cast<LPARAM>(bytes));
  const TextWidth width(hwnd());
  bool filled = true;
  for (const size_t i : order) {
    if (Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i].c_str())) < 0) {
      filled = false;
      break;
    }
    CountWidth(width(texts[i]), +1);
  }
  UpdateExtent();
  return filled;
}

void ListBox::AddAll(const std::vector<std::string>& texts) {
  if (texts.empty()) return;
  BeginUpdate();
  if (!sorted_) {
    size_t bytes = 0;
    for (const std::string& text : texts) bytes += text.size() + 1;
    Send(LB_INITSTORAGE, texts.size(), static_cast<LPARAM>(bytes));
    const TextWidth width(hwnd());
    bool filled = true;
    for (const std::string& text : texts) {
      if (Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0) {
        filled = false;
        break;
      }
      CountWidth(width(text), +1);
    }
    UpdateExtent();
    EndUpdate();
    if (!filled) throw platform::Error("Unable to insert a line");
    return;
  }
  const int selected = ItemIndex();
  std::vector<std::string> all = Items();
  const size_t listed = all.size();
  all.insert(all.end(), texts.begin(), texts.end());
  const std::vector<size_t> order = SortedOrder(all, listed);
  int movedTo = -1;  // the selected entry's new place
  for (size_t i = 0; i < order.size(); ++i) {
    if (static_cast<int>(order[i]) == selected) movedTo = static_cast<int>(i);
  }
  // The list is rebuilt whole; should the control run out of room part-way, it gets back
  // the entries it held rather than lose some of them.
  const bool filled = Refill(all, order);
  if (!filled) Refill(all, Identity(listed));
  SetItemIndex(filled ? movedTo : selected);
  EndUpdate();
  if (!filled) throw platform::Error("Unable to insert a line");
}

void ListBox::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  const int width = TextWidth(hwnd())(Item(index));
  Send(LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  CountWidth(width, -1);
  UpdateExtent();
}

void ListBox::Clear() {
  Send(LB_RESETCONTENT, 0, 0);
  widths_.clear();
  UpdateExtent();
}

std::vector<std::string> ListBox::Items() const {
  std::vector<std::string> items;
  const int n = Count();
  items.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) items.push_back(Item(i));
  return items;
}

void ListBox::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (!sorted_) return;
  const int selected = ItemIndex();
  const std::vector<std::string> items = Items();
  BeginUpdate();
  const bool filled = Refill(items, SortedOrder(items, 0));
  if (!filled) {
    // Out of room part-way: the entries come back in their order, and stay unsorted.
    Refill(items, Identity(items.size()));
    sorted_ = false;
  }
  EndUpdate();
  SetItemIndex(selected);
  if (!filled) throw platform::Error("Unable to insert a line");
}

void ListBox::BeginUpdate() {
  if (updateDepth_++ == 0) Send(WM_SETREDRAW, FALSE, 0);
}

void ListBox::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0) {
    Send(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

bool ListBox::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  return ReactToCommand(msg, wp, LBN_SELCHANGE, onClick, result);
}

}  // namespace ui
