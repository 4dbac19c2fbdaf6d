#pragma once
// The check before printing: one reading of the report tells whether its
// lines fit the carriage, whether its repeated header lines undo the
// printer's page length, and how many of its bytes a printer may take for
// control codes.
#include <cstdint>
#include <string>
#include <vector>

#include "common/line_reader.hpp"
#include "printing/page_rules.hpp"
#include "printing/printer_setup.hpp"

namespace pliego {

struct ReportCheck {
  // The widest line on paper, in columns (printer codes take none; the
  // page stamp counts), against the carriage's columns at the pitch (0 when
  // the profile does not give the carriage).
  std::int64_t widest = 0;
  int carriage = 0;
  // The header lines hold an ESC @ that is sent again on every page.
  bool headerReset = false;
  // The page length an ESC C of the header lines sets when it is not the
  // page the layout makes (0: none such), and that page (0: not fixed).
  int headerPageLength = 0;
  int pageLines = 0;
  // Windows-1252 bytes 0x80-0x9F that would reach the printer unconverted.
  std::uint64_t controlBytes = 0;
  bool foldAsked = false;

  bool tooWide() const { return carriage > 0 && widest > carriage; }
  bool troubled() const { return tooWide() || headerReset || headerPageLength != 0 || unfoldedControls(); }
  bool unfoldedControls() const { return controlBytes > 0 && !foldAsked; }
  // One sentence for each problem found, in the order above.
  std::vector<std::string> problems() const;
  // The message shown before anything is sent, with the choice to go on.
  std::string message() const;
  // A short text for the status line.
  std::string status() const;
};

// Reads the report once from where it stands.
ReportCheck checkReport(LineReader& report, const PageRules& rules, const PrinterSetup& setup);

}  // namespace pliego
