// Paginates a generated report of about 100 MB (a VAT book and a ledger) and
// prints how long the print job took and how much memory the process peaked at.
// Usage: bench_print_job [megabytes]
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/files.hpp"
#include "printing/print_job.hpp"

using namespace pliego;

namespace {

struct BenchView : PrintView {
  std::string report;
  std::string selectedReport() const override { return report; }
  std::string linesPerPage() const override { return "72"; }
  std::string headerLines() const override { return "6"; }
  std::string linesBetweenPages() const override { return "3"; }
  std::string portNumber() const override { return "1"; }
  CheckState pageNumberBox() const override { return CheckState::Checked; }
  CheckState previewBox() const override { return CheckState::Checked; }
  CheckState vatTotalsBox() const override { return CheckState::Unchecked; }
  std::string statusCaption() const override { return ""; }
  void showStatusCaption(const std::string&) override {}
  void moveFocus(FocusTarget) override {}
};

struct QuietDialogs : Dialogs {
  std::string last;
  void inform(const std::string& text) override { last = text; }
  bool confirm(const std::string&) override { return false; }
  std::string ask(const std::string&, const std::string&, const std::string&) override { return ""; }
};

struct NoLauncher : ProgramLauncher {
  std::string start(const Command&) override { return ""; }
  std::string startTracked(const Command&) override { return ""; }
  bool waitForTracked(std::chrono::milliseconds) override { return true; }
};

// Writes lines of about 130 bytes; every 40th line closes a ledger account.
void makeReport(const std::filesystem::path& path, std::size_t megabytes) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  const std::string body = " 01/03/2026  FACTURA A 0001-000123  PROVEEDOR S.R.L.       CUIT 30-12345678-9   "
                           "1.234.567,89   21,00   259.259,26\r\n";
  std::size_t written = 0;
  for (std::size_t i = 0; written < megabytes << 20; ++i) {
    const std::string line = (i % 40 == 39) ? "   SALDO FINAL:  12.345,67\r\n" : std::to_string(i) + body;
    std::fwrite(line.data(), 1, line.size(), file);
    written += line.size();
  }
  std::fclose(file);
}

double timeJob(PrintJob& job) {
  const auto start = std::chrono::steady_clock::now();
  job.cmdImprimir_Click();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  pliego::ignoreFileSizeLimitSignal();
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const auto folder = std::filesystem::temp_directory_path() / "pliego-bench";
  std::filesystem::create_directories(folder);
  BenchView view;
  QuietDialogs dialogs;
  NoLauncher launcher;
  PrintJob job{view, dialogs, launcher, folder.string(), NumberFormat{}};
  for (const char* name : {"IVAVENTAS.TXT", "MAYOR.TXT"}) {
    makeReport(folder / name, megabytes);
    view.report = name;
    const double seconds = timeJob(job);
    std::printf("%-14s %4zu MB  %6.3f s  %7.1f MB/s  (%s)\n", name, megabytes, seconds, megabytes / seconds,
                dialogs.last.c_str());
  }
#ifndef _WIN32
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
#endif
  std::filesystem::remove_all(folder);
}
