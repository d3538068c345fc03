#pragma once
// Long work done between the events: a job cut into slices, one slice per
// turn of the event loop, so clicks, ticks and paints go on while it runs.
// A progress bar, when given, shows how far it has got while it takes more
// than one slice.

#include <functional>
#include <memory>

#include "toolkit/Control.h"

class QProgressBar;
class QTimer;

namespace tk {

// A bar that fills from 0 to Max.
class TProgressBar : public TControl {
 public:
  explicit TProgressBar(TWinControl* parent);
  int Position() const;
  void SetPosition(int position);
  int Max() const;
  void SetMax(int max);

 private:
  QProgressBar* bar_;
};

class TIdleJob {
 public:
  // One slice: does a bounded part of the work and answers the fraction of
  // the whole that is done; 1 or more ends the job.
  using TSlice = std::function<double()>;

  TIdleJob();
  ~TIdleJob();
  TIdleJob(const TIdleJob&) = delete;
  TIdleJob& operator=(const TIdleJob&) = delete;

  // properties
  bool Running() const { return running_; }
  double Progress() const { return progress_; }
  int Slices() const { return slices_; }  // run by the current job, or the last one
  // Shown while a job is past its first slice, hidden otherwise; null for none.
  void SetProgressBar(TProgressBar* bar);

  // operations
  // Starts the job, replacing one still running; its first slice runs from
  // the event loop, never inside this call.
  void Start(TSlice slice);
  void Cancel();
  // Runs the slices left, now (a window that closes, a test).
  void Finish();

  // events, through the application's error handler
  std::function<void()> OnDone;

 private:
  void RunSlice();
  void ShowProgress();

  std::unique_ptr<QTimer> timer_;
  TSlice slice_;
  TProgressBar* bar_ = nullptr;
  bool running_ = false;
  double progress_ = 0;
  int slices_ = 0;
};

}  // namespace tk
