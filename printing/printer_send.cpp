#include "printing/printer_send.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "common/system_error_text.hpp"
#include "platform/files.hpp"
#include "platform/printer_error.hpp"
#include "platform/raw_output.hpp"
#include "platform/system_names.hpp"
#include "printing/job_error.hpp"
#include "printing/print_work.hpp"

namespace pliego {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

// Where the bytes go: a spooled document or a raw output.
struct Sink {
  std::unique_ptr<SpoolDocument> document;
  std::unique_ptr<RawOutput> raw;
  std::error_code write(std::string_view bytes) { return document ? document->write(bytes) : raw->write(bytes); }
  std::error_code end() { return document ? document->end() : raw->finish(); }
};

const char* networkText(int value) {
  switch (networkFault(value)) {
    case NetworkFault::Refused: return "la impresora rechazo la conexion";
    case NetworkFault::Unreachable: return "no se llega a la impresora por la red";
    case NetworkFault::TimedOut: return "la impresora no respondio a tiempo";
    case NetworkFault::Cut: return "la impresora corto la conexion";
    case NetworkFault::Other: break;
  }
  return nullptr;
}

std::string cancelledText(const Destination& destination, bool started) {
  if (!started || destination.kind == DestinationKind::SystemPrinter)
    return kJobCancelled;
  return "Se cancelo la impresion. La impresora pudo haber recibido parte del listado: retire el papel impreso "
         "antes de imprimir otra vez.";
}

[[noreturn]] void fail(const std::error_code& error, const Destination& destination, bool started) {
  if (error == PrinterError::Cancelled) throw JobCancelled(cancelledText(destination, started));
  std::string text = "No se pudo imprimir en " + destinationInWords(destination) + ": " + printerFaultText(error) + ".";
  text += started ? " Puede que la impresora haya recibido parte del listado." : " No se envio nada a la impresora.";
  throw JobError(text + printerAdvice(destination));
}

Sink openSink(const Destination& destination, const std::string& title, PrintSpooler& spooler,
              const JobHooks& hooks, const SendLimits& limits) {
  const RawOutputLimits raw{limits.noProgress, hooks.cancel};
  std::error_code error;
  Sink sink;
  switch (destination.kind) {
    case DestinationKind::SystemPrinter: sink.document = spooler.begin(destination.name, title, error); break;
    case DestinationKind::Network: sink.raw = connectToPrinter(destination.name, destination.port, raw, error); break;
    case DestinationKind::Device: sink.raw = openPrinterDevice(destination.name, raw, error); break;
    case DestinationKind::Script:
    case DestinationKind::Pdf: break;
  }
  if (!sink.document && !sink.raw) fail(error ? error : std::error_code(PrinterError::SpoolerRefused), destination, false);
  return sink;
}

// A spooled document that will not be whole leaves its queue.
void withdraw(Sink& sink, PrintSpooler& spooler) {
  if (!sink.document) return;
  const SpoolJob job = sink.document->job();
  sink.document.reset();
  spooler.cancel(job);
}

// Copies the file into the sink; the percentage goes to the hook.
void copyInto(Sink& sink, const std::string& workPath, const Destination& destination, const JobHooks& hooks,
              PrinterFraming& framing) {
  std::FILE* file = openFile(workPath, "rb");
  if (!file)
    throw JobError("No se pudo abrir el archivo de trabajo " + workPath + ": " + systemErrorText(errno) +
                   ". No se envio nada a la impresora.");
  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(nativePath(workPath), sizeError);
  std::vector<char> block(kBlock);
  std::uintmax_t done = 0;
  int told = -1;
  if (const auto error = framing.before.empty() ? std::error_code() : sink.write(framing.before)) {
    std::fclose(file);
    fail(error, destination, false);
  }
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file);
    if (got == 0) break;
    if (framing.charset) framing.charset->convertInPlace(block.data(), got);
    const auto error = cancelled(hooks) ? std::error_code(PrinterError::Cancelled)
                                        : sink.write(std::string_view(block.data(), got));
    if (error) {
      std::fclose(file);
      fail(error, destination, true);
    }
    done += got;
    const int percent = size > 0 && done < size ? static_cast<int>(done * 100 / size) : 100;
    if (percent != told && hooks.sending) hooks.sending(told = percent);
  }
  const bool readFailed = std::ferror(file) != 0;
  std::fclose(file);
  if (readFailed)
    throw JobError("No se pudo leer el archivo de trabajo " + workPath + ". La impresion quedo incompleta.");
  if (const auto error = framing.after.empty() ? std::error_code() : sink.write(framing.after))
    fail(error, destination, true);
}

