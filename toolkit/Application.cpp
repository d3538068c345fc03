#include "toolkit/Application.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "toolkit/Errors.h"

namespace tk {

namespace {

class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      TApplication::ShowException(e.what());
    } catch (...) {
      TApplication::ShowException("Unknown error");
    }
    return false;
  }
};

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

void TApplication::ShowException(const std::string& message) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                        QString::fromStdString(message));
}

}  // namespace tk
