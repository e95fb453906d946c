#include "tests/options/OptionsSupport.h"

namespace optionstest {

FakeMci::FakeMci() : saved_(platform::seams().mciSend) {
  platform::seams().mciSend = [this](MCIDEVICEID id, UINT msg, DWORD_PTR flags, DWORD_PTR params) {
    return Send(id, msg, flags, params);
  };
}

FakeMci::~FakeMci() {
  platform::seams().mciSend = saved_;
}

MCIERROR FakeMci::Send(MCIDEVICEID id, UINT msg, DWORD_PTR flags, DWORD_PTR params) {
  Call call{id, msg, flags, {}, 0};
  switch (msg) {
    case MCI_OPEN: {
      auto* p = reinterpret_cast<MCI_OPEN_PARMSA*>(params);
      call.element = p->lpstrElementName ? p->lpstrElementName : "";
      calls.push_back(call);
      if (refused.count(call.element)) return openError;
      p->wDeviceID = nextId_++;
      openDevices.insert(p->wDeviceID);
      return 0;
    }
    case MCI_CLOSE:
      calls.push_back(call);
      return openDevices.erase(id) ? 0 : MCIERR_INVALID_DEVICE_ID;
    case MCI_STATUS: {
      auto* p = reinterpret_cast<MCI_STATUS_PARMS*>(params);
      calls.push_back(call);
      p->dwReturn = p->dwItem == MCI_STATUS_POSITION ? position : length;
      return 0;
    }
    case MCI_SEEK:
      calls.push_back(call);
      position = 0;
      return 0;
    case MCI_PLAY:
      call.callback = reinterpret_cast<MCI_PLAY_PARMS*>(params)->dwCallback;
      calls.push_back(call);
      return 0;
    default:
      calls.push_back(call);
      return MCIERR_UNRECOGNIZED_COMMAND;
  }
}

std::vector<UINT> FakeMci::Messages() const {
  std::vector<UINT> messages;
  for (const Call& c : calls) messages.push_back(c.msg);
  return messages;
}

int FakeMci::Count(UINT msg) const {
  int n = 0;
  for (const Call& c : calls) n += c.msg == msg;
  return n;
}

std::string FakeMci::LastOpened() const {
  for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
    if (it->msg == MCI_OPEN) return it->element;
  }
  return "<none>";
}

OptionsTest::~OptionsTest() {
  if (form4) form1().AttachPasswordWindows(nullptr, nullptr);
  form5.reset();
  form4.reset();
}

void OptionsTest::Start() {
  imageA = program.windowsDir.File("a.bmp");
  imageB = program.windowsDir.File("b.bmp");
  testenv::WriteTestBmp(imageA, 8, 6, RGB(200, 10, 10));
  testenv::WriteTestBmp(imageB, 8, 6, RGB(10, 10, 200));
  const std::string program_ = SectionKey(app::kSectionProgram);
  if (!program.registry.ValueExists(program_, app::names::kRestartChange)) {
    Store(app::kSectionProgram, app::names::kRestartChange, "0");
  }
  if (!program.registry.ValueExists(program_, app::names::kUseAnimation)) {
    Store(app::kSectionProgram, app::names::kUseAnimation, "0");
  }
  program.Start();
  form4 = std::make_unique<security::TForm4>(form1(), form1().hwnd());
  form5 = std::make_unique<security::TForm5>(form1());
  form1().AttachPasswordWindows(form4.get(), form5.get());
}

std::string SectionKey(const char* section) {
  return std::string(app::kProgramKeyPath) + "\\" + section;
}

std::string OptionsTest::Stored(const char* section, const char* name) const {
  return program.registry.ReadText(SectionKey(section), name);
}

void OptionsTest::Store(const char* section, const char* name, const std::string& value) {
  program.registry.WriteText(SectionKey(section), name, value);
}

void Click(ui::Button& button) {
  SendMessageA(GetParent(button.hwnd()), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(button.hwnd()), BN_CLICKED),
               reinterpret_cast<LPARAM>(button.hwnd()));
}

void Type(ui::Edit& edit, const std::string& text) {
  for (const char c : text) {
    SendMessageA(edit.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
}

void MouseClick(ui::CheckBox& box, bool rightButton) {
  const LPARAM point = MAKELPARAM(4, 4);
  SendMessageA(box.hwnd(), rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
               rightButton ? MK_RBUTTON : MK_LBUTTON, point);
  SendMessageA(box.hwnd(), rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
}

void KeyToggle(ui::CheckBox& box) {
  SendMessageA(box.hwnd(), WM_KEYDOWN, VK_SPACE, 0x00390001);
  SendMessageA(box.hwnd(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
}

bool DialogKey(HWND dialog, HWND focus, WPARAM key) {
  MSG msg{.hwnd = focus, .message = WM_KEYDOWN, .wParam = key, .lParam = 1};
  return IsDialogMessageA(dialog, &msg) != FALSE;
}

}  // namespace optionstest
