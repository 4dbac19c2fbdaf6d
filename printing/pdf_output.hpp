#pragma once
// The PDF of a job: instead of the print or with it. The job's layout draws
// its pages into the book; the book is written under a passing name in the
// PDF folder, hashed, and only then given its name, which an existing file
// keeps unless the user agrees to replace it.
#include <functional>
#include <memory>
#include <string>

#include "printing/page_gate.hpp"
#include "printing/page_rules.hpp"
#include "printing/pdf_book.hpp"

namespace pliego {

enum class PdfUse { None, InsteadOfPrinter, WithPrint };

// What the user asked of the PDF for one job. A job whose profile sends it
// to a PDF takes pdfSettingsOf(...) with `use` InsteadOfPrinter as its
// JobSettings::pdf; runPrintWork does the rest, progress and cancel included.
struct PdfRequest {
  PdfUse use = PdfUse::None;
  std::string folder;  // where it goes; made when missing
  PdfPaper paper = PdfPaper::Form15x11;
};

// The keys of the profile section that keep the PDF folder and paper, and
// the folder used when the profile has none: "PDF" beside the program.
inline constexpr const char* kPdfFolderKey = "CARPETA PDF";
inline constexpr const char* kPdfPaperKey = "HOJA PDF";
std::string defaultPdfFolder(const std::string& programFolder);

class cInifile;

// The PDF folder and paper kept in `profile`'s section of the INI (the
// defaults when it keeps none, or when no profile is given).
PdfRequest pdfSettingsOf(const cInifile& ini, const std::string& profile, const std::string& programFolder);
// Keeps them there; false when the INI could not be written. Nothing is
// written for no profile.
bool keepPdfSettings(cInifile& ini, const std::string& profile, const PdfRequest& request);

// The lines of one sheet: the page and the lines between pages.
std::int64_t sheetLines(const PageRules& rules);

// The PDF written, as the record names it.
struct PdfMade {
  std::string path;    // the file, in the system's encoding
  std::string name;    // its name alone
  std::string sha256;  // of its bytes
};

// Asked when the PDF's name is taken: true to replace the file at `path`.
using ConfirmReplace = std::function<bool(const std::string& path)>;

class PdfOutput {
 public:
  // Throws JobError when the folder cannot be made or no font is found.
  PdfOutput(const PdfRequest& request, const PageRules& rules);
  ~PdfOutput();  // removes the passing file when the PDF was not finished
  PdfOutput(const PdfOutput&) = delete;
  PdfOutput& operator=(const PdfOutput&) = delete;

  PageSink* sink();
  // Writes the PDF of the pages laid out and gives it its name. Throws
  // JobError when it cannot, JobCancelled when the user keeps an existing
  // file; `nothingDone` ends those messages.
  PdfMade finish(const PdfBookInfo& info, const ConfirmReplace& confirm, const std::string& nothingDone);

 private:
  struct Book;
  std::unique_ptr<Book> book_;
  std::string folder_, passing_;
};

}  // namespace pliego
