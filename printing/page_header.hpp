#pragma once
// The block that opens every page after the first: the lines between pages,
// then the report's header lines with the page number stamped on the first.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_writer.hpp"
#include "common/text.hpp"
#include "printing/page_rules.hpp"
#include "printing/printer_codes.hpp"

namespace pliego {

inline constexpr std::size_t kStampWidth = 192;
inline constexpr std::string_view kStampLabel = " Pagina: ";

// `text` laid over 192 blanks, cut where the label " Pagina: <page>" begins,
// the label ending in column 192.
std::string pageStamp(std::string_view text, std::int64_t page);

// Both write to a line writer, or to the page gate that stands before it.

// Writes the lines between pages as blank lines.
template <class Out>
void EscribirEntrePaginas(Out& out, const PageRules& rules) {
  if (rules.linesBetween > 0) out.writeRepeated(kBlankLine, rules.linesBetween);
}

// Opens page `page`: lines between pages, then the header lines, the first
// stamped with the page number unless page stamps are off. Writes nothing at
// all for the ledger, which has its own pass.
template <class Out>
void EscribirEncabezado(Out& out, const std::vector<std::string>& header, std::int64_t page, const PageRules& rules) {
  if (rules.kind == ReportKind::Ledger) return;
  EscribirEntrePaginas(out, rules);
  if (rules.headerCodesOnce) {
    // Stamped before the codes go, so that the label stays where page 1 has it on paper.
    for (std::size_t i = 0; i < header.size(); ++i)
      out.write(withoutPrinterCodes(i == 0 && rules.stampPages ? pageStamp(header[i], page) : header[i]));
    return;
  }
  for (std::size_t i = 0; i < header.size(); ++i)
    out.write(i == 0 && rules.stampPages ? pageStamp(header[i], page) : header[i]);
}

// The header lines' printer codes, in order: what goes to the printer once
// when they are left out of the work file.
std::string headerPrinterCodes(const std::vector<std::string>& header);

}  // namespace pliego
