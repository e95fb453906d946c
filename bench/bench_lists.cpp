// Times the list file with the program's own code on a real list box (Windows build only):
// loading (file read and parsed, then ListBox::AddAll into an empty list, unsorted and with
// sorting on) and writing (the list box's entries serialised and put in place through
// SafeFileWriter, flush and move included), as TForm1 does on its Load and Save.
//
//   bench_lists ENTRIES RUNS FILE
//       LISTS <entries> <load s> <load sorted s> <write s> <compare sort s> <same order>
//   (best of RUNS each). "compare sort" is, for reference, the stable sort of the entries
//   alone with the system's comparison per pair (CompareStringA, as Add places one entry);
//   "same order" whether the sorted load shows exactly that order.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imagelist/ListFile.h"
#include "imagelist/core/ListFileCodec.h"
#include "ui/ListBox.h"
#include "platform/FileIO.h"
#include "ui/Window.h"

#include "bench/BenchClock.h"
#include "bench/BenchMain.h"

namespace {

using bench::Clock;
using bench::SecondsSince;

class Host : public ui::Window {
 public:
  Host() {
    CreateHwnd({.className = "TBenchHost",
                .style = WS_POPUP,
                .x = 0,
                .y = 0,
                .width = 400,
                .height = 300});
  }
};

// Paths as a picture collection has them: a few hundred folders, file names with numbers,
// in no order (so that sorting has work to do).
std::vector<std::string> MakeEntries(int count) {
  std::mt19937 random(7);
  std::vector<std::string> entries;
  entries.reserve(static_cast<size_t>(count));
  char buffer[160];
  for (int i = 0; i < count; ++i) {
    const unsigned folder = random() % 400, year = 2000 + random() % 25;
    std::snprintf(buffer, sizeof buffer, "C:\\Users\\Public\\Pictures\\%u\\Trip %03u\\IMG_%06d.jpg",
                  year, folder, i);
    entries.emplace_back(buffer);
  }
  std::shuffle(entries.begin(), entries.end(), random);
  return entries;
}

double LoadSeconds(HWND parent, const std::string& path, bool sorted, size_t expected,
                   std::vector<std::string>* shown = nullptr) {
  ui::ListBox list(parent, {.width = 300, .height = 200});
  list.SetSorted(sorted);
  const Clock::time_point start = Clock::now();
  const std::vector<std::string> entries = imagelist::ReadListFileEntries(path);
  list.Clear();
  list.AddAll(entries);
  const double seconds = SecondsSince(start);
  if (static_cast<size_t>(list.Count()) != expected) {
    throw std::runtime_error("list box holds " + std::to_string(list.Count()) + " entries");
  }
  if (shown) *shown = list.Items();
  return seconds;
}

double WriteSeconds(const ui::ListBox& list, const std::string& path) {
  const Clock::time_point start = Clock::now();
  const std::string text = imagelist::SerializeListFile(list.Items());
  platform::SafeFileWriter writer(path);
  writer.Append(text.data(), text.size());
  writer.Commit();
  return SecondsSince(start);
}

bool Less(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                        b.c_str(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

double SortSeconds(std::vector<std::string> entries, std::vector<std::string>* sorted) {
  const Clock::time_point start = Clock::now();
  std::stable_sort(entries.begin(), entries.end(), Less);
  const double seconds = SecondsSince(start);
  *sorted = std::move(entries);
  return seconds;
}

int Run(int count, int runs, const std::string& path) {
  Host host;
  const std::vector<std::string> entries = MakeEntries(count);
  imagelist::WriteListFileEntries(path, entries);
  // The list that is written: filled once, as the program's list box is before a Save.
  ui::ListBox source(host.hwnd(), {.width = 300, .height = 200});
  source.AddAll(entries);
  double load = 1e30, loadSorted = 1e30, write = 1e30, sort = 1e30;
  std::vector<std::string> byCompare, shown;
  for (int r = 0; r < runs; ++r) {
    load = std::min(load, LoadSeconds(host.hwnd(), path, false, entries.size()));
    loadSorted = std::min(loadSorted, LoadSeconds(host.hwnd(), path, true, entries.size(), &shown));
    write = std::min(write, WriteSeconds(source, path));
    sort = std::min(sort, SortSeconds(entries, &byCompare));
  }
  // What was written reads back whole.
  if (imagelist::ReadListFileEntries(path) != entries) throw std::runtime_error("round trip");
  std::printf("LISTS %d %.3f %.3f %.3f %.3f %s\n", count, load, loadSorted, write, sort,
              shown == byCompare ? "yes" : "no");
  std::fflush(stdout);
  DeleteFileA(path.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::Main("bench_lists", argc == 4, "ENTRIES RUNS FILE",
                     [&] { return Run(std::atoi(argv[1]), std::atoi(argv[2]), argv[3]); });
}
