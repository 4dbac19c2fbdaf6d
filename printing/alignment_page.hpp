#pragma once
// The alignment test: one page of the profile that shows where the printer
// puts the lines and columns, and the feed of exactly one page.
#include <cstdint>
#include <string>
#include <vector>

#include "printing/page_rules.hpp"
#include "printing/printer_setup.hpp"

namespace pliego {

inline constexpr std::string_view kLastLineMark = " <<< Ultimo renglon de la pagina";

// The set-up, then one page of the profile's length: the header lines
// without their printer codes, a column ruler to the carriage's width, the
// page stamp "Pagina: <page>" where the book has it, every further line
// numbered from the top of the form, the last one marked. Its text goes
// through the character table. Throws JobError as setupBytes does, and when
// the page has no fixed length.
std::string alignmentPage(const PrinterSetup& setup, const PageRules& rules, const std::vector<std::string>& header,
                          std::int64_t page = 1);

// "Avanzar formulario": the set-up, then the blank lines of one page.
std::string formAdvanceBytes(const PrinterSetup& setup, const PageRules& rules);

// The two lines of a column ruler `width` columns wide: the tens, then the units.
std::vector<std::string> columnRuler(int width);

}  // namespace pliego
