#include "window/job_thread.hpp"

#include <QMetaObject>

namespace pliego {

JobThread::~JobThread() { stop(); }

void JobThread::start(PrintJob& job, JobSettings settings) {
  cancel_ = false;
  running_ = true;
  JobHooks hooks;
  hooks.progress = [this](int percent) { emit progressed(percent); };
  hooks.waiting = [this](WaitingFor what, int minutes) { emit waiting(static_cast<int>(what), minutes); };
  hooks.cancel = &cancel_;
  // The question is the window's: asked on its thread while the work waits.
  hooks.confirmReplace = [this, &job](const std::string& path) {
    bool replace = false;
    QMetaObject::invokeMethod(this, [&] { replace = job.confirmReplace(path); }, Qt::BlockingQueuedConnection);
    return replace;
  };
  thread_ = std::thread([this, &job, settings = std::move(settings), hooks = std::move(hooks)] {
    outcome_ = job.work(settings, hooks);
    QMetaObject::invokeMethod(this, &JobThread::ended, Qt::QueuedConnection);
  });
}

void JobThread::ended() {
  if (!running_) return;  // stopped meanwhile
  if (thread_.joinable()) thread_.join();
  running_ = false;
  emit finished();
}

void JobThread::stop() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
  running_ = false;
}

JobOutcome JobThread::takeOutcome() { return std::move(outcome_); }

}  // namespace pliego
