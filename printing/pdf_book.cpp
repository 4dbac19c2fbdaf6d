#include "printing/pdf_book.hpp"

#include <hpdf.h>
#include <hpdf_pdfa.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/text.hpp"
#include "platform/files.hpp"

namespace pliego {

namespace {

constexpr double kPointsPerInch = 72;
constexpr double kMargin = 0.25 * kPointsPerInch;
// Fewer columns than these are not drawn larger: a short page keeps the pitch of a form.
constexpr std::size_t kFewestColumns = 80;

// The library reports its failures here; the document is then not saved.
void onError(HPDF_STATUS, HPDF_STATUS, void* failed) { *static_cast<bool*>(failed) = true; }

// Metadata goes into the XMP packet as it stands: printable ASCII only.
std::string metadataText(std::string_view text) {
  std::string clean;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    clean += byte >= 0x20 && byte < 0x7f && c != '<' && c != '>' && c != '&' && c != '\'' && c != '"' ? c : '?';
  }
  return clean;
}

// The first of these files that exists: beside the program, then the system's.
std::string firstExisting(std::string_view besideProgram, std::initializer_list<const char*> system) {
  std::error_code error;
  const std::string own = joinPath(executableFolder(), besideProgram);
  if (std::filesystem::is_regular_file(nativePath(own), error)) return own;
  for (const char* path : system)
    if (std::filesystem::is_regular_file(nativePath(path), error)) return path;
  return {};
}

}  // namespace

std::string pdfFontPath() {
  return firstExisting("DejaVuSansMono.ttf", {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                              "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"});
}

std::string pdfColourProfilePath() {
  return firstExisting("srgb.icc", {"/usr/share/color/icc/ghostscript/srgb.icc", "/usr/share/color/icc/sRGB.icc"});
}

struct PdfBook::Document {
  HPDF_Doc pdf = nullptr;
  HPDF_Font font = nullptr;
  double advance = 0.6;  // a glyph's width, in ems
  bool failed = false;
};

PdfBook::PdfBook(PdfPaper paper, std::int64_t lineSlots)
    : doc_(std::make_unique<Document>()), paper_(paper), lineSlots_(std::max<std::int64_t>(lineSlots, 1)) {
  doc_->pdf = HPDF_New(onError, &doc_->failed);
  if (!doc_->pdf) {
    doc_->failed = true;
    return;
  }
  HPDF_SetCompressionMode(doc_->pdf, HPDF_COMP_ALL);
  const std::string fontPath = pdfFontPath();
  const char* fontName = fontPath.empty() ? nullptr : HPDF_LoadTTFontFromFile(doc_->pdf, fontPath.c_str(), HPDF_TRUE);
  doc_->font = fontName ? HPDF_GetFont(doc_->pdf, fontName, "CP1252") : nullptr;
  if (!doc_->font) {
    doc_->failed = true;
    return;
  }
  const HPDF_INT width = HPDF_Font_GetUnicodeWidth(doc_->font, ' ');
  if (width > 0) doc_->advance = width / 1000.0;
}

PdfBook::~PdfBook() {
  if (doc_->pdf) HPDF_Free(doc_->pdf);
}

void PdfBook::beginPage(std::int64_t) {
  if (open_) drawPage();
  open_ = true;
  ++pages_;
}

void PdfBook::line(std::string_view line) {
  std::string text = printedText(line);
  widest_ = std::max(widest_, text.size());
  while (!text.empty() && text.back() == ' ') text.pop_back();  // nothing to draw
  page_.push_back(std::move(text));
}

// The page's lines from its top, at the pitch that fits its widest line
// and the line spacing that fits a whole sheet of lines.
void PdfBook::drawPage() {
  std::vector<std::string> lines;
  lines.swap(page_);
  const std::size_t columns = std::max(widest_, kFewestColumns);
  widest_ = 0;
  if (doc_->failed) return;
  const PaperSize& size = paperSize(paper_);
  HPDF_Page page = HPDF_AddPage(doc_->pdf);
  if (!page) return;
  HPDF_Page_SetWidth(page, static_cast<HPDF_REAL>(size.width));
  HPDF_Page_SetHeight(page, static_cast<HPDF_REAL>(size.height));
  const double rows = static_cast<double>(std::max<std::int64_t>(lineSlots_, static_cast<std::int64_t>(lines.size())));
  const double leading = (size.height - 2 * kMargin) / rows;
  const double fontSize = std::min((size.width - 2 * kMargin) / (static_cast<double>(columns) * doc_->advance), leading);
  HPDF_Page_BeginText(page);
  HPDF_Page_SetFontAndSize(page, doc_->font, static_cast<HPDF_REAL>(fontSize));
  HPDF_Page_SetTextLeading(page, static_cast<HPDF_REAL>(leading));
  HPDF_Page_MoveTextPos(page, static_cast<HPDF_REAL>(kMargin),
                        static_cast<HPDF_REAL>(size.height - kMargin - 0.8 * leading));
  bool first = true;
  for (const std::string& text : lines) {
    if (!first) HPDF_Page_MoveToNextLine(page);
    first = false;
    if (!text.empty()) HPDF_Page_ShowText(page, text.c_str());
  }
  HPDF_Page_EndText(page);
}

bool PdfBook::save(const std::string& path, const PdfBookInfo& info) {
  if (open_) drawPage();
  open_ = false;
  if (doc_->failed || pages_ == 0) return false;
  HPDF_Doc pdf = doc_->pdf;
  const std::string title = metadataText(pdfTitle(info));
  const std::string station = metadataText(info.workstation);
  const std::string subject = "Reporte " + metadataText(std::string(trimSpaces(info.report))) + ", folios " +
                              std::to_string(info.firstFolio) + " a " + std::to_string(info.lastFolio) +
                              ", estacion " + station;
  HPDF_SetInfoAttr(pdf, HPDF_INFO_TITLE, title.c_str());
  HPDF_SetInfoAttr(pdf, HPDF_INFO_SUBJECT, subject.c_str());
  HPDF_SetInfoAttr(pdf, HPDF_INFO_AUTHOR, station.c_str());
  HPDF_SetInfoAttr(pdf, HPDF_INFO_KEYWORDS, subject.c_str());
  HPDF_SetInfoAttr(pdf, HPDF_INFO_CREATOR, "Pliegomatic");
  // No dates: libharu 2.3.0 fails to save a PDF/A document that has them.
  // The record keeps the date and time of the job.
  const std::string profile = pdfColourProfilePath();
  if (!profile.empty()) {
    HPDF_OutputIntent intent = HPDF_LoadIccProfileFromFile(pdf, profile.c_str(), 3);
    if (intent) HPDF_PDFA_AppendOutputIntents(pdf, "sRGB", intent);
  }
  HPDF_PDFA_SetPDFAConformance(pdf, HPDF_PDFA_1B);
  if (doc_->failed) return false;
  return HPDF_SaveToFile(pdf, path.c_str()) == HPDF_OK && !doc_->failed;
}

}  // namespace pliego
