#pragma once
// A printer the program writes to itself, without a spooler: a network
// printer's raw port (TCP, 9100 by default) or a printer device such as
// /dev/usb/lp0. Every wait looks at the cancel flag and gives up when the
// printer takes nothing for the time allowed.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace pliego {

struct RawOutputLimits {
  // The longest the printer may take no byte (or not answer a connection).
  std::chrono::milliseconds noProgress = std::chrono::seconds(60);
  const std::atomic<bool>* cancel = nullptr;
};

class RawOutput {
 public:
  virtual ~RawOutput() = default;
  // Writes all of `bytes`.
  virtual std::error_code write(std::string_view bytes) = 0;
  // Waits until the printer has taken every byte written, then closes.
  virtual std::error_code finish() = 0;
};

// Connects to `host` (a name or an address) on `port`.
std::unique_ptr<RawOutput> connectToPrinter(const std::string& host, std::uint16_t port,
                                            const RawOutputLimits& limits, std::error_code& error);

// Opens the printer device at `path`; never creates a file. Anything but a
// character device is refused with PrinterError::NotADevice (on Linux).
std::unique_ptr<RawOutput> openPrinterDevice(const std::string& path, const RawOutputLimits& limits,
                                             std::error_code& error);

}  // namespace pliego
