// The PDF's own structure, checked on every system the program runs on:
// the header, the cross reference table whose every entry points at its
// object, and the end of the file. With PLIEGO_PDF_SAMPLE naming a file, the
// book is also left there, for poppler and qpdf to read it where they run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files.hpp"
#include "printing/pdf_output.hpp"
#include "printing/print_fixture.hpp"
#include "support/run_job.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

// Where each cross reference entry says object k starts, "k 0 obj" stands.
std::string crossReferenceFaults(const std::string& pdf) {
  const std::size_t start = pdf.rfind("startxref\n");
  if (start == std::string::npos) return "no startxref";
  const std::size_t table = std::stoull(pdf.substr(start + 10));
  if (pdf.compare(table, 5, "xref\n") != 0) return "startxref does not point at the table";
  std::size_t at = pdf.find('\n', table + 5) + 1;
  const std::size_t count = std::stoull(pdf.substr(pdf.find(' ', table) + 1));
  std::string faults;
  for (std::size_t object = 0; object < count; ++object, at += 20) {
    if (pdf.compare(at + 18, 2, "\r\n") != 0) return "entry " + std::to_string(object) + " is not 20 bytes";
    if (object == 0) continue;
    const std::size_t offset = std::stoull(pdf.substr(at, 10));
    const std::string head = std::to_string(object) + " 0 obj\n";
    if (pdf.compare(offset, head.size(), head) != 0) faults += "object " + std::to_string(object) + "; ";
  }
  return faults;
}

}  // namespace

TEST_F(PrintJobTest, PdfOfABookHasASoundStructure) {
  view.perPage = "20";
  view.header = "2";
  std::vector<std::string> lines{"\x1b@LIBRO I.V.A. COMPRAS  C\xD3RDOBA", "Fecha  N\xBA  Raz\xF3n Social"};
  append(lines, numberedLines(60, "Farmacia N\xFA\xF1" "ez (sucursal) \\ "));
  giveReport("IVACOMPRAS.TXT", lines);
  job.setNextOptions("IVACOMPRAS.TXT", PageSelection{}, PdfRequest{PdfUse::InsteadOfPrinter, dir.file("PDF"), {}});
  runJobHere(job, view);
  ASSERT_EQ(lastMessage(), kJobDone);
  const std::string pdf = dir.read("PDF/IVACOMPRAS_folios_0001-0004.pdf");
  EXPECT_EQ(pdf.rfind("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", 0), 0u);
  EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
  EXPECT_EQ(crossReferenceFaults(pdf), "");
  EXPECT_EQ(pdf.find("LIBRO I.V.A."), std::string::npos) << "the pages are compressed";
  if (const char* sample = std::getenv("PLIEGO_PDF_SAMPLE"))
    std::filesystem::copy_file(nativePath(dir.file("PDF/IVACOMPRAS_folios_0001-0004.pdf")), nativePath(sample),
                               std::filesystem::copy_options::overwrite_existing);
}
