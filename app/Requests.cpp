#include "app/Requests.h"

#include <algorithm>
#include <utility>

namespace app {

namespace {

// The class of dialog boxes: the file dialogs and the message boxes.
constexpr char kDialogClass[] = "#32770";

std::vector<HWND> OpenBoxes() {
  std::vector<HWND> boxes;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        char cls[16] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpA(cls, kDialogClass) == 0 && IsWindowVisible(h)) {
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

}  // namespace

Answer Decide(Request request, const std::vector<Opened>& open, bool busy) {
  if (request == Request::Exit || request == Request::Close) {
    // A second Exit does not answer the first one's question for the user.
    if (request == Request::Exit && !open.empty() && open.back() == Opened::Question) {
      return Answer::Front;
    }
    return !open.empty() || busy ? Answer::End : Answer::Now;
  }
  if (open.empty()) return busy ? Answer::Later : Answer::Now;
  switch (request) {
    case Request::Show:
    case Request::DoubleClick:
      // During start-up the window or the prompt is not ready yet: it opens once start-up is
      // over (a box of start-up comes to the front meanwhile).
      if (std::find(open.begin(), open.end(), Opened::StartUp) != open.end()) return Answer::Later;
      return Answer::Front;
    case Request::Click:
      // What is open blocks the settings window, as the system does for a modal box.
      return Answer::Front;
    default:
      return Answer::Later;
  }
}

Requests::Requests(Actions actions) : actions_(std::move(actions)) {
  ui::SetBoxWatch(this);
}

Requests::~Requests() {
  ui::SetBoxWatch(nullptr);
}

void Requests::Ask(Request request, std::function<void()> reaction) {
  // A box or a dialog the user can bring forward; start-up alone shows nothing.
  const bool shown = !open_.empty() && open_.back() != Opened::StartUp;
  switch (Decide(request, open_, running_ > 0)) {
    case Answer::Now:
      Run(reaction);
      break;
    case Answer::Later: {
      // Ticks that came while a box was open make one change: the wallpaper catches up once.
      const bool tickWaits = std::any_of(waiting_.begin(), waiting_.end(), [](const Waiting& w) {
        return w.request == Request::Tick;
      });
      if (request != Request::Tick || !tickWaits)
        waiting_.push_back({request, std::move(reaction)});
      // A menu choice that waits shows the user what it waits for.
      if (request != Request::Tick && shown) actions_.bringToFront();
      break;
    }
    case Answer::Front:
      actions_.bringToFront();
      break;
    case Answer::End:
      // A close from outside outranks an Exit: it ends without asking.
      if (!end_ || (request == Request::Close && !endIsClose_)) {
        end_ = std::move(reaction);
        endIsClose_ = request == Request::Close;
      }
      actions_.closeOpen();
      break;
  }
}

void Requests::Run(const std::function<void()>& reaction) {
  struct Running {
    explicit Running(Requests& r) : r_(r) { ++r_.running_; }
    ~Running() {
      --r_.running_;
      r_.Settled();
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    Requests& r_;
  } running(*this);
  reaction();
}

Requests::Scope Requests::Open(Opened what) {
  if (Ending()) return Scope(nullptr);
  open_.push_back(what);
  return Scope(this);
}

void Requests::Closed() noexcept {
  open_.pop_back();
  Settled();
}

bool Requests::BoxOpening(bool question, HWND& owner) noexcept {
  if (Ending()) return false;
  try {
    if (HWND window = actions_.boxOwner()) owner = window;
    open_.push_back(question ? Opened::Question : Opened::ErrorBox);
  } catch (...) {
    return false;
  }
  return true;
}

void Requests::BoxClosed() noexcept {
  Closed();
}

void Requests::Settled() noexcept {
  if (running_ > 0 || !open_.empty() || posted_ || (!end_ && waiting_.empty())) return;
  try {
    actions_.answerLater();
    posted_ = true;
  } catch (...) {
  }
}

void Requests::AnswerWaiting() {
  posted_ = false;
  while (running_ == 0 && open_.empty() && !actions_.ended()) {
    if (end_) {
      const std::function<void()> end = std::exchange(end_, nullptr);
      endIsClose_ = false;
      ui::Guarded([&] { Run(end); });
      continue;
    }
    if (waiting_.empty()) return;
    const Waiting next = std::move(waiting_.front());
    waiting_.pop_front();
    // Each one as its own reaction: its error box shows before the next one runs.
    ui::Guarded([&] { Run(next.reaction); });
  }
  if (actions_.ended()) waiting_.clear();
}

void Requests::BringOpenToFront() {
  // Of nested ones, only the innermost takes input.
  for (HWND box : OpenBoxes()) {
    if (!IsWindowEnabled(box)) continue;
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(box);
    return;
  }
}

void Requests::CloseOpenBoxes() {
  // Posted: each box's own loop ends it, innermost first, and its caller carries on as after
  // the user's answer.
  for (HWND box : OpenBoxes()) {
    const WORD answer = GetDlgItem(box, IDNO) ? IDNO : IDCANCEL;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  }
}

}  // namespace app
