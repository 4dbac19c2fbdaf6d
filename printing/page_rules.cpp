#include "printing/page_rules.hpp"

#include <algorithm>

#include "common/text.hpp"
#include "printing/job_error.hpp"

namespace pliego {

namespace {

// The most lines a header may have.
constexpr double kMostHeaderLines = 32767;

// The number of header lines: the leading number, rounded; none below 1.
std::size_t headerLineCount(double h) {
  const double rounded = roundHalfEven(h);
  return rounded >= 1 ? static_cast<std::size_t>(std::min(rounded, kMostHeaderLines)) : 0;
}

std::int32_t betweenPagesCount(std::string_view text) {
  const double value = numericValue(text);
  if (!(value > 0)) return 0;
  const auto count = toInt32(value);
  if (!count) throw JobError("La cantidad de renglones entre paginas es demasiado grande.");
  return *count;
}

}  // namespace

PageRules makePageRules(std::string_view reportName, std::string_view linesPerPage, std::string_view headerLines,
                        std::string_view linesBetweenPages, CheckState pageNumberBox, CheckState vatTotalsBox,
                        const NumberFormat& format) {
  PageRules rules;
  rules.kind = kindOf(reportName);
  rules.cutVatTotals = rules.kind == ReportKind::VatBook && vatTotalsBox != CheckState::Checked;
  rules.stampPages = pageNumberBox != CheckState::Unchecked;
  rules.linesPerPage = numericValue(linesPerPage);
  rules.ledgerLinesPerPage = parseUserNumber(linesPerPage, format).value_or(0);
  rules.headerLines = numericValue(headerLines);
  rules.headerCount = headerLineCount(rules.headerLines);
  rules.linesBetween = betweenPagesCount(linesBetweenPages);
  return rules;
}

}  // namespace pliego
