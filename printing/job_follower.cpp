#include "printing/job_follower.hpp"

#include <utility>

#include "common/text.hpp"
#include "printing/printer_send.hpp"

namespace pliego {

namespace {

std::string whose(const PrintRecord& record, const Destination& destination) {
  return "La impresion de " + record.report + " enviada a " + destinationInWords(destination);
}

}  // namespace

JobFollower::JobFollower(PrintSpooler& spooler, std::string folder, std::chrono::milliseconds look)
    : spooler_(spooler), folder_(std::move(folder)), look_(look) {}

JobFollower::~JobFollower() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void JobFollower::startIfIdle() {
  if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
}

void JobFollower::follow(const SpoolJob& job, const Destination& destination, const PrintRecord& record) {
  {
    const std::lock_guard lock(mutex_);
    followed_.push_back({job, destination, record, {}, false});
    startIfIdle();
  }
  changed_.notify_all();
}

void JobFollower::writeLater(const PrintRecord& later) {
  {
    const std::lock_guard lock(mutex_);
    toWrite_.push_back(later);
    startIfIdle();
  }
  changed_.notify_all();
}

std::vector<std::string> JobFollower::takeMessages() {
  const std::lock_guard lock(mutex_);
  return std::exchange(messages_, {});
}

bool JobFollower::settled(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return toWrite_.empty() && followed_.empty() && !busy_; });
}

void JobFollower::tell(const std::string& message) {
  const std::lock_guard lock(mutex_);
  messages_.push_back(message);
}

// A print the spooler has done with gets its later line; a problem on the
// way is told once.
bool JobFollower::look(Followed& followed) {
  const auto status = spooler_.status(followed.job);
  if (!status) return false;
  const std::string who = whose(followed.record, followed.destination);
  switch (status->state) {
    case SpoolState::Completed:
    case SpoolState::Gone:
      writeLater(laterRecord(followed.record, RecordOutcome::Printed));
      if (followed.failedLater) tell(who + " termino de imprimirse.");
      return true;
    case SpoolState::Cancelled:
    case SpoolState::Aborted: {
      const std::string reason = status->state == SpoolState::Cancelled
                                     ? "el trabajo fue cancelado en la cola de impresion"
                                     : "el sistema de impresion abandono el trabajo";
      writeLater(laterRecord(followed.record, RecordOutcome::FailedLater, reason));
      tell(who + " no se imprimio: " + reason + ". Puede que no se haya impreso todo." +
           printerAdvice(followed.destination));
      return true;
    }
    case SpoolState::Waiting:
    case SpoolState::Printing: break;
  }
  if (status->printerStopped && !followed.failedLater) {
    followed.failedLater = true;
    writeLater(laterRecord(followed.record, RecordOutcome::FailedLater, "la impresora se detuvo en el sistema"));
    tell(who + " se detuvo: la impresora esta detenida en el sistema. El trabajo sigue en la cola y se imprimira "
               "cuando la impresora se reanude." + printerAdvice(followed.destination));
    return false;
  }
  const std::string problem = spoolProblem(*status, followed.destination);
  if (!problem.empty() && problem != followed.lastProblem) tell(who + ". " + problem);
  followed.lastProblem = problem;
  return false;
}

void JobFollower::run() {
  std::unique_lock lock(mutex_);
  // Lines asked for are written even when the window closes.
  while (!stopping_ || !toWrite_.empty()) {
    if (!toWrite_.empty()) {
      const PrintRecord later = toWrite_.front();
      busy_ = true;
      lock.unlock();
      appendRecord(folder_, later);
      lock.lock();
      toWrite_.pop_front();
      busy_ = false;
      changed_.notify_all();
      continue;
    }
    if (!followed_.empty() && !stopping_) {
      auto looking = std::exchange(followed_, {});
      busy_ = true;
      lock.unlock();
      std::vector<Followed> left;
      for (Followed& followed : looking)
        if (!look(followed)) left.push_back(std::move(followed));
      lock.lock();
      followed_.insert(followed_.begin(), left.begin(), left.end());
      busy_ = false;
      changed_.notify_all();
      if (!toWrite_.empty()) continue;
    }
    if (!stopping_) changed_.wait_for(lock, look_, [this] { return stopping_ || !toWrite_.empty(); });
  }
}

}  // namespace pliego
