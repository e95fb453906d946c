// psdriver: drives the windows of another process from outside, for the end-to-end
// tests. Every command prints its results on stdout, one per line, and exits 0 on
// success and 1 on failure or timeout (with the reason on stderr).
//
// Rules learnt under Wine that shape this file:
// - Anything that may open a modal box in the target is posted, never sent: a sent
//   BM_CLICK returns only when the box closes.
// - Messages whose parameter points at a structure the system does not marshal
//   (TCM_GETITEMW, TCM_GETITEMRECT, TTM_ENUMTOOLSW) get that structure in memory of
//   the target process (RemoteBuffer). A WM_NOTIFY cannot be sent across processes at
//   all: a tab is clicked where it is drawn instead.
// - List and combo box texts are read with the W messages: the A ones return UTF-16
//   across processes. Output is UTF-8.
// - A foreign menu cannot be read; an open popup menu is steered with posted keys.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace {

using UniqueProcess = platform::UniqueHandle<platform::traits::Simple<HANDLE, CloseHandle>>;

constexpr UINT kTrayCallback = WM_USER + 123;  // 1147
constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 5000;
// Control ids of the common file dialogs that hold the file name.
constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------
// Text

std::string ToUtf8(std::wstring_view w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring ToWide(std::string_view s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

// One line of output may not break: control characters are shown escaped.
std::string OneLine(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// "&Open" and "Open" name the same button.
std::wstring WithoutAmpersands(std::wstring_view s) {
  std::wstring out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'&') {
      if (i + 1 < s.size() && s[i + 1] == L'&') out += s[++i];
      continue;
    }
    out += s[i];
  }
  return out;
}

// Decimal, or hexadecimal after "0x" (a leading zero does not mean octal).
long ParseLong(const std::string& s, const char* what) {
  char* end = nullptr;
  errno = 0;
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  const long v = std::strtol(s.c_str(), &end, hex ? 16 : 10);
  if (s.empty() || *end != '\0' || errno != 0)
    throw Failure(std::string(what) + ": not a number: " + s);
  return v;
}

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

// ---------------------------------------------------------------------------
// Windows

std::wstring ClassOf(HWND hwnd) {
  wchar_t buf[256] = {};
  const int n = GetClassNameW(hwnd, buf, 256);
  return std::wstring(buf, static_cast<size_t>(std::max(n, 0)));
}

// WM_GETTEXT is answered by the target itself; GetWindowText on a foreign control
// returns a stale copy.
std::wstring TextOf(HWND hwnd) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &len))
    return {};
  std::wstring buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &got))
    return {};
  buf.resize(std::min<size_t>(got, len));
  return buf;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    throw Failure("message " + std::to_string(msg) + " got no answer (error " +
                  std::to_string(GetLastError()) + ")");
  return static_cast<LRESULT>(result);
}

void Post(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!PostMessageW(hwnd, msg, wp, lp))
    throw Failure("PostMessage failed (error " + std::to_string(GetLastError()) + ")");
}

bool ClassIs(HWND hwnd, std::wstring_view cls) {
  return cls == L"*" || lstrcmpiW(ClassOf(hwnd).c_str(), std::wstring(cls).c_str()) == 0;
}

bool CaptionIs(HWND hwnd, std::wstring_view caption) {
  if (caption == L"*") return true;
  wchar_t buf[512] = {};
  GetWindowTextW(hwnd, buf, 512);  // top-level captions are kept by the server
  return caption == buf;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        try {
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
          return TRUE;
        } catch (...) {
          return FALSE;
        }
      },
      reinterpret_cast<LPARAM>(&all));
  // Message-only windows are top-level too, for our purposes.
  for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr)) != nullptr;)
    all.push_back(h);
  return all;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        try {
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
          return TRUE;
        } catch (...) {
          return FALSE;
        }
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The command line options every command may use.
struct Options {
  DWORD timeoutMs = kDefaultTimeoutMs;
  DWORD pid = 0;  // restricts window searches to one process
  int nth = 0;    // which of several matching children
  bool force = false;
  enum class State { kExists, kVisible, kHidden, kGone } state = State::kExists;
  std::wstring caption = L"Papershift 7";  // of message boxes
  DWORD forMs = 0;
};

std::vector<HWND> FindTopLevel(std::wstring_view cls, std::wstring_view caption,
                               const Options& opt) {
  std::vector<HWND> found;
  for (HWND h : TopLevelWindows()) {
    if (!ClassIs(h, cls) || !CaptionIs(h, caption)) continue;
    if (opt.pid && ProcessOf(h) != opt.pid) continue;
    found.push_back(h);
  }
  return found;
}

// Polls until done() holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

// Polls until pick() returns a window or the timeout passes.
HWND WaitFor(const std::function<HWND()>& pick, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = pick()) != nullptr; }, timeoutMs);
  return found;
}

std::string Describe(std::wstring_view cls, std::wstring_view caption) {
  return "window of class " + ToUtf8(cls) + " with caption \"" + ToUtf8(caption) + "\"";
}

// The window the command works on: the first match, a visible one preferred.
HWND Target(std::wstring_view cls, std::wstring_view caption, const Options& opt) {
  HWND h = WaitFor(
      [&]() -> HWND {
        const auto found = FindTopLevel(cls, caption, opt);
        if (found.empty()) return nullptr;
        for (HWND w : found)
          if (IsWindowVisible(w)) return w;
        return found.front();
      },
      opt.timeoutMs);
  if (!h) throw Failure("no " + Describe(cls, caption));
  return h;
}

// The nth descendant of the given class (and text, when given).
HWND Child(HWND top, std::wstring_view cls, const std::optional<std::wstring>& text, int nth) {
  int seen = 0;
  for (HWND h : Descendants(top)) {
    if (!ClassIs(h, cls)) continue;
    if (text) {
      const std::wstring t = TextOf(h);
      if (t != *text && WithoutAmpersands(t) != WithoutAmpersands(*text)) continue;
    }
    if (seen++ == nth) return h;
  }
  std::string what = "no " + ToUtf8(cls) + " child";
  if (text) what += " with text \"" + ToUtf8(*text) + "\"";
  if (nth) what += " number " + std::to_string(nth);
  throw Failure(what);
}

// Waits for the target and its child, so that a command may follow an action at once.
HWND TargetChild(std::wstring_view cls, std::wstring_view caption, std::wstring_view childCls,
                 const std::optional<std::wstring>& text, const Options& opt) {
  const ULONGLONG deadline = GetTickCount64() + opt.timeoutMs;
  for (;;) {
    HWND top = Target(cls, caption, opt);
    try {
      return Child(top, childCls, text, opt.nth);
    } catch (const Failure&) {
      if (GetTickCount64() >= deadline) throw;
    }
    Sleep(kPollMs);
  }
}

// A user can press only what is shown and enabled.
void RequireUsable(HWND h, const Options& opt) {
  if (opt.force) return;
  if (!IsWindowVisible(h)) throw Failure("the control is not visible (use --force)");
  if (!IsWindowEnabled(h)) throw Failure("the control is disabled (use --force)");
  // A window that a modal box blocks takes no input either.
  if (!IsWindowEnabled(GetAncestor(h, GA_ROOT)))
    throw Failure("its window is blocked (use --force)");
}

