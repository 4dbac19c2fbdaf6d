// libFuzzer harness for the print job: a report of any bytes and the
// window's fields as any text, run through the whole job (validation, the
// work file, the output step) into a real folder, with a fake launcher.
//
// Input: up to five fields separated by 0x1F -- header lines, lines per
// page, lines between pages, port, flags -- then 0x1F and the report's
// bytes. A missing field keeps the window's usual value. The flags' first
// byte: bit 0 preview, bit 1 page numbers, bit 2 VAT totals kept, bits 3-4
// the report's name (a plain report, the two VAT books, the ledger).
//
// Invariants: the job tells exactly one message and never crashes or
// hangs; "Impresion Finalizada" comes with a work file and a started
// command; any other message leaves no WRITE2.TXT, starts nothing, and has
// no English system text in it. Files are limited to a few megabytes, so
// that odd but allowed counts end in the write failure's message.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.hpp"
#include "printing/print_job.hpp"
#include "support/fakes.hpp"
#include "support/run_job.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

constexpr rlim_t kFileSizeLimit = 4 << 20;
const char* const kReportNames[] = {"INFORME.TXT", "IVAVENTAS.TXT", "IVACOMPRAS.TXT", "MAYOR.TXT"};

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "INVARIANT BROKEN: %s\n", what.c_str());
  std::abort();
}

const std::string& folder() {
  static const std::string path = [] {
    const char* base = std::getenv("PLIEGO_FUZZ_DIR");
    std::string pattern = std::string(base ? base : (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp")) +
                          "/pliego-fuzz-job-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  return path;
}

std::vector<std::string_view> fields(std::string_view input) {
  std::vector<std::string_view> parts;
  while (parts.size() < 5) {
    const auto cut = input.find('\x1F');
    if (cut == std::string_view::npos) break;
    parts.push_back(input.substr(0, cut));
    input.remove_prefix(cut + 1);
  }
  parts.push_back(input);  // the report
  return parts;
}

bool has(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = kFileSizeLimit;
  setrlimit(RLIMIT_FSIZE, &limit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // As the program does at start-up; libFuzzer sets its own handler for the
  // signal after the initialisation above.
  static const bool signalIgnored = (ignoreFileSizeLimitSignal(), true);
  (void)signalIgnored;
  const auto parts = fields(std::string_view(reinterpret_cast<const char*>(data), size));
  FakeView view;
  const std::size_t given = parts.size() - 1;
  if (given > 0) view.header = parts[0];
  if (given > 1) view.perPage = parts[1];
  if (given > 2) view.between = parts[2];
  if (given > 3) view.port = parts[3];
  const unsigned flags = given > 4 && !parts[4].empty() ? static_cast<unsigned char>(parts[4][0]) : 0u;
  view.preview = flags & 1 ? CheckState::Checked : CheckState::Unchecked;
  view.pageNumber = flags & 2 ? CheckState::Checked : CheckState::Unchecked;
  view.vatTotals = flags & 4 ? CheckState::Checked : CheckState::Unchecked;
  view.report = kReportNames[(flags >> 3) & 3];

  std::error_code ignored;
  for (const char* name : {"WRITE.TXT", "WRITE2.TXT"}) fs::remove(folder() + "/" + name, ignored);
  std::ofstream(folder() + "/" + view.report, std::ios::binary | std::ios::trunc) << parts.back();

  FakeDialogs dialogs;
  FakeLauncher launcher;
  PrintJob job{view, dialogs, launcher, folder(), NumberFormat{'.', ','}};
  const auto result = runJobHere(job, view);

  if (dialogs.informed.size() != 1) fail("the job told " + std::to_string(dialogs.informed.size()) + " messages");
  const std::string& told = dialogs.informed[0];
  const bool workFile = fs::exists(folder() + "/WRITE.TXT");
  if (result == JobResult::Sent) {
    if (!workFile) fail("finished without a work file");
    if (launcher.started.size() != 1) fail("finished without starting the editor or the script");
  } else {
    if (!launcher.started.empty()) fail("started a command and told: " + told);
    if (has(told, "std::") || has(told, "No such") || has(told, "File too large")) fail("English text: " + told);
  }
  if (fs::exists(folder() + "/WRITE2.TXT")) fail("WRITE2.TXT left behind; told: " + told);
  return 0;
}
