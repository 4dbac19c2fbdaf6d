// The book as a PDF, read back with poppler's pdftotext, pdfinfo and
// pdffonts: the pages of the job with their stamps, the same words as the
// printed pages, the letters of the code page, no printer codes, PDF/A-1b
// with the book's metadata, the name, the hash in the record, and no half
// file when the job stops.
// Linux only: reads the PDFs back with poppler-utils (the Windows check reads a PDF made under Wine).
#ifndef _WIN32
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "common/sha256.hpp"
#include "platform/files.hpp"
#include "platform/identity.hpp"
#include "printing/pdf_output.hpp"
#include "printing/print_fixture.hpp"
#include "settings/cinifile.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

// What a command prints on its standard output.
std::string run(const std::string& command) {
  std::string out;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, read);
  pclose(pipe);
  return out;
}

// Windows-1252 to UTF-8 for the letters these reports use.
std::string utf8(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0x80) {
      text += "\xE2\x82\xAC";
    } else if (byte >= 0xA0) {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    } else {
      text += c;
    }
  }
  return text;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> all;
  std::istringstream in(text);
  for (std::string word; in >> word;) all.push_back(word);
  return all;
}

// pdftotext -layout's pages: each ends in a form feed.
std::vector<std::string> pdfPages(const std::string& pdf) {
  const std::string text = run("pdftotext -layout '" + pdf + "' - 2>/dev/null");
  std::vector<std::string> pages;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\f', at);
    if (end == std::string::npos) break;
    pages.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return pages;
}

std::string firstNonBlankLine(const std::string& page) {
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);)
    if (line.find_first_not_of(' ') != std::string::npos) return line;
  return {};
}

// The value of one field of pdfinfo's answer.
std::string infoField(const std::string& info, const std::string& name) {
  std::istringstream in(info);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(name + ":", 0) == 0) {
      const std::size_t value = line.find_first_not_of(' ', name.size() + 1);
      return value == std::string::npos ? std::string() : line.substr(value);
    }
  return {};
}

// A simple property of the XMP packet, written as an element or as an attribute.
std::string xmpProperty(const std::string& meta, const std::string& name) {
  const std::size_t element = meta.find("<" + name + ">");
  if (element != std::string::npos) {
    const std::size_t start = element + name.size() + 2;
    return meta.substr(start, meta.find('<', start) - start);
  }
  for (const char quote : {'\'', '"'}) {
    const std::size_t attribute = meta.find(name + "=" + quote);
    if (attribute == std::string::npos) continue;
    const std::size_t start = attribute + name.size() + 2;
    return meta.substr(start, meta.find(quote, start) - start);
  }
  return {};
}

// What qpdf finds wrong in the file's structure and streams; "" for nothing.
std::string structureFaults(const std::string& pdf) {
  const std::string out = run("qpdf --check '" + pdf + "' 2>&1");
  return out.find("No syntax or stream encoding errors found") != std::string::npos ? "" : out;
}

std::string trimRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.pop_back();
  return text;
}

constexpr const char* kEsc = "\x1b";

// A VAT book with accents, "º", the euro sign and printer codes: reset and
// condensed print on its first line, bold around a name, page length and
// cancel-condensed on others.
std::vector<std::string> vatLines(bool withCodes) {
  const std::string reset = withCodes ? std::string(kEsc) + "@\x0f" : "";
  const std::string bold = withCodes ? std::string(kEsc) + "E" : "";
  const std::string plain = withCodes ? std::string(kEsc) + "F" : "";
  const std::string length = withCodes ? std::string(kEsc) + "C\x42\x12" : "";
  std::vector<std::string> lines{reset + "DISTRIBUIDORA DEL SUR S.A.  C\xD3RDOBA",
                                 "LIBRO I.V.A. VENTAS " + length + "Per\xEDodo Marzo",
                                 "Fecha      N\xBA Comprobante   Raz\xF3n Social (a\\b)   Total"};
  for (int i = 1; i <= 130; ++i)
    lines.push_back("0" + std::to_string(1 + i % 9) + "/03/2024 FC-A N\xBA " + std::to_string(1000 + i) + " " + bold +
                    "Farmacia N\xFA\xF1" "ez" + plain + " \x80 " + std::to_string(i * 37) + ",50");
  lines.push_back("Tasas de I.V.A.: 21%");
  return lines;
}

