// Compares the print job with `cat`, `pr -l 66` and `dd` on generated reports: a
// VAT book with its totals cut and kept, a plain report and a ledger, sent to
// the printer (the print script is not run); the VAT book and the ledger
// shown on screen, which also writes the preview's private copy; and the
// VAT book and the ledger with the check before printing ahead of the job. Every
// round runs every case once, in turn, each in a process of its own; the
// figures are medians over the rounds, with ratios to `cat` and to `pr`, and
// the peak resident memory of each case.
// Usage: bench_print_job [--rounds N] [megabytes ...]   (default: 10 100)
#ifdef _WIN32
#include <cstdio>
int main() { std::puts("The benchmark runs on Linux (it needs fork and wait4)."); }
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "printing/print_job.hpp"
#include "printing/report_check.hpp"
#include "support/run_job.hpp"

using namespace pliego;
namespace fs = std::filesystem;

namespace {

struct BenchView : PrintView {
  std::string report;
  CheckState totals = CheckState::Unchecked;
  CheckState preview = CheckState::Unchecked;
  std::string selectedReport() const override { return report; }
  std::string linesPerPage() const override { return "66"; }
  std::string headerLines() const override { return "6"; }
  std::string linesBetweenPages() const override { return "3"; }
  std::string portNumber() const override { return "1"; }
  CheckState pageNumberBox() const override { return CheckState::Checked; }
  CheckState previewBox() const override { return preview; }
  CheckState vatTotalsBox() const override { return totals; }
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
  std::error_code start(const Command&) override { return {}; }
  std::error_code startTracked(const Command&) override { return {}; }
  bool waitForTracked(std::chrono::milliseconds) override { return true; }
  std::optional<Ending> waitForLastStarted(std::chrono::milliseconds) override { return Ending{}; }
  std::vector<Ending> takeEndings() override { return {}; }
};

// A small fixed generator, so that every run writes the same reports.
struct Random {
  std::uint64_t state = 88172645463325252ull;
  unsigned next(unsigned below) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    return static_cast<unsigned>(state % below);
  }
};

class ReportMaker {
 public:
  ReportMaker(const fs::path& path, std::size_t bytes) : file_(std::fopen(path.c_str(), "wb")), bytes_(bytes) {}
  ~ReportMaker() { std::fclose(file_); }
  bool full() const { return written_ >= bytes_; }

  void line(std::string text) {
    text += "\r\n";
    std::fwrite(text.data(), 1, text.size(), file_);
    written_ += text.size();
  }
  // The block that the accounting program prints at the top of its pages.
  void pageHeader(const char* title, int page) {
    line("EMPRESA DEMO S.A.                      " + std::string(title) + "          HOJA " + std::to_string(page));
    line("C.U.I.T. 30-12345678-9   PERIODO 03/2026");
    line(" ");
    line("FECHA      COMPROBANTE          RAZON SOCIAL                   C.U.I.T.          NETO GRAVADO     I.V.A.");
    line(std::string(120, '-'));
    line(" ");
  }
  // A movement line of 80 to 190 columns.
  void movement(Random& random, int number) {
    char start[96];
    std::snprintf(start, sizeof start, "%02u/03/2026 FC A 0001-%08d PROVEEDOR %05u S.R.L.       30-%08u-%u ",
                  1 + random.next(28), number, random.next(99999), random.next(99999999), random.next(10));
    std::string text = start;
    const std::size_t width = 80 + random.next(111);
    while (text.size() + 14 < width) text += "  " + std::to_string(random.next(9999999)) + ",00";
    text.resize(width - 14, ' ');
    char amount[16];
    std::snprintf(amount, sizeof amount, "%11u,%02u", random.next(99999999), random.next(100));
    line(text + amount);
  }

 private:
  std::FILE* file_;
  std::size_t bytes_;
  std::size_t written_ = 0;
};

// A VAT book or a plain report: pages of 66 lines, then the totals section.
void makeBook(const fs::path& path, std::size_t bytes, const char* title) {
  ReportMaker out(path, bytes);
  Random random;
  int number = 0;
  for (int page = 1; !out.full(); ++page) {
    out.pageHeader(title, page);
    for (int i = 0; i < 58; ++i) out.movement(random, ++number);
  }
  out.line(" ");
  out.line("   Tasas de I.V.A.:      21,00 %        10,50 %        27,00 %");
  for (int i = 0; i < 30; ++i) out.line("   Total gravado tasa " + std::to_string(i) + "   1.234.567,89   259.259,26");
}

