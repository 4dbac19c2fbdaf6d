#pragma once
// The general ledger's page layout: every closing balance ("SALDO FINAL:")
// ends its page, and every page ends in a foot line of blanks.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_reader.hpp"
#include "printing/page_gate.hpp"
#include "printing/page_rules.hpp"

namespace pliego {

inline constexpr std::string_view kClosingBalanceMarker = "SALDO FINAL:";

// Takes the ledger's lines one by one, as the copy pass hands them out, and
// writes them laid out in pages of P lines. The foot line is `footWidth`
// blanks, 32767 at most.
class LedgerLayout {
 public:
  LedgerLayout(PageGate& out, const PageRules& rules, const std::vector<std::string>& header,
               std::int64_t footWidth);

  // `closing`: the line holds the closing-balance marker in any case. A
  // line handed out in pieces comes with the reader of its `rest`.
  void add(std::string_view line, bool closing, LineReader* rest = nullptr);
  // How many lines, none of them closing, `addRun` may take now: up to the
  // page's foot.
  std::int64_t room() const;
  // `count` lines that already carry their ends, none of them closing.
  void addRun(std::string_view bytes, std::int64_t count);
  // Completes the last page.
  void finish() { CompletarPagina(c_); }
  bool ok() const { return out_.ok(); }

 private:
  void EscribirEncabezadoMayor();
  void CompletarPagina(std::int64_t c);
  void EscribirPiePagina();

  PageGate& out_;
  const PageRules& rules_;
  const std::vector<std::string>& header_;
  std::string footLine_;
  std::int64_t c_ = 0;  // lines of the current page written so far, header included
};

}  // namespace pliego
