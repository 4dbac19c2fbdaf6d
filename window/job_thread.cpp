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
  hooks.sending = [this](int percent) { emit sending(percent); };
  hooks.cancel = &cancel_;
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
