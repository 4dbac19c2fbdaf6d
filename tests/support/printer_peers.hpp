#pragma once
// The far ends of a print, for tests on Linux: a printer listening on a
// loopback port, and a CUPS server of the test's own with raw queues.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pliego::testing {

// A network printer on 127.0.0.1: it reads everything it is sent, or
// accepts and never reads.
class LoopbackPrinter {
 public:
  enum class Mode { ReadsAll, NeverReads };
  explicit LoopbackPrinter(Mode mode = Mode::ReadsAll);
  ~LoopbackPrinter();
  LoopbackPrinter(const LoopbackPrinter&) = delete;
  LoopbackPrinter& operator=(const LoopbackPrinter&) = delete;

  std::uint16_t port() const { return port_; }
  // The bytes of every connection so far, once each has closed; waits at
  // most `timeout` for `connections` of them.
  std::string received(int connections = 1, std::chrono::milliseconds timeout = std::chrono::seconds(30));
  int connections() const { return accepted_; }

  // A loopback port on which nothing listens: connections are refused.
  static std::uint16_t refusingPort();

 private:
  void serve();
  Mode mode_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0}, closed_{0};
  std::mutex mutex_;
  std::string bytes_;
  std::vector<int> held_;
  std::thread thread_;
};

// cupsd with a configuration of its own in a temporary folder, listening on
// a loopback port; stopped and removed with the object. Needs root (cupsd
// runs its jobs as the lp user).
class CupsServer {
 public:
  CupsServer();
  ~CupsServer();
  CupsServer(const CupsServer&) = delete;
  CupsServer& operator=(const CupsServer&) = delete;

  bool running() const { return pid_ > 0; }
  std::string address() const;  // "127.0.0.1:PORT"
  // A raw queue whose device is `uri` (socket://127.0.0.1:PORT).
  bool addRawQueue(const std::string& name, const std::string& uri) const;
  // Runs a CUPS command (cupsdisable, lpstat ...) against this server;
  // returns its standard output, or nothing when it failed.
  std::string run(const std::string& command) const;
  // The jobs of `queue` not yet done, as lpstat -o tells them.
  std::string pendingJobs(const std::string& queue) const;

 private:
  std::string folder_;
  std::uint16_t port_ = 0;
  int pid_ = -1;
};

}  // namespace pliego::testing
