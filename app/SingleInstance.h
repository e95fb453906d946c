#pragma once
// One running copy per user session. Two copies would share one key and one list file
// (the last to exit overwriting what the other saved) and show two icons.
#include <windows.h>

#include "platform/Handles.h"

namespace app {

class SingleInstance {
 public:
  SingleInstance();
  // Whether another copy held the session's mutex when this one started.
  bool AnotherIsRunning() const noexcept { return another_; }
  // Asks the running copy to open its settings as a double-click on its icon does
  // (through the password prompt when the password is on). False when it never answered.
  static bool ActivateRunningCopy(DWORD timeoutMs);

 private:
  using UniqueMutex = platform::UniqueHandle<platform::traits::Simple<HANDLE, CloseHandle>>;
  UniqueMutex mutex_;
  UniqueMutex runningId_;  // the mapping that tells a later start which process runs
  bool another_ = false;
};

}  // namespace app
