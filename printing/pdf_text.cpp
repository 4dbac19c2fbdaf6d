#include "printing/pdf_book.hpp"

#include <algorithm>

#include "common/text.hpp"

namespace pliego {

namespace {

constexpr PaperSize kPapers[] = {
    {PdfPaper::Form15x11, "Formulario continuo 15 x 11 pulgadas", 15 * 72.0, 11 * 72.0},
    {PdfPaper::Form15x12, "Formulario continuo 15 x 12 pulgadas", 15 * 72.0, 12 * 72.0},
    {PdfPaper::A4Landscape, "A4 apaisada", 841.89, 595.28},
    {PdfPaper::LegalLandscape, "Oficio (Legal) apaisada", 14 * 72.0, 8.5 * 72.0},
};


// How many parameter bytes follow ESC and its command; -1 for a command
// whose length comes after its letter (ESC ( c nL nH ...).
int escParameters(unsigned char command, unsigned char next) {
  switch (command) {
    case 'C': return next == 0 ? 2 : 1;  // page length in lines, or ESC C NUL n in inches
    case '3': case 'A': case 'J': case 'l': case 'Q': case 'W': case '-': case 'x': case 'k':
    case 't': case 'R': case '!': case 'N': case 'S': case 'p': case 'U': case 'a': case 'q':
    case 'w': case 'j': case '+': case 'r': case 'I': case 'i': case 's': case '/': case 'f':
    case 'X': case 'c': case 'e':
      return 1;
    case '$': case '\\': case '?': return 2;
    case '(': return -1;
    default: return 0;  // @ E F G H M P g 0 1 2 4 5 6 7 8 9 < O T SI SO and the like
  }
}


std::string folioText(std::int64_t folio) {
  std::string text = std::to_string(folio);
  return text.size() < 4 ? std::string(4 - text.size(), '0') + text : text;
}


}  // namespace

const PaperSize& paperSize(PdfPaper paper) {
  for (const auto& size : kPapers)
    if (size.paper == paper) return size;
  return kPapers[0];
}


std::string paperName(PdfPaper paper) { return paperSize(paper).name; }

PdfPaper paperFromName(std::string_view name) {
  for (const auto& size : kPapers)
    if (toUpperAscii(trimSpaces(name)) == toUpperAscii(size.name)) return size.paper;
  return PdfPaper::Form15x11;
}

const std::vector<PdfPaper>& allPapers() {
  static const std::vector<PdfPaper> papers{PdfPaper::Form15x11, PdfPaper::Form15x12, PdfPaper::A4Landscape,
                                            PdfPaper::LegalLandscape};
  return papers;
}

std::string printedText(std::string_view line) {
  std::string text;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (byte == 0x1b) {
      if (i + 1 >= line.size()) break;
      const auto command = static_cast<unsigned char>(line[i + 1]);
      const auto next = static_cast<unsigned char>(i + 2 < line.size() ? line[i + 2] : 0);
      int skip = escParameters(command, next);
      if (skip < 0)  // ESC ( c nL nH and nL + 256 nH bytes
        skip = i + 4 < line.size() ? 3 + static_cast<unsigned char>(line[i + 3]) +
                                         256 * static_cast<unsigned char>(line[i + 4])
                                   : 3;
      i += 1 + static_cast<std::size_t>(skip);
    } else if (byte == '\t') {
      text.append(8 - text.size() % 8, ' ');
    } else if (byte >= 0x20 && byte != 0x7f) {
      text += line[i];
    }
  }
  return text;
}

std::string pdfTitle(const PdfBookInfo& info) {
  const std::string report(trimSpaces(info.report));
  if (info.firstFolio == info.lastFolio) return report + ", folio " + std::to_string(info.firstFolio);
  return report + ", folios " + std::to_string(info.firstFolio) + " a " + std::to_string(info.lastFolio);
}

std::string pdfFileName(std::string_view report, std::int64_t firstFolio, std::int64_t lastFolio) {
  std::string base(trimSpaces(report));
  if (const auto dot = base.rfind('.'); dot != std::string::npos && dot > 0) base.erase(dot);
  return base + "_folios_" + folioText(firstFolio) + "-" + folioText(lastFolio) + ".pdf";
}

}  // namespace pliego