std::string RectText(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

std::string HwndText(HWND h) {
  return std::to_string(reinterpret_cast<uintptr_t>(h));
}

// ---------------------------------------------------------------------------
// Memory in the target process, for messages whose structures are not marshalled.

class RemoteBuffer {
 public:
  RemoteBuffer(HWND owner, size_t size) : size_(size) {
    process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               ProcessOf(owner)));
    if (!process_) throw Failure("cannot open the target process");
    address_ =
        VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) throw Failure("cannot allocate memory in the target process");
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() { VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }

  uintptr_t At(size_t offset) const { return reinterpret_cast<uintptr_t>(address_) + offset; }
  void Write(size_t offset, const void* data, size_t n) {
    if (offset + n > size_ ||
        !WriteProcessMemory(process_.get(), reinterpret_cast<void*>(At(offset)), data, n, nullptr))
      throw Failure("cannot write the target process's memory");
  }
  void Read(size_t offset, void* data, size_t n) const {
    if (offset + n > size_ ||
        !ReadProcessMemory(process_.get(), reinterpret_cast<void*>(At(offset)), data, n, nullptr))
      throw Failure("cannot read the target process's memory");
  }

 private:
  UniqueProcess process_;
  void* address_ = nullptr;
  size_t size_;
};

constexpr size_t kRemoteText = 1024;  // characters

std::vector<std::wstring> TabTexts(HWND tab) {
  const auto count = static_cast<int>(Send(tab, TCM_GETITEMCOUNT, 0, 0));
  RemoteBuffer mem(tab, sizeof(TCITEMW) + kRemoteText * sizeof(wchar_t));
  std::vector<std::wstring> texts;
  for (int i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(mem.At(sizeof(TCITEMW)));
    item.cchTextMax = static_cast<int>(kRemoteText);
    const wchar_t none = 0;
    mem.Write(sizeof(TCITEMW), &none, sizeof none);
    mem.Write(0, &item, sizeof item);
    if (!Send(tab, TCM_GETITEMW, static_cast<WPARAM>(i), static_cast<LPARAM>(mem.At(0))))
      throw Failure("TCM_GETITEM failed for tab " + std::to_string(i));
    std::wstring text(kRemoteText, L'\0');
    mem.Read(sizeof(TCITEMW), text.data(), kRemoteText * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), kRemoteText));
    texts.push_back(text);
  }
  return texts;
}

RECT TabRect(HWND tab, int index) {
  RemoteBuffer mem(tab, sizeof(RECT));
  if (!Send(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), static_cast<LPARAM>(mem.At(0))))
    throw Failure("TCM_GETITEMRECT failed for tab " + std::to_string(index));
  RECT r{};
  mem.Read(0, &r, sizeof r);
  return r;
}

// The tools of a tool tip: where each one sits on its window, and its text.
struct Tool {
  HWND window;
  RECT rect;
  std::wstring text;
};

std::vector<Tool> ToolsOf(HWND tip) {
  std::vector<Tool> tools;
  const auto count = Send(tip, TTM_GETTOOLCOUNT, 0, 0);
  const size_t textAt = sizeof(TTTOOLINFOW);
  RemoteBuffer mem(tip, textAt + kRemoteText * sizeof(wchar_t));
  for (LRESULT i = 0; i < count; ++i) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.lpszText = reinterpret_cast<wchar_t*>(mem.At(textAt));  // the text is copied here
    const wchar_t none = 0;
    mem.Write(textAt, &none, sizeof none);
    mem.Write(0, &info, sizeof info);
    if (!Send(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), static_cast<LPARAM>(mem.At(0))))
      continue;
    mem.Read(0, &info, sizeof info);
    std::wstring text;
    if (info.lpszText == reinterpret_cast<wchar_t*>(mem.At(textAt))) {
      text.resize(kRemoteText);
      mem.Read(textAt, text.data(), kRemoteText * sizeof(wchar_t));
      text.resize(wcsnlen(text.c_str(), kRemoteText));
    }
    tools.push_back({info.hwnd, info.rect, text});
  }
  return tools;
}

// ---------------------------------------------------------------------------
// List and combo boxes

struct ListMessages {
  UINT count, getTextLen, getText, getCurSel, setCurSel;
  WORD selChange;
};
constexpr ListMessages kListBox{LB_GETCOUNT,  LB_GETTEXTLEN, LB_GETTEXT,
                                LB_GETCURSEL, LB_SETCURSEL,  LBN_SELCHANGE};
constexpr ListMessages kComboBox{CB_GETCOUNT,  CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                 CB_GETCURSEL, CB_SETCURSEL,    CBN_SELCHANGE};

