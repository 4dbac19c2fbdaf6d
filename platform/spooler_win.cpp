#include <windows.h>
#include <winspool.h>

#include <vector>

#include "platform/last_error_win.hpp"
#include "platform/print_spooler.hpp"
#include "platform/printer_error.hpp"

namespace pliego {

namespace {

// An open printer handle, closed with the object.
class Printer {
 public:
  explicit Printer(const std::string& name) {
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &handle_, nullptr)) handle_ = nullptr;
  }
  ~Printer() {
    if (handle_) ClosePrinter(handle_);
  }
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

// Level-n information from a Get/Enum call that first asks for its size.
template <typename Call>
std::vector<BYTE> sized(Call call) {
  DWORD needed = 0;
  call(nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!call(buffer.data(), needed, &needed)) buffer.clear();
  return buffer;
}

// The datatype that passes bytes through unchanged, among those the
// printer's print processor offers: "RAW", or "XPS_PASS" on XPS drivers.
std::string rawDatatype(HANDLE printer) {
  const auto info = sized([&](BYTE* b, DWORD s, DWORD* n) { return GetPrinterA(printer, 2, b, s, n); });
  if (info.empty()) return {};
  const auto* details = reinterpret_cast<const PRINTER_INFO_2A*>(info.data());
  DWORD count = 0;
  const auto types = sized([&](BYTE* b, DWORD s, DWORD* n) {
    return EnumPrintProcessorDatatypesA(nullptr, details->pPrintProcessor, 1, b, s, n, &count);
  });
  const auto* list = reinterpret_cast<const DATATYPES_INFO_1A*>(types.data());
  std::string chosen;
  for (DWORD i = 0; !types.empty() && i < count; ++i) {
    const std::string name = list[i].pName ? list[i].pName : "";
    if (_stricmp(name.c_str(), "RAW") == 0) return name;
    if (_stricmp(name.c_str(), "XPS_PASS") == 0) chosen = name;
  }
  return chosen;
}

class WindowsDocument : public SpoolDocument {
 public:
  WindowsDocument(std::unique_ptr<Printer> printer, SpoolJob job) : printer_(std::move(printer)), job_(std::move(job)) {}
  ~WindowsDocument() override {
    if (!ended_) {
      SetJobA(printer_->get(), static_cast<DWORD>(job_.id), 0, nullptr, JOB_CONTROL_DELETE);
      EndDocPrinter(printer_->get());
    }
  }
  WindowsDocument(const WindowsDocument&) = delete;
  WindowsDocument& operator=(const WindowsDocument&) = delete;

  const SpoolJob& job() const override { return job_; }
  std::error_code write(std::string_view bytes) override {
    while (!bytes.empty()) {
      DWORD put = 0;
      const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 16));
      if (!WritePrinter(printer_->get(), const_cast<char*>(bytes.data()), size, &put)) return lastWindowsError();
      if (put == 0) return PrinterError::NoProgress;
      bytes.remove_prefix(put);
    }
    return {};
  }
  std::error_code end() override {
    ended_ = true;
    EndPagePrinter(printer_->get());
    return EndDocPrinter(printer_->get()) ? std::error_code() : lastWindowsError();
  }

 private:
  std::unique_ptr<Printer> printer_;
  SpoolJob job_;
  bool ended_ = false;
};

class WindowsSpooler : public PrintSpooler {
 public:
  std::vector<std::string> printers(std::error_code& error) override {
    DWORD count = 0;
    const auto info = sized([&](BYTE* b, DWORD s, DWORD* n) {
      return EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, b, s, n, &count);
    });
    std::vector<std::string> names;
    const auto* list = reinterpret_cast<const PRINTER_INFO_4A*>(info.data());
    for (DWORD i = 0; !info.empty() && i < count; ++i)
      if (list[i].pPrinterName) names.emplace_back(list[i].pPrinterName);
    error.clear();
    return names;
  }

  std::unique_ptr<SpoolDocument> begin(const std::string& name, const std::string& title,
                                       std::error_code& error) override {
    auto printer = std::make_unique<Printer>(name);
    if (!printer->get()) {
      error = GetLastError() == ERROR_INVALID_PRINTER_NAME ? std::error_code(PrinterError::NoSuchPrinter) : lastWindowsError();
      return nullptr;
    }
    std::string datatype = rawDatatype(printer->get());
    if (datatype.empty()) {
      error = PrinterError::NoRawDatatype;
      return nullptr;
    }
    DOC_INFO_1A document{const_cast<char*>(title.c_str()), nullptr, datatype.data()};
    const DWORD id = StartDocPrinterA(printer->get(), 1, reinterpret_cast<BYTE*>(&document));
    if (id == 0) {
      error = lastWindowsError();
      return nullptr;
    }
    StartPagePrinter(printer->get());
    error.clear();
    return std::make_unique<WindowsDocument>(std::move(printer), SpoolJob{name, static_cast<int>(id)});
  }

  std::error_code cancel(const SpoolJob& job) override {
    Printer printer(job.printer);
    if (!printer.get()) return lastWindowsError();
    return SetJobA(printer.get(), static_cast<DWORD>(job.id), 0, nullptr, JOB_CONTROL_DELETE) ? std::error_code()
                                                                                               : lastWindowsError();
  }

  std::optional<SpoolStatus> status(const SpoolJob& job) override {
    Printer printer(job.printer);
    if (!printer.get()) return std::nullopt;
    const auto info = sized([&](BYTE* b, DWORD s, DWORD* n) {
      return GetJobA(printer.get(), static_cast<DWORD>(job.id), 1, b, s, n);
    });
    SpoolStatus status;
    if (info.empty()) {
      status.state = SpoolState::Gone;  // printed jobs leave the queue
      return status;
    }
    const DWORD flags = reinterpret_cast<const JOB_INFO_1A*>(info.data())->Status;
    if (flags & (JOB_STATUS_DELETED | JOB_STATUS_DELETING)) status.state = SpoolState::Cancelled;
    else if (flags & (JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE)) status.state = SpoolState::Completed;
    else if (flags & JOB_STATUS_PRINTING) status.state = SpoolState::Printing;
    status.printerOffline = flags & (JOB_STATUS_OFFLINE | JOB_STATUS_ERROR);
    status.paperOut = flags & JOB_STATUS_PAPEROUT;
    status.printerStopped = flags & (JOB_STATUS_PAUSED | JOB_STATUS_BLOCKED_DEVQ);
    return status;
  }
};

}  // namespace

std::unique_ptr<PrintSpooler> systemSpooler(const std::string&) { return std::make_unique<WindowsSpooler>(); }

}  // namespace pliego
