#include "wallpaper/Applier.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Checks.h"
#include "tests/support/JpegDecode.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/win/TestEnv.h"
#include "platform/FileIO.h"
#include "platform/Seams.h"
#include "platform/core/Error.h"

namespace {

using testenv::ReadFileBytes;
using testenv::WriteFileBytes;
using testsupport::ErrorOf;
using testsupport::Le32;

using testenv::kDesktop;

std::string EncodeJpeg(int width, int height,
                       const std::function<uint8_t(int, int, int)>& pixel = testjpeg::Pattern) {
  const testjpeg::Bytes bytes = testjpeg::EncodeJpeg({.width = width, .height = height}, pixel);
  return std::string(bytes.begin(), bytes.end());
}

// Checks that bmp is a complete bottom-up 24-bit BMP holding exactly the decode of jpeg.
void ExpectBmpOfJpeg(const std::string& bmp, const std::string& jpeg) {
  const testjpeg::PlainDecode plain = testjpeg::DecodePlain(jpeg);
  ASSERT_GE(bmp.size(), 54u);
  ASSERT_EQ(bmp.substr(0, 2), "BM");
  const size_t stride = (static_cast<size_t>(plain.width) * 3 + 3) & ~size_t{3};
  ASSERT_EQ(Le32(bmp, 2), bmp.size());
  ASSERT_EQ(Le32(bmp, 18), static_cast<uint32_t>(plain.width));
  ASSERT_EQ(Le32(bmp, 22), static_cast<uint32_t>(plain.height));
  ASSERT_EQ(bmp[28], 24);
  ASSERT_EQ(bmp.size(), Le32(bmp, 10) + stride * plain.height);
  int wrong = 0;
  for (int y = 0; y < plain.height; ++y) {
    const size_t fileRow = Le32(bmp, 10) + (plain.height - 1 - y) * stride;
    for (int x = 0; x < plain.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        const uint8_t expected = plain.rgb[(static_cast<size_t>(y) * plain.width + x) * 3 + c];
        if (static_cast<uint8_t>(bmp[fileRow + x * 3 + (2 - c)]) != expected) ++wrong;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

using testenv::FilesIn;

class FakeHost final : public wallpaper::ApplyHost {
 public:
  bool soundWanted = true;
  bool soundFails = false;
  int selected = 3;
  // The system's side, given to the applier through the seams (see ApplierTest).
  std::string windowsDirectory, perUserFolder;
  std::function<void()> duringSound;
  std::vector<std::string> events;
  std::vector<std::string> written;  // desktop values, in the order written

  bool SoundWanted() const override { return soundWanted; }
  void PlayChangeSound() override {
    events.push_back("sound");
    if (duringSound) duringSound();
    if (soundFails) throw platform::Error("No MCI device open");
  }
  int SelectedIndex() const override { return selected; }
  void StoreItemIndex(int index) override {
    events.push_back("ItemIndex " + std::to_string(index));
  }
};

struct SpiCall {
  UINT action, param;
  std::string path;
  UINT flags;
};

class ApplierTest : public ::testing::Test {
 protected:
  ApplierTest() {
    host.windowsDirectory = windowsDir.path();
    host.perUserFolder = userData.File("Kestrova");
    platform::seams().windowsDirectory = [this] { return host.windowsDirectory; };
    platform::seams().perUserFolder = [this] { return host.perUserFolder; };
    platform::seams().writeRegistryText = [this, write = platform::seams().writeRegistryText](
                                              HKEY key, const char* name,
                                              const std::string& value) {
      const LONG result = write(key, name, value);
      if (result == ERROR_SUCCESS) host.written.push_back(name);
      return result;
    };
    platform::seams().systemParametersInfo = [this](UINT action, UINT param, void* data,
                                                    UINT flags) {
      spi.push_back({action, param, static_cast<const char*>(data), flags});
      host.events.push_back("spi");
      return TRUE;
    };
    platform::UniqueHKey key;
    RegCreateKeyExA(registry.root(), kDesktop.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    key.put(), nullptr);
  }
  ~ApplierTest() override { platform::seams().Reset(); }

  void Apply(const std::string& file, const std::string& style = "2",
             const std::string& tile = "0") {
    wallpaper::ApplyWallpaper(file, style, tile, host);
  }
  std::string Desktop(const char* name) const { return registry.ReadText(kDesktop, name); }
  std::string Bitmap() const { return windowsDir.File("Kestrova.bmp"); }
  std::string Picture(const std::string& name, const std::string& bytes) {
    pictures.Write(name, bytes);
    return pictures.File(name);
  }
  // Nothing of the apply happened.
  void ExpectUntouched() {
    EXPECT_TRUE(registry.ValueNames(kDesktop).empty());
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(spi.empty());
  }

  testenv::ScratchRegistry registry;
  testenv::TempDir windowsDir, pictures, userData;
  FakeHost host;
  std::vector<SpiCall> spi;
};

TEST_F(ApplierTest, JpegIsConvertedAndInstalledInStepOrder) {
  const std::string jpeg = EncodeJpeg(37, 23);
  const std::string file = Picture("a.jpg", jpeg);
  // The sound comes after the desktop values and before "ItemIndex" and the system call
  // (the registry lists values by name, not in the order written).
  std::vector<std::string> valuesAtSound;
  host.duringSound = [&] { valuesAtSound = registry.ValueNames(kDesktop); };

  Apply(file, "0", "1");

  EXPECT_EQ(Desktop("Wallpaper"), Bitmap());
  EXPECT_EQ(Desktop("WallpaperStyle"), "0");
  EXPECT_EQ(Desktop("TileWallpaper"), "1");
  EXPECT_EQ(registry.ValueType(kDesktop, "Wallpaper"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(host.written,
            (std::vector<std::string>{"Wallpaper", "WallpaperStyle", "TileWallpaper"}));
  EXPECT_EQ(valuesAtSound,
            (std::vector<std::string>{"TileWallpaper", "Wallpaper", "WallpaperStyle"}));
  EXPECT_EQ(host.events, (std::vector<std::string>{"sound", "ItemIndex 3", "spi"}));
  ASSERT_EQ(spi.size(), 1u);
  EXPECT_EQ(spi[0].action, static_cast<UINT>(SPI_SETDESKWALLPAPER));
  EXPECT_EQ(spi[0].param, 0u);
  EXPECT_EQ(spi[0].path, Bitmap());
  EXPECT_EQ(spi[0].flags, static_cast<UINT>(SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE));
  ExpectBmpOfJpeg(ReadFileBytes(Bitmap()), jpeg);
  EXPECT_EQ(FilesIn(windowsDir.path()), std::vector<std::string>{"Kestrova.bmp"});
}

TEST_F(ApplierTest, ExtensionRuleDecidesWhatIsInstalled) {
  const std::string jpeg = EncodeJpeg(8, 8);
  for (const char* name : {"b.JPG", "c.Jpg", "d.jpgx"}) {
    SCOPED_TRACE(name);
    DeleteFileA(Bitmap().c_str());
    Apply(Picture(name, jpeg));
    EXPECT_EQ(Desktop("Wallpaper"), Bitmap());
    ExpectBmpOfJpeg(ReadFileBytes(Bitmap()), jpeg);
  }
  const std::string bmpx = Picture("e.bmpx", "whatever");
  Apply(bmpx);
  EXPECT_EQ(Desktop("Wallpaper"), bmpx);
  EXPECT_EQ(spi.back().path, bmpx);

  // Not ".JPG" or ".BMP" in their first four characters, or no extension at all.
  CreateDirectoryA(pictures.File("Pics.jpg").c_str(), nullptr);
  for (const char* name : {"g.jpe", "Pics.jpg\\a", "h.png"}) {
    SCOPED_TRACE(name);
    RegDeleteTreeA(registry.root(), kDesktop.c_str());
    registry.WriteText(kDesktop, "Marker", "");
    host.events.clear();
    spi.clear();
    DeleteFileA(Bitmap().c_str());
    EXPECT_NO_THROW(Apply(Picture(name, jpeg)));
    EXPECT_EQ(registry.ValueNames(kDesktop), std::vector<std::string>{"Marker"});
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(spi.empty());
    EXPECT_TRUE(FilesIn(windowsDir.path()).empty());
  }
}

TEST_F(ApplierTest, SecondJpegReplacesTheFirstInTheSameBitmap) {
  const std::string first = EncodeJpeg(20, 10);
  const std::string second = EncodeJpeg(9, 14, [](int x, int y, int c) {
    return static_cast<uint8_t>(255 - testjpeg::Pattern(y, x, c));
  });
  Apply(Picture("one.jpg", first));
  Apply(Picture("two.jpg", second));
  EXPECT_EQ(Desktop("Wallpaper"), Bitmap());
  ExpectBmpOfJpeg(ReadFileBytes(Bitmap()), second);
}

TEST_F(ApplierTest, JpegThatCannotBeReadOrDecodedChangesNothing) {
  WriteFileBytes(Bitmap(), "previous bitmap");
  const std::string missing = pictures.File("gone.jpg");
  EXPECT_EQ(ErrorOf([&] { Apply(missing); }).rfind("Cannot open file \"" + missing + "\". ", 0),
            0u);

  const std::string garbage = Picture("junk.jpg", "this is no JPEG at all");
  EXPECT_EQ(ErrorOf([&] { Apply(garbage); }).rfind("JPEG error #", 0), 0u);

  // A sound header with its data cut off fails only after rows were written.
  const std::string full = EncodeJpeg(64, 64);
  const std::string cut = Picture("cut.jpg", full.substr(0, full.size() / 2));
  EXPECT_EQ(ErrorOf([&] { Apply(cut); }).rfind("JPEG error #", 0), 0u);

  ExpectUntouched();
  EXPECT_EQ(ReadFileBytes(Bitmap()), "previous bitmap");
  EXPECT_EQ(FilesIn(windowsDir.path()), std::vector<std::string>{"Kestrova.bmp"});
}

TEST_F(ApplierTest, MissingDesktopKeyIsPassedOverAndNotCreated) {
  RegDeleteTreeA(registry.root(), kDesktop.c_str());
  const std::string bmp = Picture("x.bmp", "BM");
  Apply(bmp);
  EXPECT_EQ(host.events, (std::vector<std::string>{"sound", "ItemIndex 3", "spi"}));
  EXPECT_EQ(spi.at(0).path, bmp);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(registry.root(), kDesktop.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(ApplierTest, ReadOnlyDesktopKeyIsSaidAndEndsTheApplyBeforeTheSystemCall) {
  registry.WriteText(kDesktop, "WallpaperStyle", "0");
  registry.SetReadOnly(kDesktop, true);
  host.selected = -1;
  const std::string bmp = Picture("x.bmp", "BM");
  EXPECT_EQ(ErrorOf([&] { Apply(bmp); }), "Failed to set data for 'Wallpaper'. " +
                                              platform::SystemErrorText(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Desktop("WallpaperStyle"), "0");
  EXPECT_TRUE(host.written.empty());
  EXPECT_EQ(host.events, (std::vector<std::string>{"sound", "ItemIndex -1"}));
  EXPECT_TRUE(spi.empty());
  registry.SetReadOnly(kDesktop, false);
}

TEST_F(ApplierTest, BitmapIsInstalledUnlessTheSystemRefusesIt) {
  const std::string bmp = Picture("x.bmp", "BM");
  host.soundFails = true;
  EXPECT_NO_THROW(Apply(bmp, "0", "0"));
  EXPECT_EQ(Desktop("Wallpaper"), bmp);
  EXPECT_EQ(Desktop("TileWallpaper"), "0");
  EXPECT_EQ(host.events, (std::vector<std::string>{"sound", "ItemIndex 3", "spi"}));
  EXPECT_EQ(spi.at(0).path, bmp);

  host.events.clear();
  host.soundWanted = false;
  platform::seams().systemParametersInfo = [](UINT, UINT, void*, UINT) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  };
  EXPECT_EQ(ErrorOf([&] { Apply(bmp); }), "Cannot install \"" + bmp + "\" as the wallpaper. " +
                                              platform::SystemErrorText(ERROR_ACCESS_DENIED));
  EXPECT_EQ(host.events, (std::vector<std::string>{"ItemIndex 3"}));
}

TEST_F(ApplierTest, UnwritableWindowsDirectoryFallsBackToThePerUserFolder) {
  host.windowsDirectory = windowsDir.File("no such folder");
  const std::string jpeg = EncodeJpeg(16, 12);
  Apply(Picture("a.jpg", jpeg));
  const std::string fallback = userData.File("Kestrova\\Kestrova.bmp");
  EXPECT_EQ(Desktop("Wallpaper"), fallback);
  EXPECT_EQ(spi.at(0).path, fallback);
  ExpectBmpOfJpeg(ReadFileBytes(fallback), jpeg);
  EXPECT_EQ(FilesIn(userData.File("Kestrova")), std::vector<std::string>{"Kestrova.bmp"});

  // A second apply finds the folder there.
  Apply(Picture("b.jpg", EncodeJpeg(5, 5)));
  EXPECT_EQ(Desktop("WallpaperStyle"), "2");
  EXPECT_EQ(spi.size(), 2u);
}

TEST_F(ApplierTest, NeitherPlaceWritableFailsWithTheWindowsDirectoryError) {
  host.windowsDirectory = windowsDir.File("no such folder");
  host.perUserFolder = userData.File("missing parent\\Kestrova");
  const std::string error = ErrorOf([&] { Apply(Picture("a.jpg", EncodeJpeg(4, 4))); });
  EXPECT_EQ(error.rfind("Cannot create file \"" + host.windowsDirectory + "\\Kestrova.bmp\". ", 0),
            0u)
      << error;
  ExpectUntouched();
}

}  // namespace