std::vector<std::wstring> ListEntries(HWND h, const ListMessages& m) {
  std::vector<std::wstring> entries;
  const auto count = Send(h, m.count, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto len = Send(h, m.getTextLen, static_cast<WPARAM>(i), 0);
    if (len < 0) throw Failure("cannot read entry " + std::to_string(i));
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    const auto got =
        Send(h, m.getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
    entries.push_back(text);
  }
  return entries;
}

const ListMessages* ListKind(HWND h) {
  const std::wstring cls = ClassOf(h);
  if (lstrcmpiW(cls.c_str(), L"ListBox") == 0 || lstrcmpiW(cls.c_str(), L"ComboLBox") == 0)
    return &kListBox;
  if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0) return &kComboBox;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Registry

HKEY RootOf(std::string& path) {
  struct Root {
    const char* prefix;
    HKEY key;
  };
  for (const Root& r :
       {Root{"HKCU\\", HKEY_CURRENT_USER}, Root{"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER},
        Root{"HKLM\\", HKEY_LOCAL_MACHINE}, Root{"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE}}) {
    const size_t n = std::strlen(r.prefix);
    if (path.size() >= n && _strnicmp(path.c_str(), r.prefix, n) == 0) {
      path.erase(0, n);
      return r.key;
    }
  }
  return HKEY_CURRENT_USER;
}

struct RegValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

std::optional<RegValue> ReadValue(std::string path, const std::string& name) {
  HKEY root = RootOf(path);
  platform::UniqueHKey key;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return std::nullopt;
  const std::wstring wname = ToWide(name);
  RegValue v;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  v.data.resize(size);
  if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &v.type, v.data.data(), &size) !=
      ERROR_SUCCESS)
    throw Failure("cannot read the value " + name);
  v.data.resize(size);
  return v;
}

std::string ValueText(const RegValue& v) {
  switch (v.type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::wstring w(v.data.size() / sizeof(wchar_t), L'\0');
      std::memcpy(w.data(), v.data.data(), w.size() * sizeof(wchar_t));
      w.resize(wcsnlen(w.c_str(), w.size()));
      return ToUtf8(w);
    }
    case REG_DWORD: {
      DWORD d = 0;
      std::memcpy(&d, v.data.data(), std::min(v.data.size(), sizeof d));
      return std::to_string(d);
    }
    default: {
      std::string hex;
      char b[4];
      for (BYTE c : v.data) {
        std::snprintf(b, sizeof b, "%02x", c);
        hex += b;
      }
      return hex;
    }
  }
}

// ---------------------------------------------------------------------------
// Commands

using Args = std::vector<std::string>;

void Need(const Args& a, size_t n, const char* usage) {
  if (a.size() != n) throw Failure(std::string("usage: psdriver ") + usage);
}

int CmdWait(const Args& a, const Options& opt) {
  Need(a, 2, "wait CLASS CAPTION [--visible|--hidden|--gone] [--timeout MS]");
  const std::wstring cls = ToWide(a[0]), caption = ToWide(a[1]);
  using S = Options::State;
  HWND h = nullptr;
  const bool reached = WaitUntil(
      [&] {
        const auto found = FindTopLevel(cls, caption, opt);
        if (opt.state == S::kGone) return found.empty();
        for (HWND w : found) {
          const bool visible = IsWindowVisible(w);
          if (opt.state == S::kExists || (opt.state == S::kVisible && visible) ||
              (opt.state == S::kHidden && !visible)) {
            h = w;
            return true;
          }
        }
        return false;
      },
      opt.timeoutMs);
  if (!reached) {
    const char* what = opt.state == S::kGone      ? "still there"
                       : opt.state == S::kVisible ? "not visible"
                       : opt.state == S::kHidden  ? "not hidden"
                                                  : "not found";
    throw Failure(Describe(cls, caption) + ": " + what + " after " + std::to_string(opt.timeoutMs) +
                  " ms");
  }
  if (h) Print(HwndText(h));
  return 0;
}

// Every top-level window (of one class, when given): for debugging and for tests.
int CmdWindows(const Args& a, const Options& opt) {
  if (a.size() > 1) throw Failure("usage: psdriver windows [CLASS]");
  const std::wstring cls = a.empty() ? L"*" : ToWide(a[0]);
  for (HWND h : FindTopLevel(cls, L"*", opt)) {
    wchar_t caption[512] = {};
    GetWindowTextW(h, caption, 512);
    Print(HwndText(h) + "\t" + ToUtf8(ClassOf(h)) + "\tpid=" + std::to_string(ProcessOf(h)) +
          "\tvis=" + (IsWindowVisible(h) ? "1" : "0") +
          "\towner=" + HwndText(GetWindow(h, GW_OWNER)) + "\t" + RectText(h) + "\t\"" +
          OneLine(ToUtf8(caption)) + "\"");
  }
  return 0;
}

int CmdVisible(const Args& a, const Options& opt) {
  Need(a, 2, "visible CLASS CAPTION");
  Print(IsWindowVisible(Target(ToWide(a[0]), ToWide(a[1]), opt)) ? "1" : "0");
  return 0;
}

int CmdRect(const Args& a, const Options& opt) {
  Need(a, 2, "rect CLASS CAPTION");
  Print(RectText(Target(ToWide(a[0]), ToWide(a[1]), opt)));
  return 0;
}

int CmdPid(const Args& a, const Options& opt) {
  Need(a, 2, "pid CLASS CAPTION");
  Print(std::to_string(ProcessOf(Target(ToWide(a[0]), ToWide(a[1]), opt))));
  return 0;
}

int CmdWaitExit(const Args& a, const Options& opt) {
  DWORD pid = opt.pid;
  if (a.size() == 2) {
    Options find = opt;
    find.timeoutMs = 0;
    pid = ProcessOf(Target(ToWide(a[0]), ToWide(a[1]), find));
  } else if (!(a.empty() && pid)) {
    throw Failure("usage: psdriver wait-exit (CLASS CAPTION | --pid PID) [--timeout MS]");
  }
  UniqueProcess process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) {
    // Gone before we could look: only a process that no longer exists may be missing.
    if (GetLastError() == ERROR_INVALID_PARAMETER) return 0;
    throw Failure("cannot open process " + std::to_string(pid));
  }
  if (WaitForSingleObject(process.get(), opt.timeoutMs) != WAIT_OBJECT_0)
    throw Failure("process " + std::to_string(pid) + " still runs after " +
                  std::to_string(opt.timeoutMs) + " ms");
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  Print(std::to_string(code));
  return 0;
}

int CmdPidAlive(const Args& a, const Options&) {
  Need(a, 1, "pid-alive PID");
  UniqueProcess process(
      OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(ParseLong(a[0], "PID"))));
  const bool alive = process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
  Print(alive ? "1" : "0");
  return 0;
}

// The hidden window of the program's notification-area icon: one of the process that
// also owns the settings window when there are several.
HWND TrayWindow(const Options& opt) {
  HWND h = WaitFor(
      [&]() -> HWND {
        const auto found = FindTopLevel(L"TWinTaskbar", L"*", opt);
        if (found.empty()) return nullptr;
        for (HWND w : found)
          for (HWND form : FindTopLevel(L"TForm1", L"*", opt))
            if (ProcessOf(form) == ProcessOf(w)) return w;
        return found.front();
      },
      opt.timeoutMs);
  if (!h) throw Failure("no window of class TWinTaskbar");
  return h;
}

int CmdTray(const Args& a, const Options& opt) {
  Need(a, 1, "tray LPARAM");
  Post(TrayWindow(opt), kTrayCallback, 0, static_cast<LPARAM>(ParseLong(a[0], "LPARAM")));
  return 0;
}

// A notification-area icon of Wine's explorer: where a mouse message must go so that
// the shell relays it to the icon's owner, and the icon's tip.
struct TrayIcon {
  HWND window;
  RECT rect;  // client coordinates of window; empty while the icon is hidden
  std::wstring tip;
};

// Wine 8 draws the icons on the taskbar window itself and gives each icon a tool tip
// owned by the taskbar, whose one tool covers the icon. Later versions make each icon
// a child window of the taskbar; both layouts are understood.
std::vector<TrayIcon> TrayIcons() {
  std::vector<TrayIcon> icons;
  const Options any;
  for (HWND bar : FindTopLevel(L"Shell_TrayWnd", L"*", any)) {
    for (HWND tip : FindTopLevel(L"tooltips_class32", L"*", any)) {
      if (GetWindow(tip, GW_OWNER) != bar) continue;
      for (const Tool& t : ToolsOf(tip))
        if (t.window == bar) icons.push_back({bar, t.rect, t.text});
    }
    for (HWND icon : Descendants(bar)) {
      if (!ClassIs(icon, L"__wine_tray_icon")) continue;
      TrayIcon i{icon, {}, {}};
      if (IsWindowVisible(icon)) GetClientRect(icon, &i.rect);
      for (HWND tip : FindTopLevel(L"tooltips_class32", L"*", any))
        if (GetWindow(tip, GW_OWNER) == icon)
          for (const Tool& t : ToolsOf(tip)) i.tip = t.text;
      icons.push_back(i);
    }
  }
  return icons;
}

bool Shown(const TrayIcon& i) {
  return IsWindowVisible(i.window) && !IsRectEmpty(&i.rect);
}