class PdfBookTest : public PrintJobTest {
 protected:
  void SetUp() override {
    view.perPage = "20";
    view.header = "3";
    view.between = "2";
  }
  std::string pdfFolder() const { return dir.file("PDF"); }
  PdfRequest request(PdfUse use, PdfPaper paper = PdfPaper::Form15x11) const { return {use, pdfFolder(), paper}; }

  // Runs the job on `report` with the pages and the PDF given.
  void runJob(const std::string& report, const PageSelection& selection, const PdfRequest& pdf) {
    job.setNextOptions(report, selection, pdf);
    view.report = report;
    runJobHere(job, view, jobHooks);
  }
  std::vector<std::string> pdfFiles() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(pdfFolder(), error))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<PrintRecord> records() const { return recordsOf(dir.path(), "IVAVENTAS.TXT", 100); }
};

PageSelection pages(std::int64_t first, std::optional<std::int64_t> from = {}, std::optional<std::int64_t> to = {}) {
  PageSelection selection;
  selection.firstFolio = first;
  selection.from = from;
  selection.to = to;
  return selection;
}

// The PDF holds the printed book's words page for page; every page opens
// with its stamp and folio; accents, "º" and "€" come back; codes do not.
TEST_F(PdfBookTest, PagesOfTheWholeBookAreThePrintedPagesWithTheirStamps) {
  dir.write("IVAVENTAS.TXT", joinCrLf(vatLines(false)));
  runJob("IVAVENTAS.TXT", pages(38), {});
  ASSERT_EQ(lastMessage(), kJobDone);
  const std::string printed = dir.read("WRITE.TXT");

  dir.write("IVAVENTAS.TXT", joinCrLf(vatLines(true)));
  runJob("IVAVENTAS.TXT", pages(38), request(PdfUse::InsteadOfPrinter));
  ASSERT_EQ(lastMessage(), kJobDone);
  ASSERT_EQ(pdfFiles(), std::vector<std::string>{"IVAVENTAS_folios_0038-0046.pdf"});
  const std::string pdf = dir.file("PDF/IVAVENTAS_folios_0038-0046.pdf");

  const auto text = pdfPages(pdf);
  ASSERT_EQ(text.size(), 9u);  // 130 lines under the header: 16 on each page
  std::string all;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string stamp = "Pagina: " + std::to_string(38 + i);
    const std::string top = trimRight(firstNonBlankLine(text[i]));
    EXPECT_EQ(top.substr(top.size() - stamp.size()), stamp) << "page " << i + 1;
    EXPECT_EQ(top.rfind("DISTRIBUIDORA DEL SUR S.A.", 0), 0u) << top;
    all += text[i] + "\n";
  }
  EXPECT_EQ(words(all), words(utf8(printed)));
  EXPECT_NE(all.find("N\xC2\xBA 1001 Farmacia N\xC3\xBA\xC3\xB1" "ez \xE2\x82\xAC"), std::string::npos);
  EXPECT_NE(all.find("C\xC3\x93RDOBA"), std::string::npos);
  EXPECT_EQ(all.find('@'), std::string::npos);
  EXPECT_EQ(all.find("Tasas"), std::string::npos);  // the totals stay out, as in print
  EXPECT_EQ(infoField(run("pdfinfo '" + pdf + "' 2>/dev/null"), "Pages"), "9");
}

// A reprint's PDF is those pages of the whole book's PDF, folios included.
TEST_F(PdfBookTest, ReprintPdfIsThosePagesOfTheWholeBook) {
  dir.write("IVAVENTAS.TXT", joinCrLf(vatLines(true)));
  runJob("IVAVENTAS.TXT", pages(38), request(PdfUse::InsteadOfPrinter));
  runJob("IVAVENTAS.TXT", pages(38, 40, 42), request(PdfUse::InsteadOfPrinter));
  ASSERT_EQ(lastMessage(), kJobDone);
  ASSERT_EQ(pdfFiles(), (std::vector<std::string>{"IVAVENTAS_folios_0038-0046.pdf", "IVAVENTAS_folios_0040-0042.pdf"}));
  const auto whole = pdfPages(dir.file("PDF/IVAVENTAS_folios_0038-0046.pdf"));
  const auto reprint = pdfPages(dir.file("PDF/IVAVENTAS_folios_0040-0042.pdf"));
  ASSERT_EQ(whole.size(), 9u);
  ASSERT_EQ(reprint.size(), 3u);
  for (std::size_t i = 0; i < reprint.size(); ++i) EXPECT_EQ(words(reprint[i]), words(whole[i + 2])) << i;
}

