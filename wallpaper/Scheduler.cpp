#include "wallpaper/Scheduler.h"

#include <windows.h>

#include <random>

#include "wallpaper/InstallError.h"

namespace wallpaper {

namespace {

// Picks made so far in this process. Mixed into the seed, so that two picks within one
// tick of a coarse clock still draw from different sequences.
uint32_t g_picks = 0;

// Tries the selected entry. On failure the entry is reported and removed; false then.
// With nothing selected there is nothing to remove, and the error goes to the caller:
// retrying would find the same empty selection again.
bool TryApply(ChangeList& list) {
  try {
    list.ApplySelected();
    return true;
  } catch (const InstallError&) {
    throw;  // the system's refusal: the entry is kept
  } catch (...) {
    if (list.Selected() < 0) throw;
  }
  list.NoticeInvalid();
  list.DeleteSelected();
  return false;
}

}  // namespace

void ChangeInListOrder(ChangeList& list) {
  for (;;) {
    int next = list.Selected() + 1;
    if (next == list.Count()) next = 0;
    list.Select(next);
    list.Preview();
    if (TryApply(list)) return;
  }
}

void ChangeAtRandom(ChangeList& list, int drawn) {
  list.Select(drawn >= 0 && drawn < list.Count() ? drawn : RandomIndex(list.Count()));
  list.Preview();
  TryApply(list);
}

uint64_t ClockSeed() {
  LARGE_INTEGER counter{};
  if (QueryPerformanceCounter(&counter)) return static_cast<uint64_t>(counter.QuadPart);
  return GetTickCount();
}

int RandomIndex(int count) {
  if (count <= 0) return 0;
  const uint64_t clock = ClockSeed();
  std::seed_seq seed{static_cast<uint32_t>(clock), static_cast<uint32_t>(clock >> 32), ++g_picks};
  std::mt19937_64 generator(seed);
  return std::uniform_int_distribution<int>(0, count - 1)(generator);
}

}  // namespace wallpaper