// The icon's place on the screen.
RECT ScreenRect(const TrayIcon& i) {
  RECT r = i.rect;
  MapWindowPoints(i.window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// One line per icon: shown (1/0), its rectangle on the screen, its tip.
int CmdTrayIcons(const Args& a, const Options&) {
  Need(a, 0, "trayicons");
  for (const TrayIcon& i : TrayIcons()) {
    const RECT r = ScreenRect(i);
    Print(std::string(Shown(i) ? "1" : "0") + "\t" + std::to_string(r.left) + "," +
          std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom) +
          "\t" + OneLine(ToUtf8(i.tip)));
  }
  return 0;
}

// The windows that have a button on the taskbar: Wine's taskbar gives each button the
// window's handle as its control id (the Start button has 0).
int CmdTaskbar(const Args& a, const Options&) {
  Need(a, 0, "taskbar");
  for (HWND bar : FindTopLevel(L"Shell_TrayWnd", L"*", Options{})) {
    for (HWND button : Descendants(bar)) {
      if (!ClassIs(button, L"Button") || !IsWindowVisible(button)) continue;
      const auto owner = reinterpret_cast<HWND>(GetWindowLongPtrW(button, GWLP_ID));
      if (!owner || !IsWindow(owner)) continue;
      wchar_t caption[512] = {};
      GetWindowTextW(owner, caption, 512);
      Print(HwndText(owner) + "\t" + ToUtf8(ClassOf(owner)) +
            "\tpid=" + std::to_string(ProcessOf(owner)) + "\t\"" + OneLine(ToUtf8(caption)) + "\"");
    }
  }
  return 0;
}

// A mouse message on the icon itself: the shell relays it to the program as the
// icon's callback message.
int CmdTrayIconClick(const Args& a, const Options& opt) {
  Need(a, 2, "trayicon-click TIP MESSAGE");
  const std::wstring tip = ToWide(a[0]);
  const auto msg = static_cast<UINT>(ParseLong(a[1], "MESSAGE"));
  std::optional<TrayIcon> icon;
  WaitUntil(
      [&] {
        for (const TrayIcon& i : TrayIcons())
          if (i.tip == tip && Shown(i)) icon = i;
        return icon.has_value();
      },
      opt.timeoutMs);
  if (!icon) throw Failure("no shown notification-area icon with the tip \"" + a[0] + "\"");
  const LPARAM at = MAKELPARAM((icon->rect.left + icon->rect.right) / 2,
                               (icon->rect.top + icon->rect.bottom) / 2);
  const WPARAM keys = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? MK_LBUTTON
                      : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? MK_RBUTTON
                                                                           : 0;
  Post(icon->window, msg, keys, at);
  return 0;
}

int CmdClick(const Args& a, const Options& opt) {
  Need(a, 3, "click CLASS CAPTION BUTTONTEXT");
  HWND button = TargetChild(ToWide(a[0]), ToWide(a[1]), L"Button", ToWide(a[2]), opt);
  RequireUsable(button, opt);
  Post(button, BM_CLICK, 0, 0);
  return 0;
}

// A left click with the mouse messages themselves, posted to the button at its centre:
// unlike BM_CLICK it also reaches handlers that watch the button's own mouse release.
int CmdMouseClick(const Args& a, const Options& opt) {
  Need(a, 3, "mouseclick CLASS CAPTION BUTTONTEXT");
  HWND button = TargetChild(ToWide(a[0]), ToWide(a[1]), L"Button", ToWide(a[2]), opt);
  RequireUsable(button, opt);
  RECT r{};
  GetClientRect(button, &r);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Post(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Post(button, WM_LBUTTONUP, 0, at);
  return 0;
}

int CmdCheck(const Args& a, const Options& opt) {
  Need(a, 3, "check CLASS CAPTION BUTTONTEXT");
  HWND button = TargetChild(ToWide(a[0]), ToWide(a[1]), L"Button", ToWide(a[2]), opt);
  Print(std::to_string(Send(button, BM_GETCHECK, 0, 0)));
  return 0;
}

int CmdSetCheck(const Args& a, const Options& opt) {
  Need(a, 4, "setcheck CLASS CAPTION BUTTONTEXT 0|1");
  HWND button = TargetChild(ToWide(a[0]), ToWide(a[1]), L"Button", ToWide(a[2]), opt);
  const LRESULT want = ParseLong(a[3], "state");
  if (Send(button, BM_GETCHECK, 0, 0) == want) return 0;
  RequireUsable(button, opt);
  Post(button, BM_CLICK, 0, 0);
  const bool done =
      WaitUntil([&] { return Send(button, BM_GETCHECK, 0, 0) == want; }, opt.timeoutMs);
  if (!done) throw Failure("the check box did not change to " + a[3]);
  return 0;
}

int CmdChildren(const Args& a, const Options& opt) {
  Need(a, 2, "children CLASS CAPTION");
  HWND top = Target(ToWide(a[0]), ToWide(a[1]), opt);
  for (HWND h : Descendants(top)) {
    int depth = 0;
    for (HWND p = GetParent(h); p && p != top; p = GetParent(p)) ++depth;
    std::string line = std::string(static_cast<size_t>(depth) * 2, ' ') + HwndText(h) + "\t" +
                       ToUtf8(ClassOf(h)) + "\tid=" + std::to_string(GetDlgCtrlID(h)) +
                       "\tvis=" + (IsWindowVisible(h) ? "1" : "0") +
                       "\ten=" + (IsWindowEnabled(h) ? "1" : "0") + "\t" + RectText(h) + "\t\"" +
                       OneLine(ToUtf8(TextOf(h))) + "\"";
    Print(line);
    if (const ListMessages* m = ListKind(h)) {
      const auto entries = ListEntries(h, *m);
      Print(std::string(static_cast<size_t>(depth) * 2 + 2, ' ') +
            "selected=" + std::to_string(Send(h, m->getCurSel, 0, 0)));
      for (const auto& e : entries)
        Print(std::string(static_cast<size_t>(depth) * 2 + 2, ' ') + "- " + OneLine(ToUtf8(e)));
    }
    if (ClassIs(h, WC_TABCONTROLW)) {
      Print(std::string(static_cast<size_t>(depth) * 2 + 2, ' ') +
            "selected=" + std::to_string(Send(h, TCM_GETCURSEL, 0, 0)));
      for (const auto& t : TabTexts(h))
        Print(std::string(static_cast<size_t>(depth) * 2 + 2, ' ') + "- " + OneLine(ToUtf8(t)));
    }
  }
  return 0;
}

// hints CLASS CAPTION: the texts of the tool tips of the window and its children, one per
// line.
int CmdHints(const Args& a, const Options& opt) {
  Need(a, 2, "hints CLASS CAPTION");
  HWND owner = Target(ToWide(a[0]), ToWide(a[1]), opt);
  for (HWND tip : FindTopLevel(L"tooltips_class32", L"*", Options{}))
    if (GetAncestor(GetWindow(tip, GW_OWNER), GA_ROOT) == owner)
      for (const Tool& t : ToolsOf(tip)) Print(OneLine(ToUtf8(t.text)));
  return 0;
}

// text CLASS CAPTION [CHILDCLASS]: the window's own text or that of its nth child.
int CmdText(const Args& a, const Options& opt) {
  if (a.size() != 2 && a.size() != 3)
    throw Failure("usage: psdriver text CLASS CAPTION [CHILDCLASS] [--nth N]");
  HWND h = a.size() == 3 ? TargetChild(ToWide(a[0]), ToWide(a[1]), ToWide(a[2]), {}, opt)
                         : Target(ToWide(a[0]), ToWide(a[1]), opt);
  std::string text = ToUtf8(TextOf(h));
  // Multi-line texts keep their lines; CR LF becomes LF.
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  Print(out);
  return 0;
}

// settext CLASS CAPTION CHILDCLASS TEXT: what typing would leave in an edit field.
int CmdSetText(const Args& a, const Options& opt) {
  Need(a, 4, "settext CLASS CAPTION CHILDCLASS TEXT [--nth N]");
  HWND h = TargetChild(ToWide(a[0]), ToWide(a[1]), ToWide(a[2]), {}, opt);
  RequireUsable(h, opt);
  const std::wstring text = ToWide(a[3]);
  if (!Send(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))  // marshalled
    throw Failure("the control refused the text");
  return 0;
}

// type CLASS CAPTION CHILDCLASS TEXT: each character posted as a keyboard's WM_CHAR, as
// TranslateMessage posts it, so that it meets the target's own message loop.
int CmdType(const Args& a, const Options& opt) {
  Need(a, 4, "type CLASS CAPTION CHILDCLASS TEXT [--nth N]");
  HWND h = TargetChild(ToWide(a[0]), ToWide(a[1]), ToWide(a[2]), {}, opt);
  RequireUsable(h, opt);
  for (const wchar_t c : ToWide(a[3])) PostMessageW(h, WM_CHAR, c, 1);
  return 0;
}

// The state of a child control: visible and enabled flags, e.g. "1 0".
int CmdState(const Args& a, const Options& opt) {
  if (a.size() != 3 && a.size() != 4)
    throw Failure("usage: psdriver state CLASS CAPTION CHILDCLASS [TEXT] [--nth N]");
  std::optional<std::wstring> text;
  if (a.size() == 4) text = ToWide(a[3]);
  HWND h = TargetChild(ToWide(a[0]), ToWide(a[1]), ToWide(a[2]), text, opt);
  Print(std::string(IsWindowVisible(h) ? "1" : "0") + " " + (IsWindowEnabled(h) ? "1" : "0"));
  return 0;
}

int PrintList(const Args& a, const Options& opt, const wchar_t* cls, const ListMessages& m) {
  HWND h = TargetChild(ToWide(a[0]), ToWide(a[1]), cls, {}, opt);
  const auto entries = ListEntries(h, m);
  Print(std::to_string(Send(h, m.getCurSel, 0, 0)));
  for (const auto& e : entries) Print(ToUtf8(e));
  return 0;
}

int SelectInList(const Args& a, const Options& opt, const wchar_t* cls, const ListMessages& m) {
  HWND h = TargetChild(ToWide(a[0]), ToWide(a[1]), cls, {}, opt);
  RequireUsable(h, opt);
  const long index = ParseLong(a[2], "index");
  const auto count = Send(h, m.count, 0, 0);
  if (index < -1 || index >= count)
    throw Failure("index " + a[2] + " outside the list of " + std::to_string(count));
  Send(h, m.setCurSel, static_cast<WPARAM>(index), 0);
  // What a click adds to the selection: the notification to the parent.
  Post(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), m.selChange),
       reinterpret_cast<LPARAM>(h));
  return 0;
}