// The ledger's PDF has its own layout's pages: every account's balance ends one.
TEST_F(PdfBookTest, LedgerPdfHasTheLedgersPages) {
  std::vector<std::string> lines{"MAYOR GENERAL", "Cuenta  Descripci\xF3n", "Fecha  Debe  Haber"};
  for (int account = 1; account <= 4; ++account) {
    append(lines, numberedLines(3 + account, "  movimiento " + std::to_string(account) + "."));
    lines.push_back("SALDO FINAL: " + std::to_string(account * 1000));
  }
  dir.write("MAYOR.TXT", joinCrLf(lines));
  runJob("MAYOR.TXT", pages(1), request(PdfUse::WithPrint, PdfPaper::A4Landscape));
  ASSERT_EQ(lastMessage(), kJobDone);
  ASSERT_EQ(pdfFiles(), std::vector<std::string>{"MAYOR_folios_0001-0005.pdf"});
  const auto text = pdfPages(dir.file("PDF/MAYOR_folios_0001-0005.pdf"));
  ASSERT_EQ(text.size(), 5u);  // four accounts and the page after the last balance
  for (int account = 1; account <= 4; ++account) {
    const auto page = words(text[static_cast<std::size_t>(account - 1)]);
    EXPECT_EQ(page.back(), std::to_string(account * 1000)) << account;
  }
  std::string all;
  for (const auto& page : text) all += page;
  EXPECT_EQ(words(all), words(utf8(dir.read("WRITE.TXT"))));
  EXPECT_NE(all.find("Descripci\xC3\xB3n"), std::string::npos);
  const std::string info = run("pdfinfo '" + dir.file("PDF/MAYOR_folios_0001-0005.pdf") + "' 2>/dev/null");
  EXPECT_EQ(infoField(info, "Page size").rfind("841.89 x 595.28", 0), 0u) << infoField(info, "Page size");
}

// PDF/A-1b identification, the book's metadata and the embedded font.
TEST_F(PdfBookTest, ArchivalIdentificationMetadataAndEmbeddedFont) {
  dir.write("IVAVENTAS.TXT", joinCrLf(vatLines(false)));
  runJob("IVAVENTAS.TXT", pages(38), request(PdfUse::InsteadOfPrinter, PdfPaper::Form15x12));
  const std::string pdf = dir.file("PDF/IVAVENTAS_folios_0038-0046.pdf");
  const std::string meta = run("pdfinfo -meta '" + pdf + "' 2>/dev/null");
  EXPECT_EQ(xmpProperty(meta, "pdfaid:part"), "1") << meta;
  EXPECT_EQ(xmpProperty(meta, "pdfaid:conformance"), "B") << meta;
  EXPECT_EQ(structureFaults(pdf), "");
  const std::string info = run("pdfinfo '" + pdf + "' 2>/dev/null");
  EXPECT_EQ(infoField(info, "Title"), "IVAVENTAS.TXT, folios 38 a 46");
  EXPECT_EQ(infoField(info, "Subject"), "Reporte IVAVENTAS.TXT, folios 38 a 46, estacion " + workstationName());
  EXPECT_EQ(infoField(info, "Author"), workstationName());
  EXPECT_EQ(infoField(info, "Page size"), "1080 x 864 pts");
  EXPECT_FALSE(infoField(info, "CreationDate").empty()) << info;
  const std::string fonts = run("pdffonts '" + pdf + "' 2>/dev/null");
  EXPECT_NE(fonts.find("DejaVuSansMono"), std::string::npos) << fonts;
  const std::size_t row = fonts.find("DejaVuSansMono");
  ASSERT_NE(row, std::string::npos) << fonts;
  const auto fontRow = words(fonts.substr(row, fonts.find('\n', row) - row));
  ASSERT_GE(fontRow.size(), 6u);
  EXPECT_EQ(fontRow[1], "TrueType");
  EXPECT_EQ(fontRow[3], "yes") << "embedded";
}

