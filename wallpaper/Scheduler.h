#pragma once
// Which entry of the image list becomes the next wallpaper, and what happens to an entry
// that cannot be installed.
#include <cstdint>

namespace wallpaper {

// The image list and the steps around it, as a change sees them.
class ChangeList {
 public:
  virtual int Count() const = 0;
  virtual int Selected() const = 0;  // -1 for none
  // An index outside the list selects nothing.
  virtual void Select(int index) = 0;
  // Shows the selected entry; fails when nothing is selected or the file is no picture.
  virtual void Preview() = 0;
  // Installs the selected entry.
  virtual void ApplySelected() = 0;
  // Removes the selected entry, leaving nothing selected.
  virtual void DeleteSelected() = 0;
  // Tells the user that an entry was removed.
  virtual void NoticeInvalid() = 0;

 protected:
  ~ChangeList() = default;
};

// In list order: the entry after the selected one (wrapping to the first). An entry whose
// apply fails is removed and the change starts again from the first entry, until an
// apply succeeds or a preview fails. A preview's error is not caught, nor an InstallError,
// which leaves the entry in the list.
void ChangeInListOrder(ChangeList& list);

// At random: one pick (`drawn` when it was drawn before and is still in the list); an
// entry whose apply fails is removed without a second attempt.
void ChangeAtRandom(ChangeList& list, int drawn = -1);

// An index from 0 to count - 1, every one equally likely, from a generator seeded anew
// from the clock; 0 when the list is empty.
int RandomIndex(int count);

// The seed of one pick: the performance counter (the tick count where there is none).
uint64_t ClockSeed();

}  // namespace wallpaper
