#pragma once
// The pagination engine: lays a report out into the work file by the page
// rules. It reads lines from a line source and writes them to a line sink,
// in memory or on disk alike, and knows nothing of the window.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_reader.hpp"
#include "common/line_writer.hpp"
#include "printing/page_gate.hpp"
#include "printing/page_rules.hpp"
#include "printing/page_selection.hpp"

namespace pliego {

inline constexpr std::string_view kVatTotalsMarker = "Tasas de I.V.A.:";

enum class WaitingFor { EarlierCopy, OtherWorkstation };

// Optional ways to follow and stop a long job.
struct JobHooks {
  // The percentage of the report's reading done, on every change.
  std::function<void(int percent)> progress;
  // Checked once per block read; when set, the layout stops where it is.
  const std::atomic<bool>* cancel = nullptr;
  // While the job waits for a copy still printing: what it waits for and
  // the whole minutes waited, when the wait begins and at each new minute.
  std::function<void(WaitingFor what, int minutes)> waiting;
  // The percentage of the work file sent to the printer, on every change,
  // when the program sends it itself.
  std::function<void(int percent)> sending;
  // Asked, on the job's thread, before a file of the job's (its PDF) that
  // is already there is replaced: true to replace it.
  std::function<bool(const std::string& path)> confirmReplace = nullptr;
};

inline bool cancelled(const JobHooks& hooks) { return hooks.cancel && hooks.cancel->load(); }

// The report's first H lines (the header table), H entries in all; entries
// the report has no line for stay empty.
std::vector<std::string> captureHeader(LineReader& report, const PageRules& rules);

struct Layout {
  // The length of the longest line the copy pass wrote itself.
  std::int64_t widest = 0;
  // The cancel flag stopped the layout before its end.
  bool stopped = false;
  // The book's pages laid out (all of them, unless the pages asked for
  // ended earlier), and the pages, lines and folios sent to the work file.
  std::int64_t bookPages = 0;
  std::int64_t pagesSent = 0, linesSent = 0, firstFolio = 0, lastFolio = 0;
  // The pages asked for that the book does not have: what the user is told.
  std::string outsideBook;
};

// Lays out the whole report from its first line: pages of N lines for a
// plain report or a VAT book, the ledger's own layout for the ledger (which
// reads the report twice: once for its widest line). Page 1 is stamped with
// the selection's first folio and later pages count up from it; only the
// pages of the selection go to `work`, exactly as the whole book has them,
// and to `pages` as well when given.
Layout layOut(LineReader& report, LineWriter& work, const PageRules& rules, const std::vector<std::string>& header,
              const JobHooks& hooks = {}, const PageSelection& selection = {}, PageSink* pages = nullptr);

}  // namespace pliego
