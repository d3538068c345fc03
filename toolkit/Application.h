#pragma once
// The application object: owns the toolkit's event loop and is the one place
// where errors raised by event handlers, timer ticks and paints end up. The
// message goes to the user in a message box and the program goes on; no
// exception ever crosses the event loop.

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace tk {

class TApplication {
 public:
  TApplication(int& argc, char** argv);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Runs the message loop until the last window closes; returns the exit code.
  int Run();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Handles the events waiting in the queue, then returns.
void ProcessMessages();

// Where the message of an error caught at an event boundary goes. The default
// shows a modal message box; tests install a handler that records instead.
using TErrorHandler = std::function<void(const std::string& message)>;
void SetErrorHandler(TErrorHandler handler);  // an empty handler restores the default
// Tells the control that holds the mouse to let go, then reports the message.
void ShowException(const std::string& message);

// The control that holds the mouse between a press and its release. A message
// box takes the mouse away from it (the release goes to the box), so it is
// told to let go as the box opens: a held scroll arrow would otherwise keep
// repeating behind the box.
class TMouseCapture {
 public:
  // Ends the press as if the button had come up away from the control, so
  // nothing is clicked; called at most once per capture.
  virtual void LetGoOfMouse() = 0;

 protected:
  ~TMouseCapture() = default;
};
void SetMouseCapture(TMouseCapture* holder);
void ReleaseMouseCapture(TMouseCapture* holder);  // only when it is the holder
TMouseCapture* MouseCapture();

// Runs one event handler, turning anything it throws into ShowException. Every
// control of the toolkit fires its events through this.
template <typename F, typename... Args>
void Dispatch(const F& handler, Args&&... args) noexcept;

void ReportCurrentException() noexcept;  // inside a catch: route it to ShowException

template <typename F, typename... Args>
void Dispatch(const F& handler, Args&&... args) noexcept {
  if constexpr (std::is_constructible_v<bool, const F&>) {
    if (!handler) return;  // an event nobody assigned
  }
  try {
    handler(std::forward<Args>(args)...);
  } catch (...) {
    ReportCurrentException();
  }
}

// The system's warning sound; every refused key goes through it.
void Beep();
int BeepCount();  // how many beeps so far, for tests

}  // namespace tk
