#pragma once
// The application object: owns the toolkit's event loop and is the one place
// where errors raised by event handlers, timer ticks and paints are caught.
// The message goes to the user in a message box and the program goes on; no
// exception ever crosses the event loop.

#include <memory>
#include <string>

namespace tk {

class TApplication {
 public:
  TApplication(int& argc, char** argv);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Runs the message loop until the last window closes; returns the exit code.
  int Run();

  // Shows an error's message in a modal message box (the default handler).
  static void ShowException(const std::string& message);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tk
