#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace ui {

// LISTBOX with the primitives the image list needs. Sorted mode is our own (the
// window style cannot be switched after creation): an added entry is inserted at the
// place found with the system's case-insensitive comparison.
class ListBox : public Control {
 public:
  struct Layout {
    int x = 0, y = 0, width = 0, height = 0;
  };
  ListBox(HWND parent, const Layout& layout);
  int Count() const;
  // "List index out of bounds (%d)" outside 0..Count()-1.
  std::string Item(int index) const;
  int ItemIndex() const;
  // Outside the list: nothing selected, no error.
  void SetItemIndex(int index);
  // "Unable to insert a line" when the control has no room left. Returns the position.
  int Add(const std::string& text);
  // The same entries and selection as Add on each text in turn, in one pass for long lists:
  // with sorting on, the texts are sorted once (through sort keys, checked against the
  // comparison Add uses) and merged in (equal texts after those already listed, in their
  // own order). Without room for them all, "Unable to insert a line", and a sorted list
  // keeps the entries it held.
  void AddAll(const std::vector<std::string>& texts);
  void Delete(int index);  // outside the list: nothing
  void Clear();
  bool Sorted() const noexcept { return sorted_; }
  // Turning sorting on re-sorts all entries at once; the selected position keeps its number.
  // Without room to re-sort, "Unable to insert a line": the entries stay as they were and
  // sorting stays off.
  void SetSorted(bool sorted);
  void BeginUpdate();
  void EndUpdate();
  std::vector<std::string> Items() const;
  std::function<void()> onClick;  // the user selected an entry (mouse or keys)
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  int SortedPlace(const std::string& text) const;
  // Replaces the entries by texts[order[0]], texts[order[1]], ...; false when the control
  // ran out of room part-way.
  bool Refill(const std::vector<std::string>& texts, const std::vector<size_t>& order);
  // The list box's own messages go straight to its class procedure: the subclass in
  // between looks up a window property per message, which under Wine is a round trip to
  // the server and made a list of 100 000 entries take minutes to fill.
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) const;
  // The horizontal scroll range follows the widest entry: widths_ counts the entries of
  // each text width, so a delete knows at once whether the widest one went.
  void CountWidth(int width, int delta);
  void UpdateExtent();
  std::map<int, int> widths_;
  WNDPROC listProc_ = nullptr;
  WNDPROC listProcW_ = nullptr;  // entries are read in UTF-16 (see Item)
  bool sorted_ = false;
  int updateDepth_ = 0;
};

}  // namespace ui