int CmdListBox(const Args& a, const Options& opt) {
  Need(a, 2, "listbox CLASS CAPTION [--nth N]");
  return PrintList(a, opt, L"ListBox", kListBox);
}

int CmdListSelect(const Args& a, const Options& opt) {
  Need(a, 3, "listselect CLASS CAPTION INDEX [--nth N]");
  return SelectInList(a, opt, L"ListBox", kListBox);
}

int CmdCombo(const Args& a, const Options& opt) {
  Need(a, 2, "combo CLASS CAPTION [--nth N]");
  return PrintList(a, opt, L"ComboBox", kComboBox);
}

int CmdComboSelect(const Args& a, const Options& opt) {
  Need(a, 3, "comboselect CLASS CAPTION INDEX [--nth N]");
  return SelectInList(a, opt, L"ComboBox", kComboBox);
}

int CmdTabs(const Args& a, const Options& opt) {
  Need(a, 2, "tabs CLASS CAPTION");
  HWND tab = TargetChild(ToWide(a[0]), ToWide(a[1]), WC_TABCONTROLW, {}, opt);
  Print(std::to_string(Send(tab, TCM_GETCURSEL, 0, 0)));
  for (const auto& t : TabTexts(tab)) Print(ToUtf8(t));
  return 0;
}

// A WM_NOTIFY cannot be sent across processes: the tab is clicked where it is drawn,
// which makes the control send its own notifications.
int CmdTab(const Args& a, const Options& opt) {
  Need(a, 3, "tab CLASS CAPTION N");
  HWND tab = TargetChild(ToWide(a[0]), ToWide(a[1]), WC_TABCONTROLW, {}, opt);
  RequireUsable(tab, opt);
  const long index = ParseLong(a[2], "tab");
  const auto count = Send(tab, TCM_GETITEMCOUNT, 0, 0);
  if (index < 0 || index >= count)
    throw Failure("tab " + a[2] + " outside the " + std::to_string(count) + " tabs");
  const RECT r = TabRect(tab, static_cast<int>(index));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Post(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Post(tab, WM_LBUTTONUP, 0, at);
  const bool done =
      WaitUntil([&] { return Send(tab, TCM_GETCURSEL, 0, 0) == index; }, opt.timeoutMs);
  if (!done) throw Failure("tab " + a[2] + " did not become the selected one");
  return 0;
}

HWND OpenMenu(const Options& opt) {
  return WaitFor(
      [&]() -> HWND {
        for (HWND h : FindTopLevel(L"#32768", L"*", opt))
          if (IsWindowVisible(h)) return h;
        return nullptr;
      },
      opt.timeoutMs);
}

UINT KeyCode(const std::string& name) {
  struct Key {
    const char* name;
    UINT vk;
  };
  static constexpr Key keys[] = {
      {"home", VK_HOME},    {"end", VK_END},       {"up", VK_UP},        {"down", VK_DOWN},
      {"left", VK_LEFT},    {"right", VK_RIGHT},   {"enter", VK_RETURN}, {"return", VK_RETURN},
      {"esc", VK_ESCAPE},   {"escape", VK_ESCAPE}, {"space", VK_SPACE},  {"tab", VK_TAB},
      {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT},
  };
  for (const Key& k : keys)
    if (_stricmp(k.name, name.c_str()) == 0) return k.vk;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<UINT>(std::toupper(static_cast<unsigned char>(name[0])));
  throw Failure("unknown key: " + name);
}

int CmdMenu(const Args& a, const Options& opt) {
  if (a.empty())
    throw Failure("usage: psdriver menu KEY... (home end up down left right enter esc)");
  HWND menu = OpenMenu(opt);
  if (!menu) throw Failure("no open popup menu");
  // The menu loop of the owning thread reads every key message of its queue.
  for (const std::string& name : a) {
    const UINT vk = KeyCode(name);
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    Post(menu, WM_KEYDOWN, vk, down);
    Post(menu, WM_KEYUP, vk, down | (LPARAM{3} << 30));
    Sleep(kPollMs);
  }
  const std::string& last = a.back();
  if (KeyCode(last) == VK_RETURN || KeyCode(last) == VK_ESCAPE) {
    Options now = opt;
    now.timeoutMs = 0;
    const bool closed =
        WaitUntil([&] { return OpenMenu(now) == nullptr; }, std::min<DWORD>(opt.timeoutMs, 3000));
    // Escape closes one level only; Enter on a submenu opens it.
    if (!closed && KeyCode(last) == VK_RETURN) throw Failure("the menu is still open");
  }
  return 0;
}

// keys CHORD...: real key presses ("tab", "ctrl+shift+tab", "a") to the focused window.
int CmdKeys(const Args& a, const Options&) {
  for (const std::string& chord : a) {
    std::vector<INPUT> in;
    for (size_t at = 0, plus = 0; plus != std::string::npos; at = plus + 1) {
      plus = chord.find('+', at);
      in.push_back({.type = INPUT_KEYBOARD});
      in.back().ki.wVk = static_cast<WORD>(KeyCode(chord.substr(at, plus - at)));
    }
    for (size_t n = in.size(); n-- > 0;) {
      in.push_back(in[n]);
      in.back().ki.dwFlags = KEYEVENTF_KEYUP;
    }
    if (SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) != in.size())
      throw Failure("SendInput failed");
    Sleep(kPollMs);
  }
  return 0;
}

