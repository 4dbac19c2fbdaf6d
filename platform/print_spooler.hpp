#pragma once
// The operating system's print spooler: CUPS on Linux, the Windows spooler
// on Windows. Jobs are sent raw (the bytes as they are, no driver) and can
// be followed until the printer has printed them.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace pliego {

struct SpoolJob {
  std::string printer;
  int id = 0;
};

enum class SpoolState {
  Waiting,    // queued, or held
  Printing,   // being sent to the printer
  Completed,  // printed
  Cancelled,  // removed by someone
  Aborted,    // the spooler gave up on it
  Gone,       // the spooler no longer knows it
};

struct SpoolStatus {
  SpoolState state = SpoolState::Waiting;
  bool printerStopped = false;   // the queue is stopped: nothing prints until it is resumed
  // The spooler cannot reach the printer, it is off line, or the spooler
  // tells of a problem with it while the job waits.
  bool printerOffline = false;
  bool paperOut = false;
};

// A document on its way into the spooler.
class SpoolDocument {
 public:
  virtual ~SpoolDocument() = default;
  virtual const SpoolJob& job() const = 0;
  virtual std::error_code write(std::string_view bytes) = 0;
  // The last byte is written: the spooler may print the job.
  virtual std::error_code end() = 0;
};

class PrintSpooler {
 public:
  virtual ~PrintSpooler() = default;
  // The printers the user may print to, by name.
  virtual std::vector<std::string> printers(std::error_code& error) = 0;
  // Starts a raw job on `printer`, named `title` in its queue.
  virtual std::unique_ptr<SpoolDocument> begin(const std::string& printer, const std::string& title,
                                               std::error_code& error) = 0;
  // Removes the job from its queue.
  virtual std::error_code cancel(const SpoolJob& job) = 0;
  // What the spooler says of the job now; nothing when it cannot be asked.
  virtual std::optional<SpoolStatus> status(const SpoolJob& job) = 0;
};

// The system's spooler. `server` names another CUPS server ("host:port");
// empty for the system's own (Windows takes no server).
std::unique_ptr<PrintSpooler> systemSpooler(const std::string& server = {});

}  // namespace pliego
