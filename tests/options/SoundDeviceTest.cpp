// The sound device at the mciSend seam (Wine here has no audio device), plus one real
// attempt on a generated wave file that must not crash.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>

#include "integration/SoundDevice.h"
#include "tests/options/OptionsSupport.h"
#include "tests/support/Checks.h"

namespace {

using integration::SoundDevice;
using optionstest::FakeMci;
using testsupport::ErrorOf;
using testsupport::kNoError;

std::string InterfaceText(MCIERROR code) {
  char text[256] = {};
  mciGetErrorStringA(code, text, sizeof(text));
  return text;
}

TEST(SoundDevice, OpensTheFileByItselfAndClosesTheOldDeviceFirst) {
  FakeMci mci;
  {
    SoundDevice sound;
    sound.SetFileName("C:\\sounds\\one.wav");
    sound.Open();
    ASSERT_EQ(mci.calls.size(), 1u);
    EXPECT_EQ(mci.calls[0].msg, static_cast<UINT>(MCI_OPEN));
    EXPECT_EQ(mci.calls[0].element, "C:\\sounds\\one.wav");
    // The system picks the device type from the file, and the device is not shared.
    EXPECT_EQ(mci.calls[0].flags, static_cast<DWORD_PTR>(MCI_OPEN_ELEMENT | MCI_WAIT));
    const MCIDEVICEID first = *mci.openDevices.begin();

    sound.SetFileName("C:\\sounds\\two.wav");
    sound.Open();
    ASSERT_EQ(mci.calls.size(), 3u);
    EXPECT_EQ(mci.calls[1].msg, static_cast<UINT>(MCI_CLOSE));
    EXPECT_EQ(mci.calls[1].id, first);
    EXPECT_EQ(mci.calls[2].element, "C:\\sounds\\two.wav");
    EXPECT_TRUE(sound.IsOpen());
    EXPECT_EQ(mci.openDevices.size(), 1u);
  }
  // The device goes with its owner.
  EXPECT_TRUE(mci.openDevices.empty());
}

TEST(SoundDevice, RefusedOpenCarriesTheInterfacesTextAndLeavesTheDeviceClosed) {
  FakeMci mci;
  SoundDevice sound;
  sound.SetFileName("C:\\bad.wav");
  mci.refused = {"C:\\bad.wav"};
  mci.openError = MCIERR_FILE_NOT_FOUND;
  const std::string expected = InterfaceText(MCIERR_FILE_NOT_FOUND);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ErrorOf([&] { sound.Open(); }), expected);
  EXPECT_FALSE(sound.IsOpen());

  mci.openError = 1;  // no text for it
  EXPECT_EQ(ErrorOf([&] { sound.Open(); }), "Unknown error code");

  // No file at all: refused without asking the system to choose a device.
  const size_t before = mci.calls.size();
  sound.SetFileName("");
  EXPECT_EQ(ErrorOf([&] { sound.Open(); }), InterfaceText(MCIERR_FILENAME_REQUIRED));
  EXPECT_EQ(mci.calls.size(), before);
}

TEST(SoundDevice, PlayRewindsOnlyAtTheEndAndDoesNotWait) {
  FakeMci mci;
  SoundDevice sound;
  HWND notify = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
  sound.SetNotifyWindow(notify);
  sound.SetFileName("C:\\chime.wav");
  sound.Open();
  mci.calls.clear();

  // Played to its end: back to the start first.
  mci.position = mci.length;
  sound.Play();
  EXPECT_EQ(mci.Messages(), (std::vector<UINT>{MCI_STATUS, MCI_STATUS, MCI_SEEK, MCI_PLAY}));
  EXPECT_EQ(mci.calls[2].flags, static_cast<DWORD_PTR>(MCI_SEEK_TO_START | MCI_WAIT));
  const FakeMci::Call& play = mci.calls[3];
  EXPECT_EQ(play.flags, static_cast<DWORD_PTR>(MCI_NOTIFY));  // no wait, no "from"
  EXPECT_EQ(play.callback, reinterpret_cast<DWORD_PTR>(notify));

  // Still playing: goes on from where it is, no restart.
  mci.calls.clear();
  mci.position = 400;
  sound.Play();
  EXPECT_EQ(mci.Messages(), (std::vector<UINT>{MCI_STATUS, MCI_STATUS, MCI_PLAY}));
}

