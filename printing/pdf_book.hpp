#pragma once
// The book as a PDF: one PDF page per page of the job, drawn in an embedded
// monospaced font at the pitch that fits the page's widest line on the
// chosen paper, printer control codes left out, PDF/A-1b with the book's
// title, report, folios and workstation in its metadata.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "printing/page_gate.hpp"

namespace pliego {

enum class PdfPaper { Form15x11, Form15x12, A4Landscape, LegalLandscape };

struct PaperSize {
  PdfPaper paper;
  const char* name;
  double width, height;  // points
};
const PaperSize& paperSize(PdfPaper paper);

// The paper's name as the user sees and the INI keeps it, and back (the
// 15 x 11 form when the text names no paper).
std::string paperName(PdfPaper paper);
PdfPaper paperFromName(std::string_view name);
const std::vector<PdfPaper>& allPapers();

// What a line shows once the printer's control codes are taken out:
// ESC and its command with the command's parameters, and the other control
// bytes (SI, DC2, FF and the like); a TAB goes to the next column of 8.
std::string printedText(std::string_view line);

// The embedded font: the file beside the program (DejaVuSansMono.ttf), else
// Debian's; "" when there is none.
std::string pdfFontPath();

struct PdfBookInfo {
  std::string report;       // "IVAVENTAS.TXT"
  std::string workstation;  // where it was made
  std::int64_t firstFolio = 0, lastFolio = 0;
};

// The document's title: "IVAVENTAS.TXT, folios 38 a 74".
std::string pdfTitle(const PdfBookInfo& info);

// The file's name for a report and its folios: "IVAVENTAS_folios_0038-0074.pdf".
std::string pdfFileName(std::string_view report, std::int64_t firstFolio, std::int64_t lastFolio);

// Writes the pages as they come into the PDF at `path`: only the page being
// laid out is held, whatever the length of the book.
class PdfBook : public PageSink {
 public:
  // `lineSlots`: the lines of one sheet of the paper (the page and the lines
  // between pages); a page with more lines is drawn smaller. `fontPath`
  // names the TrueType font to embed.
  PdfBook(const std::string& path, const std::string& fontPath, PdfPaper paper, std::int64_t lineSlots);
  ~PdfBook() override;
  PdfBook(const PdfBook&) = delete;
  PdfBook& operator=(const PdfBook&) = delete;

  void beginPage(std::int64_t folio) override;
  void line(std::string_view line) override;

  std::int64_t pages() const { return pages_; }
  // Writes the last page, the metadata and the end of the file, and closes
  // it; false when anything failed (nothing usable is then at `path`).
  bool finish(const PdfBookInfo& info);
  // The SHA-256 of the file written; after finish.
  std::string sha256() const;

 private:
  struct Document;
  void drawPage();

  std::unique_ptr<Document> doc_;
  PdfPaper paper_;
  std::int64_t lineSlots_;
  std::vector<std::string> page_;
  std::size_t widest_ = 0;
  std::int64_t pages_ = 0;
  bool open_ = false;
};

}  // namespace pliego
