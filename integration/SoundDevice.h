#pragma once
// The change sound: one device of the Media Control Interface, closed or open on one
// wave file, which rewinds by itself when asked to play after reaching its end.
#include <windows.h>

#include <string>
#include <utility>

#include "platform/Handles.h"

namespace integration {

class SoundDevice {
 public:
  SoundDevice() = default;
  SoundDevice(const SoundDevice&) = delete;
  SoundDevice& operator=(const SoundDevice&) = delete;
  ~SoundDevice() = default;

  const std::string& FileName() const noexcept { return fileName_; }
  void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
  bool IsOpen() const noexcept { return static_cast<bool>(device_); }
  // Window that receives the completion notice of Play (not acted on).
  void SetNotifyWindow(HWND window) noexcept { notifyWindow_ = window; }

  // Closes first; then opens the file, the system choosing the device type. Throws the
  // interface's text for the error.
  void Open();
  void Close();
  // "No MCI device open" on a closed device; rewinds when at the end; does not wait.
  void Play();

 private:
  DWORD Status(DWORD item) const;
  std::string fileName_;
  platform::UniqueMci device_;
  HWND notifyWindow_ = nullptr;
};

// The wave file used while no sound file has been chosen: the system's own default
// notification sound from the Windows media folder, or empty text when it has none.
std::string DefaultSoundFile(const std::string& windowsDirectory);

}  // namespace integration
