#include "integration/SoundDevice.h"

#include "platform/Seams.h"
#include "platform/core/Error.h"
#include "platform/core/PathText.h"

namespace integration {

namespace {

[[noreturn]] void ThrowMciError(MCIERROR code) {
  char text[256] = {};
  if (!mciGetErrorStringA(code, text, sizeof(text)) || text[0] == '\0') {
    throw platform::Error("Unknown error code");
  }
  throw platform::Error(text);
}

void Check(MCIERROR code) {
  if (code != 0) ThrowMciError(code);
}

}  // namespace

void SoundDevice::Open() {
  Close();
  // An empty element name would leave the choice of device to the system; there is
  // simply no file to play.
  if (fileName_.empty()) ThrowMciError(MCIERR_FILENAME_REQUIRED);
  MCI_OPEN_PARMSA params{};
  params.lpstrElementName = fileName_.c_str();
  Check(platform::seams().mciSend(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&params)));
  device_.reset(params.wDeviceID);
}

void SoundDevice::Close() {
  device_.reset();
}

DWORD SoundDevice::Status(DWORD item) const {
  MCI_STATUS_PARMS params{};
  params.dwItem = item;
  Check(platform::seams().mciSend(device_.get(), MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&params)));
  return static_cast<DWORD>(params.dwReturn);
}

void SoundDevice::Play() {
  if (!device_) throw platform::Error("No MCI device open");
  if (Status(MCI_STATUS_POSITION) == Status(MCI_STATUS_LENGTH)) {
    Check(platform::seams().mciSend(device_.get(), MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, 0));
  }
  MCI_PLAY_PARMS params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(notifyWindow_);
  Check(platform::seams().mciSend(device_.get(), MCI_PLAY, MCI_NOTIFY,
                                  reinterpret_cast<DWORD_PTR>(&params)));
}

std::string DefaultSoundFile(const std::string& windowsDirectory) {
  // Without a Windows directory the names below would be looked up at the drive's root.
  if (windowsDirectory.empty()) return {};
  // The notification sounds of Windows 10 and 11, Windows 7, XP and earlier releases.
  static constexpr const char* kCandidates[] = {"Windows Notify System Generic.wav",
                                                "Windows Notify.wav", "notify.wav", "chimes.wav"};
  const std::string media = platform::JoinPath(windowsDirectory, "Media");
  for (const char* name : kCandidates) {
    const std::string path = platform::JoinPath(media, name);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return path;
    }
  }
  return {};
}

}  // namespace integration
