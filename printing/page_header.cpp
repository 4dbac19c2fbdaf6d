#include "printing/page_header.hpp"

#include <algorithm>

#include "common/text.hpp"

namespace pliego {

std::string pageStamp(std::string_view text, std::int64_t page) {
  const std::string label = std::string(kStampLabel) + std::to_string(page);
  const std::size_t room = kStampWidth - std::min(label.size(), kStampWidth);
  std::string line(text.substr(0, room));
  line.resize(room, ' ');
  line += label;
  return line;
}

void EscribirEntrePaginas(LineWriter& out, const PageRules& rules) {
  if (rules.linesBetween > 0) out.writeRepeated(kBlankLine, rules.linesBetween);
}

void EscribirEncabezado(LineWriter& out, const std::vector<std::string>& header, std::int64_t page,
                        const PageRules& rules) {
  if (rules.kind == ReportKind::Ledger) return;
  EscribirEntrePaginas(out, rules);
  for (std::size_t i = 0; i < header.size(); ++i)
    out.write(i == 0 && rules.stampPages ? pageStamp(header[i], page) : header[i]);
}

}  // namespace pliego