// focus CLASS CAPTION: in that window's thread, the active window's class, the focused
// control's class and text, and "default" for a default button.
int CmdFocus(const Args& a, const Options& opt) {
  Need(a, 2, "focus CLASS CAPTION");
  GUITHREADINFO i{.cbSize = sizeof(i)};
  HWND top = Target(ToWide(a[0]), ToWide(a[1]), opt);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &i) || !i.hwndFocus)
    throw Failure("no control has the focus");
  const bool isDefault = Send(i.hwndFocus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON;
  Print(ToUtf8(ClassOf(i.hwndActive)) + "\t" + ToUtf8(ClassOf(i.hwndFocus)) + "\t" +
        OneLine(ToUtf8(TextOf(i.hwndFocus))) + (isDefault ? "\tdefault" : ""));
  return 0;
}

// editlines CLASS CAPTION: an edit field as the screen shows it: "LINES X,Y WxH", the line
// count, where the last character is drawn and the size of the client area.
int CmdEditLines(const Args& a, const Options& opt) {
  Need(a, 2, "editlines CLASS CAPTION");
  HWND h = TargetChild(ToWide(a[0]), ToWide(a[1]), L"Edit", {}, opt);
  const auto at =
      static_cast<DWORD>(Send(h, EM_POSFROMCHAR, Send(h, WM_GETTEXTLENGTH, 0, 0) - 1, 0));
  RECT r{};
  GetClientRect(h, &r);
  Print(std::to_string(Send(h, EM_GETLINECOUNT, 0, 0)) + " " + std::to_string(LOWORD(at)) + "," +
        std::to_string(HIWORD(at)) + " " + std::to_string(r.right) + "x" +
        std::to_string(r.bottom));
  return 0;
}

// display WxH: the screen (the virtual desktop) changes to that size, as on undocking.
int CmdDisplay(const Args& a, const Options&) {
  Need(a, 1, "display WxH");
  DEVMODEW mode{.dmSize = sizeof(DEVMODEW), .dmFields = DM_PELSWIDTH | DM_PELSHEIGHT};
  const size_t x = a[0].find('x');
  if (x == std::string::npos) throw Failure("not WxH: " + a[0]);
  mode.dmPelsWidth = static_cast<DWORD>(ParseLong(a[0].substr(0, x), "width"));
  mode.dmPelsHeight = static_cast<DWORD>(ParseLong(a[0].substr(x + 1), "height"));
  if (const LONG rc = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr); rc != 0)
    throw Failure("ChangeDisplaySettingsEx: " + std::to_string(rc));
  return 0;
}

bool HasFileNameField(HWND dlg) {
  return GetDlgItem(dlg, kFileNameCombo) || GetDlgItem(dlg, kFileNameEdit);
}

// Message box texts: every STATIC with text (the icon has none).
std::vector<std::string> StaticTexts(HWND dlg) {
  std::vector<std::string> texts;
  for (HWND h : Descendants(dlg)) {
    if (!ClassIs(h, L"Static")) continue;
    const std::wstring t = TextOf(h);
    if (!t.empty()) texts.push_back(ToUtf8(t));
  }
  return texts;
}

HWND FindMessageBox(const Options& opt) {
  for (HWND h : FindTopLevel(L"#32770", opt.caption, opt))
    if (IsWindowVisible(h) && !HasFileNameField(h)) return h;
  return nullptr;
}

int CmdMsgBox(const Args& a, const Options& opt) {
  if (a.size() > 1)
    throw Failure("usage: psdriver msgbox [BUTTONTEXT] [--caption TEXT] [--timeout MS]");
  HWND box = WaitFor([&] { return FindMessageBox(opt); }, opt.timeoutMs);
  if (!box) throw Failure("no message box \"" + ToUtf8(opt.caption) + "\"");
  for (const auto& t : StaticTexts(box)) Print(OneLine(t));
  HWND button = a.empty() ? GetDlgItem(box, IDOK) : Child(box, L"Button", ToWide(a[0]), 0);
  if (button)
    Post(button, BM_CLICK, 0, 0);
  else
    Post(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const bool closed = WaitUntil([&] { return !IsWindowVisible(box); }, opt.timeoutMs);
  if (!closed) throw Failure("the message box did not close");
  return 0;
}

int CmdMsgBoxNone(const Args& a, const Options& opt) {
  Need(a, 0, "msgbox-none [--for MS] [--caption TEXT]");
  const ULONGLONG until = GetTickCount64() + opt.forMs;
  for (;;) {
    if (HWND box = FindMessageBox(opt)) {
      for (const auto& t : StaticTexts(box)) Print(OneLine(t));
      throw Failure("a message box \"" + ToUtf8(opt.caption) + "\" is open");
    }
    if (GetTickCount64() >= until) return 0;
    Sleep(kPollMs);
  }
}

int CmdFileDialog(const Args& a, const Options& opt) {
  Need(a, 1, "filedialog PATH [--timeout MS]");
  HWND dlg = WaitFor(
      [&]() -> HWND {
        for (HWND h : FindTopLevel(L"#32770", L"*", opt))
          if (IsWindowVisible(h) && HasFileNameField(h)) return h;
        return nullptr;
      },
      opt.timeoutMs);
  if (!dlg) throw Failure("no open or save dialog");
  Print(ToUtf8(TextOf(dlg)));
  HWND field = GetDlgItem(dlg, kFileNameCombo);
  if (!field || !IsWindowVisible(field)) field = GetDlgItem(dlg, kFileNameEdit);
  // Typing goes to the edit field, which a combo box holds inside.
  if (!ClassIs(field, L"Edit"))
    for (HWND h : Descendants(field))
      if (ClassIs(h, L"Edit")) field = h;
  const std::wstring path = ToWide(a[0]);
  if (!Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str())))  // marshalled
    throw Failure("cannot set the file name");
  Post(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
       reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
  const bool closed =
      WaitUntil([&] { return !IsWindowVisible(dlg); }, std::min<DWORD>(opt.timeoutMs, 5000));
  if (!closed) {
    std::string why;
    for (HWND h : FindTopLevel(L"#32770", L"*", opt))
      if (GetWindow(h, GW_OWNER) == dlg && IsWindowVisible(h))
        for (const auto& t : StaticTexts(h)) why += " " + OneLine(t);
    throw Failure("the dialog did not accept the file name:" + (why.empty() ? " still open" : why));
  }
  return 0;
}