// A ledger: accounts of 5 to 80 movements, each ending in its closing balance.
void makeLedger(const fs::path& path, std::size_t bytes) {
  ReportMaker out(path, bytes);
  Random random;
  out.pageHeader("MAYOR GENERAL", 1);
  for (int account = 1, number = 0; !out.full(); ++account) {
    out.line("CUENTA " + std::to_string(account) + "  DEUDORES POR VENTAS          SALDO INICIAL:   1.000,00");
    for (unsigned i = 5 + random.next(76); i > 0; --i) out.movement(random, ++number);
    out.line("                                              SALDO FINAL:     " + std::to_string(random.next(99999)) +
             ",00");
  }
}

struct Case {
  const char* name;
  std::vector<std::string> command;  // an outside program; empty: the print job
  const char* report;
  CheckState totals;
  CheckState preview = CheckState::Unchecked;  // checked: the work file and the preview's copy
  double target = 0;                           // the most "x cat" allowed; 0: none
  bool check = false;                          // the check before printing runs first
};

// The targets of the print job: the VAT book and the plain report at most
// 1.4 times `cat`, the ledger at most 2.5 times, under 16 MB of memory.
constexpr double kBookTarget = 1.4;
constexpr double kLedgerTarget = 2.5;
constexpr double kMemoryTarget = 16;

struct Sample {
  double seconds;
  double cpuSeconds;  // user and system time together
  double peakMegabytes;
};

// The check on a wide Epson at 17.1 characters an inch, as the window runs it.
void runCheck(const fs::path& folder, const Case& c) {
  const PageRules rules =
      makePageRules(c.report, "66", "6", "3", CheckState::Checked, c.totals, NumberFormat{});
  PrinterSetup setup;
  setup.commands = CommandSet::EscP;
  setup.pitch = Pitch::Cpi17;
  setup.carriageColumns = 136;
  setup.table = CharTable::Pc850;
  LineReader report((folder / c.report).string());
  const ReportCheck found = checkReport(report, rules, setup);
  if (found.widest == 0) {
    std::fprintf(stderr, "%s: the check read nothing\n", c.name);
    _exit(1);
  }
}

void runJob(const fs::path& folder, const Case& c) {
  if (c.check) runCheck(folder, c);
  BenchView view;
  view.report = c.report;
  view.totals = c.totals;
  view.preview = c.preview;
  QuietDialogs dialogs;
  NoLauncher launcher;
  PrintJob job{view, dialogs, launcher, folder.string(), NumberFormat{}};
  if (pliego::testing::runJobHere(job, view) != JobResult::Sent) {
    std::fprintf(stderr, "%s: %s\n", c.name, dialogs.last.c_str());
    _exit(1);
  }
  _exit(0);
}

