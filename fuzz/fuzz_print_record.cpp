// libFuzzer harness for the record of prints, "PLIEGOMATIC.LOG": a file of
// any bytes, read for a report's last records and its offered folio, then
// one append that must read back.
//
// Input: the first byte picks the report asked for (one of three names, or
// the first field of the input's last line); the rest is the file's bytes.
//
// Invariants: every line parses or is passed over without a crash; the
// records asked for are at most as many as asked, all of that report; the
// offered folio is one the options dialog accepts; after an append the last
// record of the report is the one appended, and the folio offered follows it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "common/text.hpp"
#include "printing/page_selection.hpp"
#include "printing/print_record.hpp"

using namespace pliego;

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "INVARIANT BROKEN: %s\n", what.c_str());
  std::abort();
}

const std::string& folder() {
  static const std::string path = [] {
    const char* base = std::getenv("PLIEGO_FUZZ_DIR");
    std::string made = std::string(base ? base : (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp")) +
                       "/pliego-fuzz-record-XXXXXX";
    if (!mkdtemp(made.data())) std::abort();
    return made;
  }();
  return path;
}

std::string reportAsked(std::uint8_t pick, std::string_view bytes) {
  switch (pick % 4) {
    case 0: return "MAYOR.TXT";
    case 1: return "ivaventas.txt ";
    case 2: return "IVA\tCOMPRAS.TXT";
    default: break;
  }
  const std::size_t start = bytes.find_last_of("\r\n", bytes.size() > 0 ? bytes.size() - 2 : 0);
  const std::string_view last = bytes.substr(start == std::string_view::npos ? 0 : start + 1);
  return std::string(last.substr(0, std::min(last.find('\t'), std::size_t{40})));
}

void checkTail(const std::string& report) {
  const std::string key = toUpperAscii(trimSpaces(report));
  const auto records = recordsOf(folder(), report, 3);
  if (records.size() > 3) fail("more records than asked for");
  const auto folio = offeredFolio(folder(), report);
  if (folio && (*folio < 1 || *folio > kMostFolio)) fail("offered folio " + std::to_string(*folio));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string path = folder() + "/" + kRecordFileName;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

  for (std::size_t start = 0; start <= bytes.size();) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    if (const auto record = parseRecord(bytes.substr(start, end - start)))
      if (parseRecord(formatRecord(*record)) == std::nullopt) fail("a parsed record does not parse again");
    start = end + 1;
  }
  const std::string report = reportAsked(data[0], bytes);
  checkTail(report);

  PrintRecord record = recordOfThisJob();
  record.report = report;
  record.profile = "EPSON\tFX";
  record.firstFolio = 1 + data[0];
  record.lastFolio = record.firstFolio + 9;
  record.pages = 10;
  record.lines = 700;
  if (appendRecord(folder(), record) != AppendResult::Done) fail("the append failed");
  const auto last = recordsOf(folder(), report, 1);
  if (last.size() != 1 || formatRecord(last[0]) != formatRecord(record)) fail("the appended record does not read back");
  if (offeredFolio(folder(), report) != record.lastFolio + 1) fail("the folio offered does not follow the append");
  return 0;
}
