#include <cups/cups.h>

#include <cstring>

#include "platform/print_spooler.hpp"
#include "platform/printer_error.hpp"

namespace pliego {

namespace {

constexpr int kConnectMs = 5000;

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

struct IppDelete {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Response = std::unique_ptr<ipp_t, IppDelete>;

std::error_code fromIpp(ipp_status_t status) {
  switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND: return PrinterError::NoSuchPrinter;
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS: return PrinterError::NotAccepting;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_INTERNAL: return PrinterError::NoSpooler;
    default: return PrinterError::SpoolerRefused;
  }
}

bool hasKeyword(ipp_t* response, const char* name, const char* word) {
  ipp_attribute_t* found = ippFindAttribute(response, name, IPP_TAG_KEYWORD);
  for (int i = 0; found && i < ippGetCount(found); ++i)
    if (const char* value = ippGetString(found, i, nullptr); value && std::strstr(value, word) == value) return true;
  return false;
}

SpoolState stateOf(int jobState) {
  switch (jobState) {
    case IPP_JSTATE_PROCESSING: return SpoolState::Printing;
    case IPP_JSTATE_COMPLETED: return SpoolState::Completed;
    case IPP_JSTATE_CANCELED: return SpoolState::Cancelled;
    case IPP_JSTATE_ABORTED: return SpoolState::Aborted;
    default: return SpoolState::Waiting;  // pending, held, stopped
  }
}

class CupsDocument : public SpoolDocument {
 public:
  CupsDocument(Connection http, SpoolJob job) : http_(std::move(http)), job_(std::move(job)) {}
  const SpoolJob& job() const override { return job_; }
  std::error_code write(std::string_view bytes) override {
    if (cupsWriteRequestData(http_.get(), bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE)
      return fromIpp(cupsLastError());
    return {};
  }
  std::error_code end() override {
    const ipp_status_t status = cupsFinishDocument(http_.get(), job_.printer.c_str());
    return status <= IPP_STATUS_OK_EVENTS_COMPLETE ? std::error_code() : fromIpp(status);
  }

 private:
  Connection http_;
  SpoolJob job_;
};

class CupsSpooler : public PrintSpooler {
 public:
  explicit CupsSpooler(std::string server) : server_(std::move(server)) {}

  std::vector<std::string> printers(std::error_code& error) override {
    std::vector<std::string> names;
    Connection http = connect(error);
    if (!http) return names;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http.get(), &dests);
    for (int i = 0; i < count; ++i)
      if (!dests[i].instance) names.emplace_back(dests[i].name);
    cupsFreeDests(count, dests);
    return names;
  }

  std::unique_ptr<SpoolDocument> begin(const std::string& printer, const std::string& title,
                                       std::error_code& error) override {
    Connection http = connect(error);
    if (!http) return nullptr;
    if ((error = accepting(http.get(), printer))) return nullptr;
    const int id = cupsCreateJob(http.get(), printer.c_str(), title.c_str(), 0, nullptr);
    if (id <= 0) {
      error = fromIpp(cupsLastError());
      return nullptr;
    }
    if (cupsStartDocument(http.get(), printer.c_str(), id, title.c_str(), CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE) {
      error = fromIpp(cupsLastError());
      cupsCancelJob2(http.get(), printer.c_str(), id, 1);
      return nullptr;
    }
    error.clear();
    return std::make_unique<CupsDocument>(std::move(http), SpoolJob{printer, id});
  }

  std::error_code cancel(const SpoolJob& job) override {
    std::error_code error;
    Connection http = connect(error);
    if (!http) return error;
    const ipp_status_t status = cupsCancelJob2(http.get(), job.printer.c_str(), job.id, 1);
    return status <= IPP_STATUS_OK_EVENTS_COMPLETE ? std::error_code() : fromIpp(status);
  }

  std::optional<SpoolStatus> status(const SpoolJob& job) override {
    std::error_code error;
    Connection http = connect(error);
    if (!http) return std::nullopt;
    SpoolStatus status;
    Response jobInfo = ask(http.get(), IPP_OP_GET_JOB_ATTRIBUTES, "job-uri", "/jobs/" + std::to_string(job.id));
    if (!jobInfo) return std::nullopt;
    if (ippGetStatusCode(jobInfo.get()) == IPP_STATUS_ERROR_NOT_FOUND) {
      status.state = SpoolState::Gone;
      return status;
    }
    ipp_attribute_t* state = ippFindAttribute(jobInfo.get(), "job-state", IPP_TAG_ENUM);
    if (!state) return std::nullopt;
    status.state = stateOf(ippGetInteger(state, 0));
    Response printer = ask(http.get(), IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", "/printers/" + job.printer);
    if (printer) {
      ipp_attribute_t* printerState = ippFindAttribute(printer.get(), "printer-state", IPP_TAG_ENUM);
      status.printerStopped = printerState && ippGetInteger(printerState, 0) == IPP_PSTATE_STOPPED;
      // A backend that cannot reach its printer says so only in words while
      // it tries again.
      ipp_attribute_t* message = ippFindAttribute(printer.get(), "printer-state-message", IPP_TAG_TEXT);
      const char* words = message ? ippGetString(message, 0, nullptr) : nullptr;
      const bool telling = printerState && ippGetInteger(printerState, 0) == IPP_PSTATE_PROCESSING && words && *words;
      status.printerOffline = telling || hasKeyword(printer.get(), "printer-state-reasons", "offline") ||
                              hasKeyword(printer.get(), "printer-state-reasons", "connecting-to-device");
      status.paperOut = hasKeyword(printer.get(), "printer-state-reasons", "media-empty") ||
                        hasKeyword(printer.get(), "printer-state-reasons", "media-needed");
    }
    return status;
  }

 private:
  // The server is a setting of libcups's own for each thread: it is set
  // again on the thread that asks.
  Connection connect(std::error_code& error) const {
    if (!server_.empty()) cupsSetServer(server_.c_str());
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectMs, nullptr);
    if (!http) error = PrinterError::NoSpooler;
    return Connection(http);
  }

  // The printer is known and takes jobs.
  static std::error_code accepting(http_t* http, const std::string& printer) {
    Response info = ask(http, IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", "/printers/" + printer);
    if (!info) return PrinterError::NoSpooler;
    if (ippGetStatusCode(info.get()) == IPP_STATUS_ERROR_NOT_FOUND) return PrinterError::NoSuchPrinter;
    ipp_attribute_t* takes = ippFindAttribute(info.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    if (takes && !ippGetBoolean(takes, 0)) return PrinterError::NotAccepting;
    return {};
  }

  static Response ask(http_t* http, ipp_op_t operation, const char* uriName, const std::string& resource) {
    ipp_t* request = ippNewRequest(operation);
    char uri[HTTP_MAX_URI];
    httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, resource.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return Response(cupsDoRequest(http, request, "/"));
  }

  std::string server_;
};

}  // namespace

std::unique_ptr<PrintSpooler> systemSpooler(const std::string& server) {
  return std::make_unique<CupsSpooler>(server);
}

}  // namespace pliego
