#include "printing/page_header.hpp"

#include <algorithm>

#include "common/numbers.hpp"
#include "common/text.hpp"
#include "printing/job_error.hpp"

namespace pliego {

std::string pageStamp(std::string_view text, std::int64_t page) {
  const std::string label = std::string(kStampLabel) + std::to_string(page);
  const std::size_t room = kStampWidth - std::min(label.size(), kStampWidth);
  std::string line(text.substr(0, room));
  line.resize(room, ' ');
  line += label;
  return line;
}

void EscribirEntrePaginas(LineWriter& out, const PrintView& view) {
  const double value = numericValue(view.linesBetweenPages());
  if (!(value > 0)) return;
  const auto count = toInt32(value);
  if (!count) throw JobError("La cantidad de renglones entre paginas es demasiado grande.");
  out.writeRepeated(kBlankLine, *count);
}

void EscribirEncabezado(LineWriter& out, const std::vector<std::string>& header, std::int64_t page,
                        const PrintView& view) {
  if (isLedgerName(view.selectedReport())) return;
  EscribirEntrePaginas(out, view);
  const bool stamp = view.pageNumberBox() != CheckState::Unchecked;
  for (std::size_t i = 0; i < header.size(); ++i)
    out.write(i == 0 && stamp ? pageStamp(header[i], page) : header[i]);
}

}  // namespace pliego
