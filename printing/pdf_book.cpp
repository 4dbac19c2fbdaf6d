#include "printing/pdf_book.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "common/code_page.hpp"
#include "common/text.hpp"
#include "platform/files.hpp"
#include "printing/pdf_file.hpp"
#include "printing/srgb_profile.hpp"
#include "printing/truetype_font.hpp"

namespace pliego {

namespace {

constexpr double kPointsPerInch = 72;
constexpr double kMargin = 0.25 * kPointsPerInch;
// Fewer columns than these are not drawn larger: a short page keeps the pitch of a form.
constexpr std::size_t kFewestColumns = 80;
// A line is drawn up to this many characters: a PDF string holds no more.
constexpr std::size_t kMostColumns = 32000;
// Pages under one node of the page tree: an array holds at most 8,191 entries.
constexpr std::size_t kPagesPerNode = 4096;

// The first of these files that exists: beside the program, then the system's.
std::string firstExisting(std::string_view besideProgram, std::initializer_list<const char*> system) {
  std::error_code error;
  const std::string own = joinPath(executableFolder(), besideProgram);
  if (std::filesystem::is_regular_file(nativePath(own), error)) return own;
  for (const char* path : system)
    if (std::filesystem::is_regular_file(nativePath(path), error)) return path;
  return {};
}

std::optional<std::string> fileBytes(const std::string& path) {
  std::ifstream in(nativePath(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) return std::nullopt;
  return std::move(bytes).str();
}

std::string reference(int number) { return std::to_string(number) + " 0 R"; }

// Metadata text as XML: 1252 bytes to UTF-8, the markup characters escaped.
std::string xmlText(std::string_view cp1252) {
  std::string text;
  for (const char c : cp1252) {
    switch (c) {
      case '<': text += "&lt;"; break;
      case '>': text += "&gt;"; break;
      case '&': text += "&amp;"; break;
      case '"': text += "&quot;"; break;
      case '\'': text += "&apos;"; break;
      default: {
        const char32_t character = unicodeOfCp1252(static_cast<unsigned char>(c));
        appendUtf8(text, character < 0x20 || (character >= 0x7f && character < 0xa0) ? U'?' : character);
      }
    }
  }
  return text;
}

struct Moment {
  std::string pdf, xmp;  // D:20261210153000Z and 2026-12-10T15:30:00Z
};

Moment now() {
  using namespace std::chrono;
  const auto seconds = floor<std::chrono::seconds>(system_clock::now());
  const auto day = floor<days>(seconds);
  const year_month_day date{day};
  const hh_mm_ss time{seconds - day};
  char pdf[32], xmp[32];
  const int y = static_cast<int>(date.year());
  const unsigned m = static_cast<unsigned>(date.month()), d = static_cast<unsigned>(date.day());
  const auto h = static_cast<int>(time.hours().count()), mi = static_cast<int>(time.minutes().count());
  const auto s = static_cast<int>(time.seconds().count());
  std::snprintf(pdf, sizeof pdf, "D:%04d%02u%02u%02d%02d%02dZ", y, m, d, h, mi, s);
  std::snprintf(xmp, sizeof xmp, "%04d-%02u-%02uT%02d:%02d:%02dZ", y, m, d, h, mi, s);
  return {pdf, xmp};
}

struct Texts {
  std::string title, subject, author;  // Windows-1252
};

std::string xmpPacket(const Texts& texts, const Moment& moment) {
  const std::string title = xmlText(texts.title), subject = xmlText(texts.subject), author = xmlText(texts.author);
  return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
         "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
         "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
         "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
         "<pdfaid:part>1</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n</rdf:Description>\n"
         "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
         "<dc:format>application/pdf</dc:format>\n"
         "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" + title + "</rdf:li></rdf:Alt></dc:title>\n"
         "<dc:creator><rdf:Seq><rdf:li>" + author + "</rdf:li></rdf:Seq></dc:creator>\n"
         "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">" + subject +
         "</rdf:li></rdf:Alt></dc:description>\n</rdf:Description>\n"
         "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
         "<pdf:Keywords>" + subject + "</pdf:Keywords>\n<pdf:Producer>Pliegomatic</pdf:Producer>\n"
         "</rdf:Description>\n"
         "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
         "<xmp:CreatorTool>Pliegomatic</xmp:CreatorTool>\n"
         "<xmp:CreateDate>" + moment.xmp + "</xmp:CreateDate>\n<xmp:ModifyDate>" + moment.xmp +
         "</xmp:ModifyDate>\n</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

}  // namespace

std::string pdfFontPath() {
  return firstExisting("DejaVuSansMono.ttf", {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                              "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"});
}

struct PdfBook::Document {
  explicit Document(const std::string& path) : file(path) {}
  PdfFile file;
  bool ready = false;  // the font was read and written
  TrueTypeFont font;
  double advance = 0.6;  // a glyph's width, in ems
  int catalog = 0, root = 0, fontObject = 0, profile = 0;
  std::vector<int> pageObjects;
  std::vector<int> nodes;  // the page tree's nodes, kPagesPerNode pages each
  std::string content;     // the page being drawn
};

PdfBook::PdfBook(const std::string& path, const std::string& fontPath, PdfPaper paper, std::int64_t lineSlots)
    : doc_(std::make_unique<Document>(path)), paper_(paper), lineSlots_(std::max<std::int64_t>(lineSlots, 1)) {
  PdfFile& file = doc_->file;
  const std::optional<std::string> program = fileBytes(fontPath);
  const std::optional<TrueTypeFont> font = program ? readTrueTypeFont(*program) : std::nullopt;
  if (!font || font->widths[' '] <= 0) return;  // not a font: nothing is drawn, finish fails
  doc_->ready = true;
  doc_->font = *font;
  doc_->advance = font->widths[' '] / 1000.0;
  doc_->catalog = file.reserve();
  doc_->root = file.reserve();
  doc_->fontObject = file.reserve();
  const int descriptor = file.reserve(), program_ = file.reserve();
  doc_->profile = file.reserve();

  file.stream(program_, "/Length1 " + std::to_string(program->size()), *program, true);
  const std::string name = "/" + font->postScriptName;
  file.object(descriptor, "<</Type/FontDescriptor/FontName" + name + "/Flags " +
                              std::to_string(32 + (font->fixedPitch ? 1 : 0)) + "/FontBBox[" +
                              std::to_string(font->xMin) + " " + std::to_string(font->yMin) + " " +
                              std::to_string(font->xMax) + " " + std::to_string(font->yMax) + "]/ItalicAngle " +
                              pdfNumber(font->italicAngle) + "/Ascent " + std::to_string(font->ascent) +
                              "/Descent " + std::to_string(font->descent) + "/CapHeight " +
                              std::to_string(font->capHeight) + "/StemV 80/FontFile2 " + reference(program_) + ">>");
  std::string widths;
  for (unsigned byte = 32; byte < 256; ++byte) widths += std::to_string(font->widths[byte]) + (byte < 255 ? " " : "");
  file.object(doc_->fontObject, "<</Type/Font/Subtype/TrueType/BaseFont" + name +
                                    "/FirstChar 32/LastChar 255/Widths[" + widths +
                                    "]/Encoding/WinAnsiEncoding/FontDescriptor " + reference(descriptor) + ">>");
  file.stream(doc_->profile, "/N 3", srgbProfile(), true);
}

PdfBook::~PdfBook() = default;

void PdfBook::beginPage(std::int64_t) {
  if (open_) drawPage();
  open_ = true;
  ++pages_;
}

void PdfBook::line(std::string_view line) {
  std::string text = printedText(line);
  if (text.size() > kMostColumns) text.resize(kMostColumns);
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
  PdfFile& file = doc_->file;
  if (!doc_->ready || file.failed()) return;
  const PaperSize& size = paperSize(paper_);
  const double rows = static_cast<double>(std::max<std::int64_t>(lineSlots_, static_cast<std::int64_t>(lines.size())));
  const double leading = (size.height - 2 * kMargin) / rows;
  const double fontSize = std::min((size.width - 2 * kMargin) / (static_cast<double>(columns) * doc_->advance), leading);

  std::string& content = doc_->content;
  content = "BT\n/F1 " + pdfNumber(fontSize) + " Tf\n" + pdfNumber(leading) + " TL\n" + pdfNumber(kMargin) + " " +
            pdfNumber(size.height - kMargin - 0.8 * leading) + " Td\n";
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) content += "T*";
    if (lines[i].empty()) {
      content += '\n';
      continue;
    }
    content += '(';
    for (const char c : lines[i]) {
      if (c == '(' || c == ')' || c == '\\') content += '\\';
      content += doc_->font.widths[static_cast<unsigned char>(c)] > 0 ? c : '?';  // a glyph the font lacks
    }
    content += ")Tj\n";
  }
  content += "ET";

