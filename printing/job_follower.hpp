#pragma once
// Follows the prints that have left their job: a spooled job until its
// printer has printed it or it failed. Writes each print's later line in the
// record of prints and keeps what the user is to be told, all on a thread of
// its own, so that a slow spooler or another workstation's lock on the
// record never holds the window.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/print_spooler.hpp"
#include "printing/destination.hpp"
#include "printing/print_record.hpp"

namespace pliego {

class JobFollower {
 public:
  JobFollower(PrintSpooler& spooler, std::string folder, std::chrono::milliseconds look = std::chrono::seconds(1));
  ~JobFollower();
  JobFollower(const JobFollower&) = delete;
  JobFollower& operator=(const JobFollower&) = delete;

  // Follows `job`, the print that `record` stands for.
  void follow(const SpoolJob& job, const Destination& destination, const PrintRecord& record);
  // Writes a later line of a print in the record.
  void writeLater(const PrintRecord& later);
  // What the user is to be told of followed prints since the last call,
  // oldest first. Does not wait.
  std::vector<std::string> takeMessages();
  // Waits at most `timeout` until every line asked for is written and no
  // print is followed any more. True when that is so.
  bool settled(std::chrono::milliseconds timeout);

 private:
  struct Followed {
    SpoolJob job;
    Destination destination;
    PrintRecord record;
    std::string lastProblem;  // told once, until it changes
    bool failedLater = false;
  };
  void run();
  void startIfIdle();
  bool look(Followed& followed);  // true when the print has ended
  void tell(const std::string& message);

  PrintSpooler& spooler_;
  std::string folder_;
  std::chrono::milliseconds look_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<PrintRecord> toWrite_;
  std::vector<Followed> followed_;
  std::vector<std::string> messages_;
  bool stopping_ = false;
  bool busy_ = false;
  std::thread thread_;
};

}  // namespace pliego
