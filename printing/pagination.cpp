#include "printing/pagination.hpp"

#include <algorithm>
#include <cmath>

#include "printing/ledger_pass.hpp"
#include "printing/page_gate.hpp"
#include "printing/page_header.hpp"
#include "printing/printer_codes.hpp"

namespace pliego {

namespace {

// Where the copy pass puts its lines: plain and VAT reports go to the work
// file with their page headers; the ledger goes through its layout; the
// ledger's first reading only measures.
struct PagedSink {
  PageGate& out;
  const PageRules& rules;
  const std::vector<std::string>& header;
  bool ok() const { return out.ok(); }
  void pageBreak(std::int64_t page) {
    out.beginPage();
    EscribirEncabezado(out, header, page, rules);
  }
  void add(std::string_view line, bool, LineReader* rest) { out.write(line, rest); }
  std::int64_t room() const { return kNoLimit; }
  void addRun(const LineReader::Run& run) { out.writeRun(run.bytes, run.lines); }
};

struct LedgerSink {
  LedgerLayout& layout;
  bool ok() const { return layout.ok(); }
  void pageBreak(std::int64_t) {}
  void add(std::string_view line, bool closing, LineReader* rest) { layout.add(line, closing, rest); }
  std::int64_t room() const { return layout.room(); }
  void addRun(const LineReader::Run& run) { layout.addRun(run.bytes, run.lines); }
};

struct MeasuringSink {
  bool ok() const { return true; }
  void pageBreak(std::int64_t) {}
  void add(std::string_view, bool, LineReader*) {}
  std::int64_t room() const { return kNoLimit; }
  void addRun(const LineReader::Run&) {}
};

// How many lines go onto the page, from its line `count` on, before its free
// last slot (when `breaks`) or its end: pages are of `n` lines, which need
// not be a whole number.
std::int64_t linesBeforeBreak(double n, std::int64_t count, bool breaks) {
  double stop = std::ceil(n);
  if (breaks && n - 1 >= static_cast<double>(count) && n - 1 == std::floor(n - 1)) stop = n - 1;
  const double room = stop - static_cast<double>(count);
  return room <= 0 ? 0 : static_cast<std::int64_t>(std::min(room, static_cast<double>(kNoLimit)));
}

// The line just read, whose first piece is `line`, is the header's first.
bool startsWithHeader(const LineReader& in, std::string_view line, const std::string& first) {
  return static_cast<std::size_t>(in.lineLength()) == first.size() && std::string_view(first).starts_with(line);
}

// The copy pass: the last slot of every page is left free, and every further
// page opens with the header (the ledger's pages are its own layout's).
// Page p is stamped p + `folioOffset`.
template <class Sink>
std::int64_t copyPages(LineReader& in, Sink& out, const PageRules& rules, const std::vector<std::string>& header,
                       std::int64_t folioOffset) {
  const double n = rules.linesPerPage;
  const bool breaks = rules.kind != ReportKind::Ledger;
  const auto headerCount = static_cast<std::int64_t>(header.size());
  std::int64_t lineCount = 0;
  std::int64_t page = 0;
  std::int64_t widest = 0;
  std::string stamped, stripped;
  std::string_view line;
  while (!in.atEnd() && out.ok()) {
    // Lines that go in as they stand, page after page, are copied in runs.
    // Page 1's header lines lose their printer codes one by one when asked.
    const bool codesOut = rules.headerCodesOnce && page <= 1 && lineCount < headerCount;
    if ((page != 0 || headerCount == 0) && !codesOut) {
      const auto run = in.takeLines(std::min(linesBeforeBreak(n, lineCount, breaks), out.room()));
      if (run.lines > 0) {
        widest = std::max(widest, run.widest);
        out.addRun(run);
        lineCount += run.lines;
        continue;
      }
    }
    if (static_cast<double>(lineCount) == n - 1 && breaks) {
      ++page;
    } else {
      if (n <= static_cast<double>(lineCount)) {
        out.pageBreak(page + folioOffset);
        lineCount = headerCount;
      }
      in.next(line);
      bool marked = in.marked();
      LineReader* rest = &in;  // the pieces still to come of a long line
      if (page == 0 && headerCount > 0 && startsWithHeader(in, line, header[0])) {
        page = 1;
        if (rules.stampPages) {
          stamped = pageStamp(line, 1 + folioOffset);
          line = stamped;
          rest = nullptr;
          marked = in.watched().in(line);
        }
      }
      if (codesOut) {
        stripped = withoutPrinterCodes(line);
        line = stripped;
      }
      if (rules.cutVatTotals && marked) break;
      widest = std::max(widest, rest ? in.lineLength() : static_cast<std::int64_t>(line.size()));
      out.add(line, marked, rest);
      in.skipRestOfLine();
    }
    ++lineCount;
  }
  return widest;
}

// Reports progress and checks the cancel flag after every block; the ledger
// reads the report twice, each reading half of the work.
void followReading(LineReader& in, const JobHooks& hooks, int reading, int readings) {
  const std::uint64_t total = in.size() * static_cast<std::uint64_t>(readings);
  const std::uint64_t before = in.size() * static_cast<std::uint64_t>(reading);
  in.setBlockHook([&hooks, total, before, last = -1](std::uint64_t bytesRead) mutable {
    if (hooks.progress && total > 0) {
      const int percent = static_cast<int>(std::min<std::uint64_t>(100, (before + bytesRead) * 100 / total));
      if (percent != last) hooks.progress(last = percent);
    }
    return !(hooks.cancel && hooks.cancel->load());
  });
}

// Runs go to the work file straight from the report's block, which is let
// go before it is read into again, and at the end of the layout however it ends.
class LendingBlocks {
 public:
  LendingBlocks(LineReader& report, LineWriter& work) : report_(report), work_(work) {
    report_.setBeforeReuse([&work] { work.releaseBorrowed(); });
  }
  ~LendingBlocks() {
    work_.releaseBorrowed();
    report_.setBeforeReuse(nullptr);
  }
  LendingBlocks(const LendingBlocks&) = delete;
  LendingBlocks& operator=(const LendingBlocks&) = delete;

