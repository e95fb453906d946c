#include "wallpaper/PreparedBitmap.h"

#include <windows.h>

#include <utility>

#include "platform/core/PathText.h"

namespace wallpaper {

void BitmapPreparer::Prepare(BitmapJob job) {
  Cancel();
  job_ = std::move(job);
  made_.clear();
  done_ = false;
  stop_ = false;
  worker_ = std::thread([this] {
    std::string made;
    // Nothing may leave a thread's function; a failure only means no bitmap is ready, and
    // the change then meets the same failure itself and reports it.
    try {
      made = ConvertForWallpaper(job_, kPreparedBitmapName, &stop_);
    } catch (...) {
    }
    made_ = std::move(made);
    done_.store(true, std::memory_order_release);
  });
}

std::string BitmapPreparer::Take(const BitmapJob& job) {
  if (!done_.load(std::memory_order_acquire)) return {};  // none, or not yet made
  Finish();
  done_ = false;
  if (made_.empty() || !(job == job_) || job.fileSize == 0) {
    Discard();
    return {};
  }
  const std::string prepared = std::exchange(made_, {});
  const size_t slash = prepared.find_last_of('\\');
  const std::string target = platform::JoinPath(prepared.substr(0, slash), kConvertedBitmapName);
  if (!MoveFileExA(prepared.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(prepared.c_str());
    return {};
  }
  return target;
}

void BitmapPreparer::Finish() {
  if (worker_.joinable()) worker_.join();
}

void BitmapPreparer::Cancel() {
  stop_ = true;
  Finish();
  Discard();
}

void BitmapPreparer::Discard() {
  if (!made_.empty()) DeleteFileA(std::exchange(made_, {}).c_str());
}

}  // namespace wallpaper
