#include "window/job_thread.hpp"

#include <QMetaObject>
#include <chrono>
#include <future>
#include <memory>

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
  // The question is the window's: asked on its thread while the work waits,
  // or not at all once the job is stopped (the window may be waiting for the
  // work to end: it must not wait for the window in turn).
  hooks.confirmReplace = [this, &job](const std::string& path) {
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> replace = answer->get_future();
    QMetaObject::invokeMethod(
        this, [this, &job, path, answer] { answer->set_value(!cancel_ && job.confirmReplace(path)); },
        Qt::QueuedConnection);
    while (replace.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready)
      if (cancel_) return false;
    return replace.get();
  };
  settings_ = std::move(settings);
  thread_ = std::thread([this, &job, hooks = std::move(hooks)] {
    outcome_ = job.work(settings_, hooks);
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
