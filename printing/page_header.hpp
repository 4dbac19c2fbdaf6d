#pragma once
// The block that opens every page after the first: the lines between pages,
// then the report's header lines with the page number stamped on the first.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_io.hpp"
#include "printing/page_rules.hpp"

namespace pliego {

inline constexpr std::size_t kStampWidth = 192;
inline constexpr std::string_view kStampLabel = " Pagina: ";

// `text` laid over 192 blanks, cut where the label " Pagina: <page>" begins,
// the label ending in column 192.
std::string pageStamp(std::string_view text, std::int64_t page);

// Writes the lines between pages as blank lines.
void EscribirEntrePaginas(LineWriter& out, const PageRules& rules);

// Opens page `page`: lines between pages, then the header lines, the first
// stamped with the page number unless page stamps are off. Writes nothing at
// all for the ledger, which has its own pass.
void EscribirEncabezado(LineWriter& out, const std::vector<std::string>& header, std::int64_t page,
                        const PageRules& rules);

}  // namespace pliego