// A spooled job is looked at for its first seconds: a stopped queue or a
// job the spooler gave up is told at once.
std::string watchSpooled(const SpoolJob& job, const Destination& destination, PrintSpooler& spooler,
                         const JobHooks& hooks, const SendLimits& limits) {
  const auto deadline = std::chrono::steady_clock::now() + limits.firstLook;
  std::string problem;
  for (;;) {
    if (cancelled(hooks)) {
      spooler.cancel(job);
      throw JobCancelled(kJobCancelled);
    }
    const auto status = spooler.status(job);
    if (status && (status->state == SpoolState::Cancelled || status->state == SpoolState::Aborted))
      throw JobError("No se pudo imprimir en " + destinationInWords(destination) + ": " +
                     (status->state == SpoolState::Cancelled ? "el trabajo fue cancelado en la cola de impresion"
                                                             : "el sistema de impresion abandono el trabajo") +
                     "." + printerAdvice(destination));
    if (status && status->printerStopped) {
      spooler.cancel(job);
      throw JobError("No se pudo imprimir: " + destinationInWords(destination) +
                     " esta detenida en el sistema y no imprime nada. Se quito el trabajo de la cola, asi que no "
                     "saldra despues por sorpresa." + printerAdvice(destination));
    }
    if (status && status->state == SpoolState::Completed) return {};
    problem = status ? spoolProblem(*status, destination) : std::string();
    if (std::chrono::steady_clock::now() >= deadline) return problem;
    std::this_thread::sleep_for(limits.lookStep);
  }
}

}  // namespace

namespace {

// "WRITE.TXT" in a folder of this run's own, opened to be written; the
// folder is returned in `folder`.
std::FILE* openPrinterCopy(std::string& folder, std::string& path) {
  const auto refuse = [&](const std::error_code& error) {
    return JobError("No se pudo preparar la copia para la impresora en " + (path.empty() ? folder : path) + ": " +
                    systemErrorText(error) + ". No se envio nada a la impresora.");
  };
  std::string temp;
  std::error_code error = privateTempFolder(temp);
  if (!error) {
    folder = joinPath(temp, "impresora");
    std::filesystem::create_directories(nativePath(folder), error);
  }
  if (error) throw refuse(error);
  path = joinPath(folder, "WRITE.TXT");
  std::FILE* out = openFile(path, "wb");
  if (!out) throw refuse({errno, std::generic_category()});
  return out;
}

JobError copyFailed(const std::string& path, int error) {
  return JobError("No se pudo preparar la copia para la impresora en " + path + ": " +
                  systemErrorText(error ? error : EIO) + ". No se envio nada a la impresora.");
}

}  // namespace

std::string framedCopy(const std::string& workPath, PrinterFraming& framing) {
  std::FILE* in = openFile(workPath, "rb");
  if (!in) throw copyFailed(workPath, errno);
  std::string folder, path;
  std::FILE* out = nullptr;
  try {
    out = openPrinterCopy(folder, path);
  } catch (...) {
    std::fclose(in);
    throw;
  }
  std::vector<char> block(kBlock);
  bool written = std::fwrite(framing.before.data(), 1, framing.before.size(), out) == framing.before.size();
  while (written) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), in);
    if (got == 0) break;
    if (framing.charset) framing.charset->convertInPlace(block.data(), got);
    written = std::fwrite(block.data(), 1, got, out) == got;
  }
  written = written && !std::ferror(in) &&
            std::fwrite(framing.after.data(), 1, framing.after.size(), out) == framing.after.size();
  const int error = errno;
  std::fclose(in);
  if (std::fclose(out) != 0 || !written) throw copyFailed(path, error);
  return folder;
}

