#include "printing/alignment_page.hpp"

#include <algorithm>

#include "common/text.hpp"
#include "printing/charset.hpp"
#include "printing/job_error.hpp"
#include "printing/page_header.hpp"
#include "printing/printer_codes.hpp"

namespace pliego {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

int pageLines(const PageRules& rules) {
  const auto lines = physicalPageLines(rules);
  if (!lines)
    throw JobError("La prueba de alineacion necesita paginas de un largo fijo: los renglones por pagina deben ser un "
                   "numero entero mayor que los renglones del encabezado.");
  return *lines;
}

std::string numbered(int line) {
  std::string text = std::to_string(line);
  return std::string(text.size() < 4 ? 4 - text.size() : 0, ' ') + text;
}

}  // namespace

std::vector<std::string> columnRuler(int width) {
  std::string tens, units;
  for (int column = 1; column <= width; ++column) {
    tens += column % 10 == 0 ? static_cast<char>('0' + column / 10 % 10) : column % 5 == 0 ? '+' : '.';
    units += static_cast<char>('0' + column % 10);
  }
  return {tens, units};
}

std::string alignmentPage(const PrinterSetup& setup, const PageRules& rules, const std::vector<std::string>& header,
                          std::int64_t page) {
  const std::string setupPart = setupBytes(setup, rules);
  const int total = pageLines(rules);
  std::vector<std::string> lines;
  for (const auto& line : header) lines.push_back(withoutPrinterCodes(line));
  const int width = columnsAtPitch(setup) > 0 ? columnsAtPitch(setup) : static_cast<int>(kStampWidth);
  for (auto& line : columnRuler(width)) lines.push_back(std::move(line));
  lines.push_back(pageStamp("", page));
  if (static_cast<int>(lines.size()) > total - 1) lines.resize(static_cast<std::size_t>(total - 1));
  while (static_cast<int>(lines.size()) < total - 1) lines.push_back(numbered(static_cast<int>(lines.size()) + 1));
  lines.push_back(numbered(total) + std::string(kLastLineMark));

  std::string text;
  for (const auto& line : lines) text += line + std::string(kLineEnd);
  PrinterCharset charset(setup);
  return setupPart + charset.convert(text);
}

std::string formAdvanceBytes(const PrinterSetup& setup, const PageRules& rules) {
  const std::string setupPart = setupBytes(setup, rules);
  std::string feed;
  const std::string blank = std::string(kBlankLine) + std::string(kLineEnd);
  for (int i = pageLines(rules); i > 0; --i) feed += blank;
  return setupPart + feed;
}

}  // namespace pliego
