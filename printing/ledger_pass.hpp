#pragma once
// The general ledger's layout pass: every closing balance ("SALDO FINAL:")
// ends its page. Reworks "WRITE.TXT" through "WRITE2.TXT".
#include <cstdint>
#include <string>
#include <vector>

#include "common/numbers.hpp"
#include "printing/print_view.hpp"

namespace pliego {

inline constexpr std::string_view kClosingBalanceMarker = "SALDO FINAL:";

// Lays out `folder`/WRITE.TXT into pages of txtRenglonesPagina lines, each
// ending in a foot line of `footWidth` blanks, and puts the result in place of
// WRITE.TXT. Throws JobError when a file cannot be read, written or replaced;
// WRITE.TXT is then left as it was and WRITE2.TXT is removed.
void ProcesarMayor(const std::string& folder, const PrintView& view, const std::vector<std::string>& header,
                   std::int64_t footWidth, const NumberFormat& format);

}  // namespace pliego
