#pragma once
// Runs the print job's work on a thread of its own, so that the window keeps
// answering: it repaints, moves, and takes Esc while a long ledger is laid
// out or a copy still printing is waited for. The work never touches a
// widget; what it has to say reaches the window through queued signals.
#include <QObject>
#include <atomic>
#include <thread>

#include "printing/print_job.hpp"

namespace pliego {

class JobThread : public QObject {
  Q_OBJECT

 public:
  explicit JobThread(QObject* parent = nullptr) : QObject(parent) {}
  ~JobThread() override;  // stops a job still running

  bool running() const { return running_; }
  // Starts `job`'s work with `settings`; finished() follows when it ends.
  void start(PrintJob& job, JobSettings settings);
  // Asks the work to stop where it is; finished() still follows.
  void cancel() { cancel_ = true; }
  // Cancels and waits until the work has stopped; no finished() follows.
  void stop();
  // The settings the work ran with, and its outcome, once finished() has come.
  const JobSettings& settings() const { return settings_; }
  JobOutcome takeOutcome();

 signals:
  void progressed(int percent);
  void waiting(int what, int minutes);  // a WaitingFor and the minutes waited
  void sending(int percent);
  void finished();

 private:
  void ended();

  std::thread thread_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
  JobSettings settings_;
  JobOutcome outcome_;
};

}  // namespace pliego
