#pragma once
// The faults of a printer reached by the program itself (a spooler's queue,
// a network printer, a device) that the system has no error number for.
// The platform layer reports them as std::error_code; the printing layer
// tells them in Spanish.
#include <system_error>

namespace pliego {

enum class PrinterError {
  HostNotFound = 1,  // the network printer's name has no address
  NotADevice,        // the path is not a character device
  NoProgress,        // the printer took no byte for the time allowed
  NoSpooler,         // the system's print spooler does not answer
  NoSuchPrinter,     // the spooler has no printer of that name
  NotAccepting,      // the printer's queue does not take jobs now
  SpoolerRefused,    // the spooler refused the job for another reason
  NoRawDatatype,     // the printer's print processor takes no raw data
  Cancelled,         // the user stopped the job
};

const std::error_category& printerErrorCategory();

inline std::error_code make_error_code(PrinterError error) {
  return {static_cast<int>(error), printerErrorCategory()};
}

}  // namespace pliego

template <>
struct std::is_error_code_enum<pliego::PrinterError> : std::true_type {};