// The widest line fits the page: pdftotext, cut to the page, still finds its end.
TEST_F(PdfBookTest, WidestLineFitsEveryPaper) {
  view.perPage = "66";
  std::vector<std::string> lines{"LISTADO ANCHO", "Columnas", "----"};
  lines.push_back(std::string(250, '-') + "FIN");
  dir.write("LISTADO.TXT", joinCrLf(lines));
  for (const PdfPaper paper : allPapers()) {
    runJob("LISTADO.TXT", pages(1), request(PdfUse::InsteadOfPrinter, paper));
    const PaperSize& size = paperSize(paper);
    const std::string pdf = dir.file("PDF/LISTADO_folios_0001-0001.pdf");
    const std::string cut = run("pdftotext -layout -x 0 -y 0 -W " + std::to_string(static_cast<int>(size.width)) +
                                " -H " + std::to_string(static_cast<int>(size.height)) + " '" + pdf + "' -");
    EXPECT_NE(cut.find("FIN"), std::string::npos) << paperName(paper);
    EXPECT_NE(cut.find("Pagina: 1"), std::string::npos) << paperName(paper);
    std::filesystem::remove(pdf);
  }
}

// The record names the PDF and its SHA-256; a PDF instead of the print does
// not move the next folio, one made with the print is that print's.
TEST_F(PdfBookTest, RecordNamesThePdfAndItsHash) {
  dir.write("IVAVENTAS.TXT", joinCrLf(vatLines(false)));
  runJob("IVAVENTAS.TXT", pages(38), request(PdfUse::InsteadOfPrinter));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
  EXPECT_FALSE(offeredFolio(dir.path(), "IVAVENTAS.TXT"));
  runJob("IVAVENTAS.TXT", pages(47), request(PdfUse::WithPrint));
  EXPECT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(offeredFolio(dir.path(), "IVAVENTAS.TXT"), 56);

  const auto made = records();
  ASSERT_EQ(made.size(), 2u);
  EXPECT_TRUE(made[0].pdfOnly);
  EXPECT_FALSE(made[1].pdfOnly);
  EXPECT_EQ(made[0].pdf, "IVAVENTAS_folios_0038-0046.pdf");
  EXPECT_EQ(made[1].pdf, "IVAVENTAS_folios_0047-0055.pdf");
  for (const auto& record : made) {
    const std::string sum = run("sha256sum '" + pdfFolder() + "/" + record.pdf + "'");
    EXPECT_EQ(record.pdfSha256, sum.substr(0, 64));
  }
}

// An existing PDF is replaced only when the user says so; no passing file stays.
TEST_F(PdfBookTest, ExistingPdfIsKeptUnlessTheUserAgrees) {
  dir.write("IVAVENTAS.TXT", joinCrLf(vatLines(false)));
  std::filesystem::create_directories(pdfFolder());
  dir.write("PDF/IVAVENTAS_folios_0038-0046.pdf", "el de ayer");
  dialogs.answerYes = false;
  runJob("IVAVENTAS.TXT", pages(38), request(PdfUse::WithPrint));
  ASSERT_EQ(dialogs.confirmed.size(), 1u);
  EXPECT_NE(dialogs.confirmed[0].find("IVAVENTAS_folios_0038-0046.pdf"), std::string::npos);
  EXPECT_EQ(dir.read("PDF/IVAVENTAS_folios_0038-0046.pdf"), "el de ayer");
  EXPECT_NE(lastMessage().find("no se reemplazo"), std::string::npos) << lastMessage();
  EXPECT_TRUE(launcher.started.empty());  // nothing printed either
  EXPECT_EQ(pdfFiles(), std::vector<std::string>{"IVAVENTAS_folios_0038-0046.pdf"});

  dialogs.answerYes = true;
  runJob("IVAVENTAS.TXT", pages(38), request(PdfUse::WithPrint));
  EXPECT_EQ(lastMessage(), kJobDone);
  EXPECT_EQ(pdfFiles(), std::vector<std::string>{"IVAVENTAS_folios_0038-0046.pdf"});
  const std::string bytes = dir.read("PDF/IVAVENTAS_folios_0038-0046.pdf");
  EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(records().back().pdfSha256, sha256Hex(bytes));
}

