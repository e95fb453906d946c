#include "tests/support/win/TestEnv.h"

#include <sddl.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "tests/support/JpegEncode.h"
#include "platform/Handles.h"

namespace testenv {

namespace {
constexpr char kScratchParent[] = "Software\\PapershiftTests";

std::string UniqueName(const char* prefix) {
  static int counter = 0;
  return std::string(prefix) + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(GetTickCount()) + "_" + std::to_string(++counter);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  platform::UniqueFindFile find(FindFirstFileA((path + "\\*").c_str(), &data));
  if (find) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find.get(), &data));
  }
  find.reset();
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(path.c_str());
}
}  // namespace

ScratchRegistry::ScratchRegistry() : path_(std::string(kScratchParent) + "\\" + UniqueName("k")) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key_, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create scratch key");
  }
  platform::seams().registryRoot = key_;
}

ScratchRegistry::~ScratchRegistry() {
  platform::seams().registryRoot = HKEY_CURRENT_USER;
  RegCloseKey(key_);
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

bool ScratchRegistry::ValueExists(const std::string& subKey, const std::string& name) const {
  return RegGetValueA(key_, subKey.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::string ScratchRegistry::ReadText(const std::string& subKey, const std::string& name) const {
  DWORD size = 0;
  if (RegGetValueA(key_, subKey.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return "<absent>";
  }
  std::string data(size, '\0');
  RegGetValueA(key_, subKey.c_str(), name.c_str(), RRF_RT_ANY, nullptr, data.data(), &size);
  data.resize(size);
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

DWORD ScratchRegistry::ValueType(const std::string& subKey, const std::string& name) const {
  DWORD type = REG_NONE;
  RegGetValueA(key_, subKey.c_str(), name.c_str(), RRF_RT_ANY, &type, nullptr, nullptr);
  return type;
}

void ScratchRegistry::WriteText(const std::string& subKey, const std::string& name,
                                const std::string& value) {
  WriteRaw(subKey, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ScratchRegistry::WriteRaw(const std::string& subKey, const std::string& name, DWORD type,
                               const void* data, DWORD size) {
  platform::UniqueHKey key;
  RegCreateKeyExA(key_, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void ScratchRegistry::SetReadOnly(const std::string& subKey, bool readOnly) {
  PSECURITY_DESCRIPTOR raw = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorA(
      readOnly ? "D:P(A;OICI;KR;;;WD)" : "D:P(A;OICI;KA;;;WD)", SDDL_REVISION_1, &raw, nullptr);
  const std::unique_ptr<void, decltype(&LocalFree)> sd(raw, &LocalFree);
  platform::UniqueHKey key;
  if (!sd || RegOpenKeyExA(key_, subKey.c_str(), 0, WRITE_DAC, key.put()) != ERROR_SUCCESS ||
      RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd.get()) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot set the access list of " + subKey);
  }
}

std::vector<std::string> ScratchRegistry::ValueNames(const std::string& subKey) const {
  std::vector<std::string> names;
  platform::UniqueHKey key;
  if (RegOpenKeyExA(key_, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD length = sizeof(name);
    if (RegEnumValueA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

TempDir::TempDir() {
  char base[MAX_PATH + 1];
  GetTempPathA(sizeof(base), base);
  path_ = std::string(base) + UniqueName("ps");
  if (!path_.empty() && path_.back() == '\\') path_.pop_back();
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
  RemoveTree(path_);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
  WriteFileBytes(File(name), bytes);
}

std::string TempDir::Read(const std::string& name) const {
  return ReadFileBytes(File(name));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot write " + path);
  }
}

ErrorBoxCapture::ErrorBoxCapture() {
  platform::seams().errorBox = [this](HWND, const std::string& text) { texts.push_back(text); };
}

ErrorBoxCapture::~ErrorBoxCapture() {
  platform::seams().Reset();
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms) Sleep(5);
  } while (GetTickCount() - start < ms);
}

ProgramFixture::ProgramFixture() {
  char cwd[MAX_PATH * 4];
  GetCurrentDirectoryA(sizeof(cwd), cwd);
  savedCwd_ = cwd;
  const std::string windows = windowsDir.path();
  platform::seams().windowsDirectory = [windows] { return windows; };
  platform::seams().systemParametersInfo = [](UINT, UINT, void*, UINT) { return TRUE; };
  platform::seams().setSysColors = [](int, const INT*, const COLORREF*) { return TRUE; };
  platform::seams().shellNotifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; };
  SetCurrentDirectoryA(workDir.path().c_str());
}

void ProgramFixture::Start() {
  app_ = std::make_unique<ui::Application>();
  form3_ = std::make_unique<app::TForm3>();
  form1_ = std::make_unique<app::TForm1>(*form3_);
}

ProgramFixture::~ProgramFixture() {
  form1_.reset();
  form3_.reset();
  app_.reset();
  SetCurrentDirectoryA(savedCwd_.c_str());
  // Registry root and the other seams go back with ScratchRegistry and ErrorBoxCapture.
}

Program::Program() {
  fixture.registry.WriteText(kProgramSection, app::names::kRestartChange, "0");
  platform::seams().systemParametersInfo = [this](UINT, UINT, void* data, UINT) {
    installed.push_back(static_cast<const char*>(data));
    return TRUE;
  };
}

void Program::Fill(const std::vector<std::string>& entries) {
  form().FileList->Clear();
  for (const std::string& e : entries) form().FileList->Add(e);
}

QuietProgram::QuietProgram() {
  fixture.registry.WriteText(kProgramSection, app::names::kUseAnimation, "0");
  fixture.registry.WriteText(kDesktop, "Marker", "");
  WriteTestBmp(fixture.windowsDir.File("start.bmp"), 4, 4, RGB(1, 2, 3));
}

void QuietProgram::Start() {
  Program::Start();
  fixture.errors.texts.clear();
  installed.clear();
}

void WriteTestBmp(const std::string& path, int width, int height, COLORREF colour) {
  const int stride = (width * 3 + 3) & ~3;
  const DWORD imageSize = static_cast<DWORD>(stride * height);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + imageSize;
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof(ih);
  ih.biWidth = width;
  ih.biHeight = height;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = imageSize;
  std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
  bytes.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
  std::string row(static_cast<size_t>(stride), '\0');
  for (int x = 0; x < width; ++x) {
    row[x * 3] = static_cast<char>(GetBValue(colour));
    row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
    row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
  }
  for (int y = 0; y < height; ++y) bytes += row;
  WriteFileBytes(path, bytes);
}

void WriteTestJpeg(const std::string& path, int width, int height, COLORREF colour) {
  const testjpeg::Bytes bytes = testjpeg::EncodeJpeg(
      {.width = width, .height = height, .quality = 95}, [colour](int, int, int c) -> uint8_t {
        return c == 0 ? GetRValue(colour) : c == 1 ? GetGValue(colour) : GetBValue(colour);
      });
  WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  platform::UniqueFindFile find(FindFirstFileA((folder + "\\*").c_str(), &data));
  if (!find) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileA(find.get(), &data));
  return names;
}

}  // namespace testenv