  const std::size_t index = doc_->pageObjects.size();
  if (index % kPagesPerNode == 0) doc_->nodes.push_back(file.reserve());
  const int contents = file.reserve(), page = file.reserve();
  file.stream(contents, "", content, true);
  file.object(page, "<</Type/Page/Parent " + reference(doc_->nodes.back()) + "/MediaBox[0 0 " +
                        pdfNumber(size.width) + " " + pdfNumber(size.height) + "]/Resources<</Font<</F1 " +
                        reference(doc_->fontObject) + ">>/ProcSet[/PDF/Text]>>/Contents " + reference(contents) + ">>");
  doc_->pageObjects.push_back(page);
}

bool PdfBook::finish(const PdfBookInfo& info) {
  if (open_) drawPage();
  open_ = false;
  PdfFile& file = doc_->file;
  if (!doc_->ready || file.failed() || pages_ == 0) return false;

  const std::vector<int>& pages = doc_->pageObjects;
  std::string kids;
  for (std::size_t node = 0; node < doc_->nodes.size(); ++node) {
    const std::size_t first = node * kPagesPerNode, last = std::min(pages.size(), first + kPagesPerNode);
    std::string nodeKids;
    for (std::size_t i = first; i < last; ++i) nodeKids += reference(pages[i]) + (i + 1 < last ? " " : "");
    file.object(doc_->nodes[node], "<</Type/Pages/Parent " + reference(doc_->root) + "/Kids[" + nodeKids +
                                       "]/Count " + std::to_string(last - first) + ">>");
    kids += reference(doc_->nodes[node]) + " ";
  }
  file.object(doc_->root, "<</Type/Pages/Kids[" + kids + "]/Count " + std::to_string(pages.size()) + ">>");

  Texts texts;
  texts.author = systemToCp1252(info.workstation);
  texts.title = systemToCp1252(pdfTitle(info));
  texts.subject = "Reporte " + systemToCp1252(trimSpaces(info.report)) + ", folios " +
                  std::to_string(info.firstFolio) + " a " + std::to_string(info.lastFolio) + ", estacion " +
                  texts.author;
  const Moment moment = now();
  const int metadata = file.reserve(), information = file.reserve();
  file.stream(metadata, "/Type/Metadata/Subtype/XML", xmpPacket(texts, moment), false);
  file.object(information, "<</Title" + pdfTextString(texts.title) + "/Author" + pdfTextString(texts.author) +
                               "/Subject" + pdfTextString(texts.subject) + "/Keywords" +
                               pdfTextString(texts.subject) + "/Creator(Pliegomatic)/Producer(Pliegomatic)"
                               "/CreationDate(" + moment.pdf + ")/ModDate(" + moment.pdf + ")>>");
  file.object(doc_->catalog, "<</Type/Catalog/Pages " + reference(doc_->root) + "/Metadata " + reference(metadata) +
                                 "/OutputIntents[<</Type/OutputIntent/S/GTS_PDFA1/OutputConditionIdentifier(" +
                                 kSrgbName + ")/Info(" + kSrgbName + ")/DestOutputProfile " +
                                 reference(doc_->profile) + ">>]>>");
  const std::string id = sha256Hex(texts.title + moment.xmp + std::to_string(pages.size()) + texts.author).substr(0, 32);
  return file.close(doc_->catalog, information, id);
}

std::string PdfBook::sha256() const { return doc_->file.sha256(); }

}  // namespace pliego
