#include "toolkit/IdleJob.h"

#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "toolkit/Application.h"

namespace tk {

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TWinControl* parent) : TControl(new QProgressBar, parent) {
  bar_ = static_cast<QProgressBar*>(Widget());
  bar_->setRange(0, 100);
  bar_->setValue(0);
}

int TProgressBar::Position() const {
  return bar_->value();
}
void TProgressBar::SetPosition(int position) {
  bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}
int TProgressBar::Max() const {
  return bar_->maximum();
}
void TProgressBar::SetMax(int max) {
  bar_->setRange(0, std::max(1, max));
}

// ---------------------------------------------------------------- TIdleJob

TIdleJob::TIdleJob() : timer_(std::make_unique<QTimer>()) {
  // a zero-interval timer fires once the events waiting before it are handled
  timer_->setInterval(0);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { RunSlice(); });
}

TIdleJob::~TIdleJob() {
  timer_->disconnect();
}

void TIdleJob::SetProgressBar(TProgressBar* bar) {
  bar_ = bar;
  if (bar_) bar_->SetVisible(running_ && slices_ > 0);
}

void TIdleJob::Start(TSlice slice) {
  slice_ = std::move(slice);
  running_ = static_cast<bool>(slice_);
  progress_ = 0;
  slices_ = 0;
  if (bar_) bar_->Hide();  // a job of one slice never shows it
  if (running_)
    timer_->start();
  else
    timer_->stop();
}

void TIdleJob::Cancel() {
  timer_->stop();
  running_ = false;
  slice_ = nullptr;
  if (bar_) bar_->Hide();
}

void TIdleJob::Finish() {
  while (running_)
    RunSlice();
}

void TIdleJob::RunSlice() {
  if (!running_) return;
  double done = 1;
  try {
    done = slice_();
  } catch (...) {
    Cancel();  // a job that failed once would fail again on every turn
    ReportCurrentException();
    return;
  }
  ++slices_;
  progress_ = std::isnan(done) ? 1 : std::clamp(done, 0.0, 1.0);
  if (progress_ < 1) {
    ShowProgress();
    return;
  }
  timer_->stop();
  running_ = false;
  slice_ = nullptr;
  if (bar_) bar_->Hide();
  Dispatch(OnDone);
}

void TIdleJob::ShowProgress() {
  if (!bar_) return;
  bar_->SetPosition(static_cast<int>(std::lround(progress_ * bar_->Max())));
  bar_->Show();
}

}  // namespace tk
