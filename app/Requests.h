#pragma once
// What is open, and what a request that arrives meanwhile does. A file dialog or a box runs
// a message loop of its own, and start-up lets messages through while it scans a folder: in
// those loops the icon's menu and double-click, a second start, the change timer and close
// requests from outside still arrive. Each one is answered at once, once what is open has
// closed, or by bringing what is open to the front, which answers it; none is dropped, and
// Exit always ends.
#include <windows.h>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "ui/ErrorBox.h"

namespace app {

enum class Request {
  Exit,         // "Exit Program"
  Close,        // a close request from outside: ends as a log-off does, without asking
  Show,         // "Show Settings.."
  DoubleClick,  // the icon's double-click; a second start of the program sends one
  Change,       // "Change Image"
  Style,        // "Title Image", "Center Image", "Strech Image"
  Colour,       // "Background Color"
  Sound,        // "Enable Sound", "Disable Sound"
  Tick,         // the change timer
  Click,        // a control of the settings window
};

// What can be open while a request arrives and blocks it. The prompt, the password dialog
// and the notice are not modal: requests are answered at once beside them.
enum class Opened { StartUp, FileDialog, ErrorBox, Question };

enum class Answer {
  Now,    // runs at once
  Later,  // runs once nothing is open any more, in the order asked
  Front,  // what is open comes to the front: the user has to answer it first
  End,    // what is open is closed as its Cancel would; its reaction unwinds; then the end runs
};

// The one decision, from what is open (innermost last) and whether a reaction is still
// running (a message sent from another process may arrive inside a system call).
Answer Decide(Request request, const std::vector<Opened>& open, bool busy);

class Requests final : public ui::BoxWatch {
 public:
  struct Actions {
    // Posts the message on which AnswerWaiting runs.
    std::function<void()> answerLater;
    // The window a box is to block: the settings window while it is shown; null for the
    // application's hidden window.
    std::function<HWND()> boxOwner;
    // The program has been told to end.
    std::function<bool()> ended;
    std::function<void()> bringToFront = BringOpenToFront;
    std::function<void()> closeOpen = CloseOpenBoxes;
  };
  explicit Requests(Actions actions);
  ~Requests();
  Requests(const Requests&) = delete;
  Requests& operator=(const Requests&) = delete;

  void Ask(Request request, std::function<void()> reaction);

  // Something is open while the scope lives. An empty scope: it must not open, because the
  // program is ending; the caller goes on as if it had been cancelled.
  class Scope {
   public:
    explicit Scope(Requests* owner) : owner_(owner) {}
    Scope(Scope&& other) noexcept : owner_(std::exchange(other.owner_, nullptr)) {}
    Scope& operator=(Scope&&) = delete;
    ~Scope() {
      if (owner_) owner_->Closed();
    }
    explicit operator bool() const noexcept { return owner_ != nullptr; }

   private:
    Requests* owner_;
  };
  [[nodiscard]] Scope Open(Opened what);

  // An end is waiting for what is open to close: a reaction opens nothing more and stops.
  bool Ending() const noexcept { return static_cast<bool>(end_); }
  // Answers what waits, now that nothing is open.
  void AnswerWaiting();

  bool BoxOpening(bool question, HWND& owner) noexcept override;
  void BoxClosed() noexcept override;

  // The thread's open dialog or box (the one that takes input) to the front.
  static void BringOpenToFront();
  // Closes the thread's open dialogs and boxes as their Cancel (the question: its No) would.
  static void CloseOpenBoxes();

 private:
  void Run(const std::function<void()>& reaction);
  void Closed() noexcept;
  // Has AnswerWaiting run once nothing is open or running.
  void Settled() noexcept;

  Actions actions_;
  std::vector<Opened> open_;
  int running_ = 0;
  bool posted_ = false;
  struct Waiting {
    Request request;
    std::function<void()> reaction;
  };
  std::deque<Waiting> waiting_;
  std::function<void()> end_;
  bool endIsClose_ = false;
};

}  // namespace app