 private:
  LineReader& report_;
  LineWriter& work_;
};

}  // namespace

std::vector<std::string> captureHeader(LineReader& report, const PageRules& rules) {
  std::vector<std::string> header(rules.headerCount);
  for (std::size_t i = 1; i <= header.size() && static_cast<double>(i) <= rules.headerLines && report.next(header[i - 1]);
       ++i) {
  }
  return header;
}

Layout layOut(LineReader& report, LineWriter& work, const PageRules& rules, const std::vector<std::string>& header,
              const JobHooks& hooks, const PageSelection& selection, PageSink* pages) {
  Layout result;
  PageGate gate(work, selection, pages);
  const LendingBlocks lending(report, work);
  const std::int64_t folioOffset = selection.firstFolio - 1;
  if (rules.kind != ReportKind::Ledger) {
    if (rules.cutVatTotals) report.watchFor(kVatTotalsMarker, false);
    followReading(report, hooks, 0, 1);
    PagedSink sink{gate, rules, header};
    result.widest = copyPages(report, sink, rules, header, folioOffset);
  } else {
    followReading(report, hooks, 0, 2);
    MeasuringSink measure;
    result.widest = copyPages(report, measure, rules, header, folioOffset);
    if (!report.stopped() && !report.failed() && report.rewind()) {
      report.watchFor(kClosingBalanceMarker, true);
      followReading(report, hooks, 1, 2);
      LedgerLayout layout(gate, rules, header, result.widest);
      LedgerSink sink{layout};
      copyPages(report, sink, rules, header, folioOffset);
      if (!report.stopped()) layout.finish();
    }
  }
  result.stopped = report.stopped();
  report.setBlockHook(nullptr);

  result.bookPages = gate.bookPages();
  result.pagesSent = gate.pagesSent();
  result.linesSent = gate.linesSent();
  result.firstFolio = gate.firstFolioSent();
  result.lastFolio = gate.lastFolioSent();
  if (!result.stopped) result.outsideBook = outsideBookProblem(selection, result.bookPages);
  return result;
}

}  // namespace pliego