// Runs one case in a process of its own: its wall time and peak memory.
Sample runCase(const fs::path& folder, const Case& c) {
  sync();  // no case pays for writing back what an earlier one wrote
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    if (c.command.empty()) runJob(folder, c);
    const int out = open((folder / "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    std::vector<char*> argv;
    for (const auto& a : c.command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", c.name);
    std::exit(1);
  }
  const auto cpu = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return {seconds, cpu(usage.ru_utime) + cpu(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs every case at one size and prints the table; returns the job's peak
// memory in MB.
double benchSize(const fs::path& folder, std::size_t megabytes, int rounds) {
  const std::size_t bytes = megabytes << 20;
  makeBook(folder / "IVAVENTAS.TXT", bytes, "LIBRO I.V.A. VENTAS");
  makeBook(folder / "LISTADO.TXT", bytes, "LISTADO DE COMPROBANTES");
  makeLedger(folder / "MAYOR.TXT", bytes);
  const std::string vat = (folder / "IVAVENTAS.TXT").string();
  const std::vector<Case> cases = {
      {"cat", {"cat", vat}, nullptr, CheckState::Unchecked},
      {"pr -l 66", {"pr", "-l", "66", vat}, nullptr, CheckState::Unchecked},
      // A copy through user space, as the job must make one: read and write.
      {"dd bs=1M", {"dd", "if=" + vat, "bs=1M", "status=none"}, nullptr, CheckState::Unchecked},
      {"VAT book, totals cut", {}, "IVAVENTAS.TXT", CheckState::Unchecked, CheckState::Unchecked, kBookTarget},
      {"VAT book, totals kept", {}, "IVAVENTAS.TXT", CheckState::Checked, CheckState::Unchecked, kBookTarget},
      {"plain report", {}, "LISTADO.TXT", CheckState::Unchecked, CheckState::Unchecked, kBookTarget},
      {"ledger", {}, "MAYOR.TXT", CheckState::Unchecked, CheckState::Unchecked, kLedgerTarget},
      {"VAT book, preview", {}, "IVAVENTAS.TXT", CheckState::Unchecked, CheckState::Checked},
      {"ledger, preview", {}, "MAYOR.TXT", CheckState::Unchecked, CheckState::Checked},
      {"VAT book, check + job", {}, "IVAVENTAS.TXT", CheckState::Unchecked, CheckState::Unchecked, 0, true},
      {"ledger, check + job", {}, "MAYOR.TXT", CheckState::Unchecked, CheckState::Unchecked, 0, true},
  };
  std::vector<std::vector<double>> times(cases.size()), cpuTimes(cases.size());
  std::vector<double> peaks(cases.size(), 0);
  for (const auto& c : cases) runCase(folder, c);  // warms the page cache
  // Every round runs the cases in an order of its own, so that no case
  // always follows the same one (what a case leaves behind costs the next).
  Random shuffle;
  std::vector<std::size_t> order(cases.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t k = order.size() - 1; k > 0; --k) std::swap(order[k], order[shuffle.next(static_cast<unsigned>(k + 1))]);
    for (const std::size_t i : order) {
      const Sample sample = runCase(folder, cases[i]);
      times[i].push_back(sample.seconds);
      cpuTimes[i].push_back(sample.cpuSeconds);
      peaks[i] = std::max(peaks[i], sample.peakMegabytes);
    }
  }
  const double cat = median(times[0]);
  const double pr = median(times[1]);
  std::printf("\n%zu MB reports, %d rounds (medians)\n", megabytes, rounds);
  std::printf("%-24s %9s %9s %9s %10s %9s %9s  %s\n", "case", "seconds", "MB/s", "x cat", "pr / case", "cpu s",
              "peak MB", "target");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const double t = median(times[i]);
    char target[48] = "";
    if (cases[i].target > 0)
      std::snprintf(target, sizeof target, "x cat <= %.1f %s", cases[i].target,
                    t / cat <= cases[i].target ? "met" : "NOT MET");
    std::printf("%-24s %9.3f %9.0f %9.2f %10.1f %9.3f %9.1f  %s\n", cases[i].name, t, static_cast<double>(megabytes) / t, t / cat,
                pr / t, median(cpuTimes[i]), peaks[i], target);
  }
  const double jobPeak = *std::max_element(peaks.begin() + 3, peaks.end());
  std::printf("peak memory of the job %.1f MB: under %.0f MB %s\n", jobPeak, kMemoryTarget,
              jobPeak < kMemoryTarget ? "met" : "NOT MET");
  std::fflush(stdout);
  return jobPeak;
}

}  // namespace

int main(int argc, char** argv) {
  pliego::ignoreFileSizeLimitSignal();
  int rounds = 5;
  std::vector<std::size_t> sizes;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
      rounds = std::max(1, std::atoi(argv[++i]));
    else
      sizes.push_back(std::strtoul(argv[i], nullptr, 10));
  }
  if (sizes.empty()) sizes = {10, 100};
  const fs::path folder = fs::temp_directory_path() / ("pliego-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::vector<double> peaks;
  for (std::size_t megabytes : sizes) peaks.push_back(benchSize(folder, megabytes, rounds));
  fs::remove_all(folder);
  if (peaks.size() > 1)
    std::printf("\npeak memory of the job from %zu MB to %zu MB reports: %.1f to %.1f MB\n", sizes.front(),
                sizes.back(), *std::min_element(peaks.begin(), peaks.end()), *std::max_element(peaks.begin(), peaks.end()));
}
#endif