std::string printerCopy(std::string_view bytes) {
  std::string folder, path;
  std::FILE* out = openPrinterCopy(folder, path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  const int error = errno;
  if (std::fclose(out) != 0 || !written) throw copyFailed(path, error);
  return folder;
}

std::string printerFaultText(const std::error_code& error) {
  if (error.category() == printerErrorCategory()) {
    switch (static_cast<PrinterError>(error.value())) {
      case PrinterError::HostNotFound: return "no se encontro ese equipo en la red";
      case PrinterError::NotADevice: return "esa ruta no es un dispositivo de impresora";
      case PrinterError::NoProgress: return "la impresora dejo de recibir datos y no respondio a tiempo";
      case PrinterError::NoSpooler: return "el sistema de impresion no responde";
      case PrinterError::NoSuchPrinter: return "el sistema no tiene una impresora con ese nombre";
      case PrinterError::NotAccepting: return "la impresora no acepta trabajos en este momento";
      case PrinterError::SpoolerRefused: return "el sistema de impresion rechazo el trabajo";
      case PrinterError::NoRawDatatype: return "la impresora no acepta datos sin convertir (RAW)";
      case PrinterError::Cancelled: return "se cancelo la impresion";
    }
  }
  if (const char* network = networkText(error.value())) return network;
  return systemErrorText(error);
}

std::string printerAdvice(const Destination& destination) {
  switch (destination.kind) {
    case DestinationKind::SystemPrinter:
      return "\n\nVerifique que la impresora este encendida y conectada, que su cola no este detenida y que el "
             "nombre del destino de la impresora sea el de la cola del sistema.";
    case DestinationKind::Network:
      return "\n\nVerifique que la impresora este encendida y conectada a la red, y el nombre o la direccion y el "
             "puerto del destino de la impresora (casi siempre 9100).";
    case DestinationKind::Device:
      return "\n\nVerifique que la impresora este encendida y conectada, que la ruta del dispositivo sea la correcta "
             "y que su usuario tenga permiso para escribir en el (en Linux, el grupo lp).";
    case DestinationKind::Script:
    case DestinationKind::Pdf: break;
  }
  return {};
}

std::string spoolProblem(const SpoolStatus& status, const Destination& destination) {
  const std::string who = destinationInWords(destination);
  if (status.paperOut) return "A " + who + " le falta papel: el trabajo espera en la cola hasta que se cargue.";
  if (status.printerOffline)
    return "El sistema no logra comunicarse con " + who + " o la impresora no responde: el trabajo espera en la "
           "cola y se imprimira cuando la impresora responda. Verifique que este encendida y conectada, o cancele el "
           "trabajo en la cola de impresion del sistema.";
  return {};
}

Sent sendToPrinter(const Destination& destination, const std::string& workPath, const std::string& title,
                   PrintSpooler& spooler, const JobHooks& hooks, const SendLimits& limits,
                   PrinterFraming framing) {
  Sink sink = openSink(destination, title, spooler, hooks, limits);
  try {
    copyInto(sink, workPath, destination, hooks, framing);
  } catch (...) {
    withdraw(sink, spooler);
    throw;
  }
  if (const auto error = sink.end()) {
    withdraw(sink, spooler);
    fail(error, destination, true);
  }
  Sent sent;
  if (!sink.document) return sent;
  sent.spooled = sink.document->job();
  sent.warning = watchSpooled(*sent.spooled, destination, spooler, hooks, limits);
  return sent;
}

}  // namespace pliego