// A cancelled job leaves no PDF and no passing file.
TEST_F(PdfBookTest, CancelledJobLeavesNoFile) {
  std::vector<std::string> lines = vatLines(false);
  for (int i = 0; i < 40000; ++i) lines.push_back("relleno " + std::to_string(i));
  dir.write("LISTADO.TXT", joinCrLf(lines));
  std::atomic<bool> cancel{false};
  JobHooks hooks;
  hooks.cancel = &cancel;
  hooks.progress = [&](int percent) {
    if (percent > 0) cancel = true;
  };
  jobHooks = hooks;
  for (const PdfUse use : {PdfUse::InsteadOfPrinter, PdfUse::WithPrint}) {
    cancel = false;
    runJob("LISTADO.TXT", pages(1), request(use));
    EXPECT_EQ(lastMessage(), kJobCancelled);
    EXPECT_TRUE(pdfFiles().empty());
  }
  EXPECT_TRUE(launcher.started.empty());
}

// A folder that cannot be made: the job says so and prints nothing.
TEST_F(PdfBookTest, PdfFolderThatCannotBeMadeStopsTheJob) {
  dir.write("IVAVENTAS.TXT", joinCrLf(vatLines(false)));
  dir.write("PDF", "un archivo, no una carpeta");
  runJob("IVAVENTAS.TXT", pages(1), request(PdfUse::WithPrint));
  EXPECT_NE(lastMessage().find("No se pudo crear la carpeta de los PDF"), std::string::npos) << lastMessage();
  EXPECT_TRUE(launcher.started.empty());
  ASSERT_EQ(records().size(), 1u);
  EXPECT_EQ(records()[0].outcome, RecordOutcome::Failed);
  EXPECT_TRUE(records()[0].pdf.empty());
}

// The folder and paper go into the profile's own section: the file keeps
// its sections, and a profile without them gets "PDF" beside the program.
// A profile whose destination is "PDF": every F10 makes a PDF where the
// profile keeps them, and nothing goes to the printer or the work file.
TEST_F(PdfBookTest, ProfileWhoseDestinationIsAPdfMakesOneInsteadOfThePrint) {
  giveReport("IVAVENTAS.TXT", numberedLines(60, "venta \xF1 "));
  dir.write("WRITE.TXT", "anterior");
  view.destinationText = "PDF";
  view.pdf = request(PdfUse::None);
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), kJobDone);
  EXPECT_TRUE(std::filesystem::exists(nativePath(joinPath(pdfFolder(), "IVAVENTAS_folios_0001-0004.pdf"))));
  EXPECT_EQ(dir.read("WRITE.TXT"), "anterior");
  EXPECT_TRUE(launcher.started.empty());
  const auto record = parseRecord(splitCrLf(dir.read(kRecordFileName)).back());
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->pdfOnly);
  EXPECT_EQ(record->destination, "PDF");
  EXPECT_FALSE(offeredFolio(dir.path(), "IVAVENTAS.TXT"));
}

TEST(PdfSettings, KeptInTheProfilesSection) {
  TempFolder folder;
  const std::string ini = "[EPSON 11 PULGADAS]\r\nRENGLONES POR PAGINA=66\r\n[OKI]\r\nLPT=2\r\n";
  folder.write("Pliegomatic.ini", ini);
  cInifile file;
  file.Path(folder.file("Pliegomatic.ini"));
  const PdfRequest none = pdfSettingsOf(file, "EPSON 11 PULGADAS", folder.path());
  EXPECT_EQ(none.folder, folder.file("PDF"));
  EXPECT_EQ(none.paper, PdfPaper::Form15x11);

  PdfRequest chosen{PdfUse::WithPrint, "/srv/libros", PdfPaper::LegalLandscape};
  ASSERT_TRUE(keepPdfSettings(file, "epson 11 pulgadas", chosen));
  EXPECT_EQ(folder.read("Pliegomatic.ini"),
            "[EPSON 11 PULGADAS]\r\nRENGLONES POR PAGINA=66\r\nCARPETA PDF=/srv/libros\r\n"
            "HOJA PDF=Oficio (Legal) apaisada\r\n[OKI]\r\nLPT=2\r\n");
  const PdfRequest back = pdfSettingsOf(file, "EPSON 11 PULGADAS", folder.path());
  EXPECT_EQ(back.folder, "/srv/libros");
  EXPECT_EQ(back.paper, PdfPaper::LegalLandscape);
  EXPECT_EQ(back.use, PdfUse::None);  // the use is asked for each job
  EXPECT_EQ(pdfSettingsOf(file, "OKI", folder.path()).folder, folder.file("PDF"));
  std::vector<std::string> sections;
  std::int32_t count = 0;
  file.EnumerateAllSections(sections, count);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(keepPdfSettings(file, "", chosen));  // no profile: nothing written
  EXPECT_EQ(folder.read("Pliegomatic.ini").find("[]"), std::string::npos);
}

