#include "printing/ledger_pass.hpp"

#include <algorithm>
#include <cmath>

#include "common/numbers.hpp"
#include "common/text.hpp"
#include "printing/page_header.hpp"
#include "printing/printer_codes.hpp"

namespace pliego {

namespace {

// The foot's width is kept as a 16-bit count: a corrupt line of a megabyte
// must not widen every page's foot to it.
constexpr std::int64_t kWidestFoot = 32767;

}  // namespace

LedgerLayout::LedgerLayout(PageGate& out, const PageRules& rules, const std::vector<std::string>& header,
                           std::int64_t footWidth)
    : out_(out), rules_(rules), header_(header),
      footLine_(static_cast<std::size_t>(std::clamp<std::int64_t>(footWidth, 0, kWidestFoot)), ' ') {}

void LedgerLayout::add(std::string_view line, bool closing, LineReader* rest) {
  const auto headerCount = static_cast<std::int64_t>(header_.size());
  if (static_cast<double>(c_) == rules_.ledgerLinesPerPage - 1) {
    EscribirPiePagina();
    EscribirEncabezadoMayor();
    out_.write(line, rest);
    c_ = headerCount + 1;
  } else if (closing) {
    out_.write(line, rest);
    CompletarPagina(++c_);
    EscribirEncabezadoMayor();
    c_ = headerCount;
  } else {
    out_.write(line, rest);
    ++c_;
  }
}

std::int64_t LedgerLayout::room() const {
  const double foot = rules_.ledgerLinesPerPage - 1;
  if (foot < static_cast<double>(c_) || foot != std::floor(foot)) return kNoLimit;
  return static_cast<std::int64_t>(std::min(foot - static_cast<double>(c_), static_cast<double>(kNoLimit)));
}

void LedgerLayout::addRun(std::string_view bytes, std::int64_t count) {
  out_.writeRun(bytes, count);
  c_ += count;
}

// Every page after the first begins here.
void LedgerLayout::EscribirEncabezadoMayor() {
  out_.beginPage();
  EscribirEntrePaginas(out_, rules_);
  for (const auto& line : header_) {
    if (rules_.headerCodesOnce)
      out_.write(withoutPrinterCodes(line));
    else
      out_.write(line);
  }
}

// Blank lines for positions c to P - 2, then the foot line.
void LedgerLayout::CompletarPagina(std::int64_t c) {
  const double blanks = roundHalfEven(rules_.ledgerLinesPerPage - 2) - static_cast<double>(c) + 1;
  if (blanks > 0) out_.writeRepeated(kBlankLine, static_cast<std::int64_t>(blanks));
  EscribirPiePagina();
}

void LedgerLayout::EscribirPiePagina() {
  if (rules_.kind == ReportKind::Ledger) out_.write(footLine_);
}

}  // namespace pliego