// redraw CLASS CAPTION: the window and its children paint themselves again. Wine's
// virtual desktop can paint a full-screen wallpaper over the taskbar, which then stays
// hidden until something makes it repaint.
int CmdRedraw(const Args& a, const Options& opt) {
  Need(a, 2, "redraw CLASS CAPTION");
  HWND h = Target(ToWide(a[0]), ToWide(a[1]), opt);
  if (!RedrawWindow(h, nullptr, nullptr,
                    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW))
    throw Failure("RedrawWindow failed");
  return 0;
}

// cursor X Y: moves the mouse pointer (desktop coordinates); a popup menu opened by the
// program then appears where a user's click would have opened it.
int CmdCursor(const Args& a, const Options&) {
  Need(a, 2, "cursor X Y");
  const int x = static_cast<int>(ParseLong(a[0], "X")), y = static_cast<int>(ParseLong(a[1], "Y"));
  if (!SetCursorPos(x, y)) throw Failure("SetCursorPos failed");
  POINT p{};
  GetCursorPos(&p);
  Print(std::to_string(p.x) + "," + std::to_string(p.y));
  return 0;
}

int CmdSysColor(const Args& a, const Options&) {
  Need(a, 1, "syscolor INDEX");
  const COLORREF c = GetSysColor(static_cast<int>(ParseLong(a[0], "INDEX")));
  Print(std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
        std::to_string(GetBValue(c)));
  return 0;
}

int CmdRegGet(const Args& a, const Options&) {
  Need(a, 2, "regget KEYPATH VALUE");
  const auto v = ReadValue(a[0], a[1]);
  if (!v) throw Failure("no value " + a[1] + " under " + a[0]);
  Print(ValueText(*v));
  return 0;
}

int CmdRegType(const Args& a, const Options&) {
  Need(a, 2, "regtype KEYPATH VALUE");
  const auto v = ReadValue(a[0], a[1]);
  if (!v) throw Failure("no value " + a[1] + " under " + a[0]);
  Print(std::to_string(v->type));
  return 0;
}

// regvalues KEYPATH: every value of the key as "name<TAB>type<TAB>data", one read for
// many checks.
int CmdRegValues(const Args& a, const Options&) {
  Need(a, 1, "regvalues KEYPATH");
  std::string path = a[0];
  HKEY root = RootOf(path);
  platform::UniqueHKey key;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    throw Failure("no key " + a[0]);
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameLen = 16384, size = 0;
    RegValue v;
    LONG rc = RegEnumValueW(key.get(), i, name, &nameLen, nullptr, &v.type, nullptr, &size);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) throw Failure("cannot list the values of " + a[0]);
    v.data.resize(size);
    nameLen = 16384;
    rc = RegEnumValueW(key.get(), i, name, &nameLen, nullptr, &v.type, v.data.data(), &size);
    if (rc != ERROR_SUCCESS) throw Failure("cannot read a value of " + a[0]);
    v.data.resize(size);
    Print(OneLine(ToUtf8(std::wstring_view(name, nameLen))) + "\t" + std::to_string(v.type) + "\t" +
          OneLine(ValueText(v)));
  }
  return 0;
}

// regset KEYPATH VALUE sz|dword DATA: prepares a registry state for a test.
int CmdRegSet(const Args& a, const Options&) {
  Need(a, 4, "regset KEYPATH VALUE sz|expand|dword DATA");
  std::string path = a[0];
  HKEY root = RootOf(path);
  platform::UniqueHKey key;
  if (RegCreateKeyExW(root, ToWide(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS)
    throw Failure("cannot create the key " + a[0]);
  const std::wstring name = ToWide(a[1]);
  LONG rc;
  if (a[2] == "dword") {
    const DWORD d = static_cast<DWORD>(ParseLong(a[3], "DATA"));
    rc = RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d),
                        sizeof d);
  } else if (a[2] == "sz" || a[2] == "expand") {
    const std::wstring text = ToWide(a[3]);
    rc = RegSetValueExW(key.get(), name.c_str(), 0, a[2] == "sz" ? REG_SZ : REG_EXPAND_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  } else {
    throw Failure("unknown value type: " + a[2]);
  }
  if (rc != ERROR_SUCCESS) throw Failure("cannot set " + a[1]);
  return 0;
}

int CmdRegDel(const Args& a, const Options&) {
  if (a.size() != 1 && a.size() != 2) throw Failure("usage: psdriver regdel KEYPATH [VALUE]");
  std::string path = a[0];
  HKEY root = RootOf(path);
  if (a.size() == 1) {
    const LONG rc = RegDeleteTreeW(root, ToWide(path).c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) throw Failure("cannot delete " + a[0]);
    return 0;
  }
  platform::UniqueHKey key;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
    return 0;
  const LONG rc = RegDeleteValueW(key.get(), ToWide(a[1]).c_str());
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) throw Failure("cannot delete " + a[1]);
  return 0;
}

// decoy CLASS MS: another program's window of that class; prints the icon callbacks it got.
int g_decoyCallbacks = 0;
int CmdDecoy(const Args& a, const Options&) {
  Need(a, 2, "decoy CLASS MS");
  const std::wstring cls = ToWide(a[0]);
  const WNDCLASSW wc{.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                       if (m == kTrayCallback) ++g_decoyCallbacks;
                       return DefWindowProcW(h, m, w, l);
                     },
                     .lpszClassName = cls.c_str()};
  RegisterClassW(&wc);
  if (!CreateWindowW(cls.c_str(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr))
    throw Failure("cannot create the window");
  for (const ULONGLONG end = GetTickCount64() + ParseLong(a[1], "MS"); GetTickCount64() < end;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(kPollMs);
  }
  Print(std::to_string(g_decoyCallbacks));
  return 0;
}

