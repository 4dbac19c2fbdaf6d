#pragma once
// The work file sent by the program itself to a destination other than the
// print script: a printer of the system (through its spooler), a network
// printer or a device. The bytes go as they are.
#include <chrono>
#include <optional>
#include <string>
#include <system_error>

#include "platform/print_spooler.hpp"
#include "printing/charset.hpp"
#include "printing/destination.hpp"
#include "printing/pagination.hpp"

namespace pliego {

struct SendLimits {
  // The longest a printer may take no byte before the job is given up.
  std::chrono::milliseconds noProgress = std::chrono::seconds(60);
  // How long a spooled job is watched before the job tells its end.
  std::chrono::milliseconds firstLook = std::chrono::seconds(2);
  // Between looks at a spooled job.
  std::chrono::milliseconds lookStep = std::chrono::milliseconds(200);
};

// What the printer's set-up adds to the work file on its way: bytes before
// and after it, and the character table's conversion of its bytes. The work
// file itself is left as it is.
struct PrinterFraming {
  std::string before, after;
  std::optional<PrinterCharset> charset;
  bool changesBytes() const { return !before.empty() || !after.empty() || charset; }
};

// The work file at `workPath` as the printer is to receive it, written as
// "WRITE.TXT" in a folder of this run's own; returns that folder, where the
// print script then runs unchanged. Throws JobError when it cannot be made.
std::string framedCopy(const std::string& workPath, PrinterFraming& framing);
// `bytes` written the same way; returns the folder.
std::string printerCopy(std::string_view bytes);

// How the send ended, for a job that did not fail.
struct Sent {
  std::optional<SpoolJob> spooled;  // the spooler's job, to follow until it prints
  // Not empty when the job waits at the printer: what the user is told
  // instead of the final message.
  std::string warning;
};

// Sends the file at `workPath` to `destination`, the job named `title` in a
// spooler's queue. Tells `hooks.sending` the percentage sent; stops when the
// job is cancelled (a spooled job is then removed from its queue). Throws
// JobError with what the user is told.
Sent sendToPrinter(const Destination& destination, const std::string& workPath, const std::string& title,
                   PrintSpooler& spooler, const JobHooks& hooks, const SendLimits& limits = {},
                   PrinterFraming framing = {});

// A printer's fault in words, to complete "No se pudo imprimir en ...: ".
std::string printerFaultText(const std::error_code& error);

// What to check, for the destination's kind.
std::string printerAdvice(const Destination& destination);

// What the user is told of a spooled job whose status shows a problem; ""
// when there is none to tell.
std::string spoolProblem(const SpoolStatus& status, const Destination& destination);

}  // namespace pliego
