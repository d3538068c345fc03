#include "toolkit/Application.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <deque>
#include <exception>
#include <utility>

#include "toolkit/Errors.h"

namespace tk {

namespace {

TErrorHandler& CustomHandler() {
  static TErrorHandler handler;
  return handler;
}

// A tick that keeps failing must not stack one modal box on another: while a
// box is open, further messages wait (once each) and are shown after it.
void ShowInMessageBox(const std::string& message) {
  static bool showing = false;
  static std::deque<std::string> waiting;
  if (showing) {
    for (const std::string& m : waiting)
      if (m == message) return;
    waiting.push_back(message);
    return;
  }
  showing = true;
  std::string next = message;
  for (;;) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(next));
    if (waiting.empty()) break;
    next = waiting.front();
    waiting.pop_front();
  }
  showing = false;
}

// The last line of defence: anything an event handler outside the toolkit's
// own dispatch lets escape is caught here rather than crossing the loop.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      ReportCurrentException();
    }
    return false;
  }
};

int g_beeps = 0;
TMouseCapture* g_capture = nullptr;

}  // namespace

struct TApplication::Impl {
  GuardedApplication app;
  Impl(int& argc, char** argv) : app(argc, argv) {}
};

TApplication::TApplication(int& argc, char** argv) : impl_(std::make_unique<Impl>(argc, argv)) {
  QApplication::setApplicationName("Wavelot");
}

TApplication::~TApplication() = default;

int TApplication::Run() {
  return QApplication::exec();
}

void ProcessMessages() {
  QApplication::processEvents();
}

void SetErrorHandler(TErrorHandler handler) {
  CustomHandler() = std::move(handler);
}

void SetMouseCapture(TMouseCapture* holder) {
  g_capture = holder;
}

void ReleaseMouseCapture(TMouseCapture* holder) {
  if (g_capture == holder) g_capture = nullptr;
}

TMouseCapture* MouseCapture() {
  return g_capture;
}

void ShowException(const std::string& message) {
  if (TMouseCapture* holder = std::exchange(g_capture, nullptr)) holder->LetGoOfMouse();
  if (CustomHandler())
    CustomHandler()(message);
  else
    ShowInMessageBox(message);
}

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      ShowException(e.what());
    } catch (...) {
      ShowException("Unknown error");
    }
  } catch (...) {
    // the handler itself failed: nothing sensible is left to tell the user
  }
}

void Beep() {
  ++g_beeps;
  QApplication::beep();
}

int BeepCount() {
  return g_beeps;
}

}  // namespace tk