// screenshot FILE.bmp: the whole screen of this desktop as a 24-bit bitmap file.
int CmdScreenshot(const Args& a, const Options&) {
  Need(a, 1, "screenshot FILE.bmp");
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  platform::WindowDC screen(nullptr);
  platform::UniqueDC mem(CreateCompatibleDC(screen.get()));
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = w;
  header.biHeight = h;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::UniqueBitmap dib(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header),
                                              DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!mem || !dib) throw Failure("cannot create the bitmap");
  {
    platform::SelectGuard select(mem.get(), dib.get());
    if (!BitBlt(mem.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY))
      throw Failure("cannot copy the screen");
  }
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) / 4) * 4;
  const DWORD size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4d42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + size;
  header.biSizeImage = size;
  platform::UniqueFile out(CreateFileW(ToWide(a[0]).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) throw Failure("cannot create " + a[0]);
  DWORD written = 0;
  const bool ok = WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
                  WriteFile(out.get(), &header, sizeof header, &written, nullptr) &&
                  WriteFile(out.get(), bits, size, &written, nullptr) && written == size;
  if (!ok) throw Failure("cannot write " + a[0]);
  Print(std::to_string(w) + "x" + std::to_string(h));
  return 0;
}

struct ComRelease {
  void operator()(IUnknown* p) const { p->Release(); }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;

struct ComApartment {
  ComApartment() {
    if (FAILED(CoInitialize(nullptr))) throw Failure("cannot start COM");
  }
  ~ComApartment() { CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

// shortcut FILE.lnk: the shortcut's target, working directory and icon ("path,index"),
// one a line, as the shell reads them.
int CmdShortcut(const Args& a, const Options&) {
  Need(a, 1, "shortcut FILE.lnk");
  ComApartment com;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  {
    void* p = nullptr;
    if (FAILED(
            CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &p)))
      throw Failure("cannot create a shell link object");
    link.reset(static_cast<IShellLinkW*>(p));
    if (FAILED(link->QueryInterface(IID_IPersistFile, &p))) throw Failure("no IPersistFile");
    file.reset(static_cast<IPersistFile*>(p));
  }
  if (FAILED(file->Load(ToWide(a[0]).c_str(), STGM_READ))) throw Failure("cannot read " + a[0]);
  wchar_t target[MAX_PATH] = {}, directory[MAX_PATH] = {}, icon[MAX_PATH] = {};
  int iconIndex = 0;
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
      FAILED(link->GetWorkingDirectory(directory, MAX_PATH)) ||
      FAILED(link->GetIconLocation(icon, MAX_PATH, &iconIndex)))
    throw Failure("cannot read the shortcut's fields");
  Print(ToUtf8(target));
  Print(ToUtf8(directory));
  Print(ToUtf8(icon) + "," + std::to_string(iconIndex));
  return 0;
}

struct Command {
  const char* name;
  int (*run)(const Args&, const Options&);
};

constexpr Command kCommands[] = {
    {"wait", CmdWait},
    {"windows", CmdWindows},
    {"visible", CmdVisible},
    {"rect", CmdRect},
    {"pid", CmdPid},
    {"pid-alive", CmdPidAlive},
    {"wait-exit", CmdWaitExit},
    {"tray", CmdTray},
    {"trayicons", CmdTrayIcons},
    {"trayicon-click", CmdTrayIconClick},
    {"taskbar", CmdTaskbar},
    {"click", CmdClick},
    {"mouseclick", CmdMouseClick},
    {"keys", CmdKeys},
    {"focus", CmdFocus},
    {"editlines", CmdEditLines},
    {"display", CmdDisplay},
    {"check", CmdCheck},
    {"setcheck", CmdSetCheck},
    {"children", CmdChildren},
    {"text", CmdText},
    {"hints", CmdHints},
    {"settext", CmdSetText},
    {"type", CmdType},
    {"state", CmdState},
    {"listbox", CmdListBox},
    {"listselect", CmdListSelect},
    {"combo", CmdCombo},
    {"comboselect", CmdComboSelect},
    {"tabs", CmdTabs},
    {"tab", CmdTab},
    {"menu", CmdMenu},
    {"msgbox", CmdMsgBox},
    {"msgbox-none", CmdMsgBoxNone},
    {"filedialog", CmdFileDialog},
    {"syscolor", CmdSysColor},
    {"cursor", CmdCursor},
    {"redraw", CmdRedraw},
    {"regget", CmdRegGet},
    {"regtype", CmdRegType},
    {"regvalues", CmdRegValues},
    {"regset", CmdRegSet},
    {"regdel", CmdRegDel},
    {"screenshot", CmdScreenshot},
    {"shortcut", CmdShortcut},
    {"decoy", CmdDecoy},
};

DWORD ParseMs(const std::string& s) {
  const long v = ParseLong(s, "milliseconds");
  if (v < 0) throw Failure("negative time: " + s);
  return static_cast<DWORD>(v);
}

// Splits options from positional arguments; options may stand anywhere.
Args ParseOptions(std::span<const std::string> argv, Options& opt) {
  Args positional;
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argv.size()) throw Failure(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--timeout")
      opt.timeoutMs = ParseMs(value());
    else if (arg == "--for")
      opt.forMs = ParseMs(value());
    else if (arg == "--pid")
      opt.pid = static_cast<DWORD>(ParseLong(value(), "--pid"));
    else if (arg == "--nth")
      opt.nth = static_cast<int>(ParseLong(value(), "--nth"));
    else if (arg == "--caption")
      opt.caption = ToWide(value());
    else if (arg == "--force")
      opt.force = true;
    else if (arg == "--visible")
      opt.state = Options::State::kVisible;
    else if (arg == "--hidden")
      opt.state = Options::State::kHidden;
    else if (arg == "--gone")
      opt.state = Options::State::kGone;
    else if (arg == "--")
      for (++i; i < argv.size(); ++i) positional.push_back(argv[i]);
    else
      positional.push_back(arg);
  }
  return positional;
}

int Usage() {
  std::fputs("usage: psdriver COMMAND ARGS... [--timeout MS] [--pid PID] [--nth N]\ncommands:",
             stderr);
  for (const Command& c : kCommands) std::fprintf(stderr, " %s", c.name);
  std::fputc('\n', stderr);
  return 1;
}

}  // namespace

// wmain: arguments arrive as UTF-16 whatever the code page, and are used as UTF-8.
int wmain(int argc, wchar_t** wargv) {
  _setmode(_fileno(stdout), _O_BINARY);
  SetProcessDPIAware();  // real pixels at any DPI, as the program sees them
  if (argc < 2) return Usage();
  std::vector<std::string> argv;
  for (int i = 0; i < argc; ++i) argv.push_back(ToUtf8(wargv[i]));
  const std::string name = argv[1];
  try {
    for (const Command& c : kCommands) {
      if (name != c.name) continue;
      Options opt;
      const Args args = ParseOptions(std::span(argv).subspan(2), opt);
      const int rc = c.run(args, opt);
      std::fflush(stdout);
      return rc;
    }
    std::fprintf(stderr, "psdriver: unknown command %s\n", name.c_str());
    return Usage();
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "psdriver %s: %s\n", name.c_str(), e.what());
    return 1;
  }
}