struct CodeCase {
  const char* what;
  std::string line;
  const char* printed;
};

TEST(PrintedText, PrinterCodesAreLeftOut) {
  const CodeCase cases[] = {
      {"reset and condensed", "\x1b@\x0fLIBRO", "LIBRO"},
      {"page length in lines", "\x1b" "C\x42" "A", "A"},
      {"page length in inches", std::string("\x1b" "C\0\x0b" "B", 5), "B"},
      {"bold on and off", "a\x1b" "Eb\x1b" "Fc", "abc"},
      {"cancel condensed, double width", "\x12x\x0ey\x14z", "xyz"},
      {"a parameter that looks like a letter", "\x1b" "W1ancho\x1b" "W0", "ancho"},
      {"a length-prefixed command", std::string("\x1b(U\x01\x00\x0aRESTO", 11), "RESTO"},
      {"ESC at the very end", "fin\x1b", "fin"},
      {"a tab goes to the next column of 8", "ab\tc", "ab      c"},
      {"code-page letters stay", "N\xBA \xD1" "and\xFA \x80", "N\xBA \xD1" "and\xFA \x80"},
  };
  for (const auto& c : cases) EXPECT_EQ(printedText(c.line), c.printed) << c.what;
}

TEST(PdfFileName, ReportAndFoliosOfFourDigitsAtLeast) {
  EXPECT_EQ(pdfFileName("IVAVENTAS.TXT", 38, 74), "IVAVENTAS_folios_0038-0074.pdf");
  EXPECT_EQ(pdfFileName(" MAYOR.TXT ", 1, 12345), "MAYOR_folios_0001-12345.pdf");
  EXPECT_EQ(pdfFileName("LISTADO", 7, 7), "LISTADO_folios_0007-0007.pdf");
}

}  // namespace

// A book of more pages than one page-tree node holds: every page is there,
// in order, and the file's structure is sound.
TEST_F(PdfBookTest, LongBookKeepsEveryPageInOrder) {
  view.perPage = "5";
  view.header = "1";
  view.between = "0";
  std::vector<std::string> lines{"LISTADO LARGO"};
  append(lines, numberedLines(9000 * 3, " renglon."));
  dir.write("LISTADO.TXT", joinCrLf(lines));
  runJob("LISTADO.TXT", pages(1), request(PdfUse::InsteadOfPrinter));
  ASSERT_EQ(lastMessage(), kJobDone);
  const std::string pdf = dir.file("PDF/LISTADO_folios_0001-9000.pdf");
  EXPECT_EQ(infoField(run("pdfinfo '" + pdf + "' 2>/dev/null"), "Pages"), "9000");
  EXPECT_EQ(structureFaults(pdf), "");
  for (const int page : {1, 4096, 4097, 8193, 9000}) {
    const std::string text =
        run("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf + "' -");
    EXPECT_NE(text.find("Pagina: " + std::to_string(page)), std::string::npos) << page << ": " << text;
  }
}

// A font file that is no font makes no PDF, and the job says so.
TEST(PdfBookFile, FontThatIsNoFontMakesNoPdf) {
  TempFolder dir;
  dir.write("falsa.ttf", "esto no es una letra");
  PdfBook book(dir.file("libro.pdf"), dir.file("falsa.ttf"), PdfPaper::Form15x11, 66);
  book.beginPage(1);
  book.line("LIBRO");
  EXPECT_FALSE(book.finish(PdfBookInfo{"LIBRO.TXT", "estacion", 1, 1}));
}
#endif