TEST(SoundDevice, PlayOnAClosedDeviceAsksNothing) {
  FakeMci mci;
  SoundDevice sound;
  EXPECT_EQ(ErrorOf([&] { sound.Play(); }), "No MCI device open");
  sound.SetFileName("C:\\bad.wav");
  mci.refused = {"C:\\bad.wav"};
  EXPECT_NE(ErrorOf([&] { sound.Open(); }), kNoError);
  mci.calls.clear();
  EXPECT_EQ(ErrorOf([&] { sound.Play(); }), "No MCI device open");
  EXPECT_TRUE(mci.calls.empty());
}

TEST(DefaultSound, IsTheNewestNotificationWaveOfTheMediaFolder) {
  testenv::TempDir windows;
  EXPECT_EQ(integration::DefaultSoundFile(windows.path()), "");  // no Media folder: silence
  EXPECT_EQ(integration::DefaultSoundFile(""), "");

  CreateDirectoryA(windows.File("Media").c_str(), nullptr);
  windows.Write("Media\\chimes.wav", "x");
  EXPECT_EQ(integration::DefaultSoundFile(windows.path()), windows.File("Media\\chimes.wav"));
  windows.Write("Media\\Windows Notify.wav", "x");
  windows.Write("Media\\notify.wav", "x");
  EXPECT_EQ(integration::DefaultSoundFile(windows.path()),
            windows.File("Media\\Windows Notify.wav"));
  // A folder of that name is no sound; a root directory given with its backslash works.
  CreateDirectoryA(windows.File("Media\\Windows Notify System Generic.wav").c_str(), nullptr);
  EXPECT_EQ(integration::DefaultSoundFile(windows.path() + "\\"),
            windows.File("Media\\Windows Notify.wav"));
}

// A short wave file: 8 kHz, 8-bit mono, a tenth of a second of a square tone.
std::string WaveBytes() {
  const uint32_t rate = 8000, samples = 800;
  std::string data;
  for (uint32_t i = 0; i < samples; ++i) data += static_cast<char>((i / 10) % 2 ? 0xC0 : 0x40);
  auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
  std::string fmt = u16(1) + u16(1) + u32(rate) + u32(rate) + u16(1) + u16(8);
  std::string body = "WAVE" + std::string("fmt ") + u32(static_cast<uint32_t>(fmt.size())) + fmt +
                     "data" + u32(samples) + data;
  return "RIFF" + u32(static_cast<uint32_t>(body.size())) + body;
}

TEST(SoundDevice, RealDeviceOnAGeneratedWaveFileDoesNotCrash) {
  testenv::TempDir dir;
  dir.Write("tone.wav", WaveBytes());
  dir.Write("text.wav", "this is not a wave file");
  SoundDevice sound;
  sound.SetFileName(dir.File("tone.wav"));
  const std::string openError = ErrorOf([&] { sound.Open(); });
  if (openError == kNoError) {
    EXPECT_TRUE(sound.IsOpen());
    // Without an audio device the play request may be refused; it must come as an error.
    const std::string first = ErrorOf([&] { sound.Play(); });
    Sleep(200);
    const std::string second = ErrorOf([&] { sound.Play(); });
    std::cout << "[ note ] real MCI: opened; play: " << first << " / " << second << "\n";
  } else {
    EXPECT_FALSE(openError.empty());
    EXPECT_FALSE(sound.IsOpen());
    std::cout << "[ note ] real MCI could not open the wave file: " << openError << "\n";
  }
  sound.SetFileName(dir.File("text.wav"));
  const std::string refused = ErrorOf([&] { sound.Open(); });
  EXPECT_NE(refused, kNoError);
  EXPECT_FALSE(refused.empty());
  EXPECT_FALSE(sound.IsOpen());
}

}  // namespace
