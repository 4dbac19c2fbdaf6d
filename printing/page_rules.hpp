#pragma once
// The page rules of one print job, read once from the window's fields.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/check_state.hpp"
#include "common/numbers.hpp"
#include "reports/reports.hpp"

namespace pliego {

struct PageRules {
  ReportKind kind = ReportKind::Plain;
  // A VAT book whose totals box is not checked ends before its totals.
  bool cutVatTotals = false;
  // The first header line of every page carries the page number.
  bool stampPages = true;
  // N: the leading number of the lines-per-page text; the copy pass compares
  // its line counter with it unrounded.
  double linesPerPage = 0;
  // P: the whole lines-per-page text in the user's number format, as the
  // ledger pass reads it (0 when it is not a number).
  double ledgerLinesPerPage = 0;
  // H as read (the leading number) and rounded: the size of the header table.
  double headerLines = 0;
  std::size_t headerCount = 0;
  // The lines between pages, rounded; 0 when the text's number is 0 or less.
  std::int32_t linesBetween = 0;
  // The printer codes of the header lines are left out of the work file;
  // they go to the printer once, before it.
  bool headerCodesOnce = false;
};

// The rules from the fields' texts and boxes. Throws JobError when the lines
// between pages do not fit a 32-bit count.
PageRules makePageRules(std::string_view reportName, std::string_view linesPerPage, std::string_view headerLines,
                        std::string_view linesBetweenPages, CheckState pageNumberBox, CheckState vatTotalsBox,
                        const NumberFormat& format);

}  // namespace pliego
