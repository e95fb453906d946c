#pragma once
// The bitmap of the JPEG that the next timed change will most likely install, made ahead
// on a worker thread: a picture's decode follows the size of its file (a scaled decode
// reads all of its data, a crop all rows above it), while the change itself then only
// moves the bitmap into place, and the settings window and the icon stay responsive.
#include <atomic>
#include <string>
#include <thread>

#include "wallpaper/JpegConversion.h"

namespace wallpaper {

inline constexpr char kPreparedBitmapName[] = "Kestrova.next.bmp";

class BitmapPreparer {
 public:
  BitmapPreparer() = default;
  ~BitmapPreparer() { Cancel(); }
  BitmapPreparer(const BitmapPreparer&) = delete;
  BitmapPreparer& operator=(const BitmapPreparer&) = delete;

  // Starts making the bitmap of `job`, in place of whatever was prepared before.
  void Prepare(BitmapJob job);

  // When the bitmap of exactly this job is complete: moves it over the converted bitmap in
  // its folder and returns that path. Empty otherwise, also while the worker is still at
  // it: the change then converts by itself and never waits for the worker.
  std::string Take(const BitmapJob& job);

  // Waits for the worker to end.
  void Finish();

  // Stops the worker, waits for it and removes a bitmap it left.
  void Cancel();

 private:
  void Discard();

  BitmapJob job_;     // set before the worker starts
  std::string made_;  // the worker's result, read only once done_ is set
  std::atomic<bool> done_{false};
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace wallpaper
