#include "printing/pdf_output.hpp"

#include <cmath>
#include <filesystem>
#include <random>
#include <system_error>

#include "common/text.hpp"
#include "settings/cinifile.hpp"
#include "common/system_error_text.hpp"
#include "platform/files.hpp"
#include "platform/identity.hpp"
#include "printing/job_error.hpp"

namespace fs = std::filesystem;

namespace pliego {

namespace {

// Unique to this workstation's job, in the folder of the PDFs.
std::string passingName() {
  std::string station;
  for (const char c : workstationName())
    station += (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? c : '_';
  std::random_device random;
  return "pdf_" + station + "_" + std::to_string(random()) + std::to_string(random()) + ".nuevo";
}

}  // namespace

std::string defaultPdfFolder(const std::string& programFolder) { return joinPath(programFolder, "PDF"); }

namespace {

// Reads one key of the profile's section; "" when it is not there.
std::string profileValue(cInifile& ini, const std::string& profile, const char* key) {
  ini.Section(toUpperAscii(profile));
  ini.Key(key);
  ini.Default("");
  return ini.Value();
}

}  // namespace

PdfRequest pdfSettingsOf(const cInifile& kept, const std::string& profile, const std::string& programFolder) {
  PdfRequest request;
  request.folder = defaultPdfFolder(programFolder);
  if (trimSpaces(profile).empty()) return request;
  cInifile ini = kept;  // the window's accessor keeps its section and key
  const std::string folder = profileValue(ini, profile, kPdfFolderKey);
  if (!trimSpaces(folder).empty()) request.folder = folder;
  request.paper = paperFromName(profileValue(ini, profile, kPdfPaperKey));
  return request;
}

bool keepPdfSettings(cInifile& ini, const std::string& profile, const PdfRequest& request) {
  if (trimSpaces(profile).empty()) return true;
  ini.Section(toUpperAscii(profile));
  const std::vector<ProfileEntry> entries{{kPdfFolderKey, request.folder}, {kPdfPaperKey, paperName(request.paper)}};
  return ini.WriteEntries(entries).empty();
}

std::int64_t sheetLines(const PageRules& rules) {
  const double page = rules.kind == ReportKind::Ledger ? rules.ledgerLinesPerPage : rules.linesPerPage;
  const double lines = std::ceil(std::max(page, 1.0)) + std::max(rules.linesBetween, 0);
  return static_cast<std::int64_t>(std::min(lines, 65536.0));
}

struct PdfOutput::Book {
  Book(const std::string& path, const std::string& font, PdfPaper paper, std::int64_t lines)
      : book(path, font, paper, lines) {}
  PdfBook book;
};

PdfOutput::PdfOutput(const PdfRequest& request, const PageRules& rules) : folder_(request.folder) {
  const std::string font = pdfFontPath();
  if (font.empty())
    throw JobError("No se encontro la letra DejaVuSansMono.ttf para el PDF. Instale el paquete fonts-dejavu-core "
                   "o copie ese archivo a la carpeta del programa. No se hizo el PDF.");
  std::error_code error;
  fs::create_directories(nativePath(folder_), error);
  if (error || !fs::is_directory(nativePath(folder_), error))
    throw JobError("No se pudo crear la carpeta de los PDF " + folder_ + ": " +
                   systemErrorText(error ? error : std::make_error_code(std::errc::not_a_directory)) +
                   ". No se hizo el PDF.");
  passing_ = joinPath(folder_, passingName());
  book_ = std::make_unique<Book>(passing_, font, request.paper, sheetLines(rules));
}

// The passing file is closed before it is removed: Windows removes no open file.
PdfOutput::~PdfOutput() {
  book_.reset();
  std::error_code ignored;
  if (!passing_.empty()) fs::remove(nativePath(passing_), ignored);
}

PageSink* PdfOutput::sink() { return &book_->book; }

PdfMade PdfOutput::finish(const PdfBookInfo& info, const ConfirmReplace& confirm, const std::string& nothingDone) {
  if (!book_->book.finish(info))
    throw JobError("No se pudo escribir el PDF en la carpeta " + folder_ + ". " + nothingDone);
  PdfMade made;
  made.sha256 = book_->book.sha256();
  book_.reset();
  made.name = pdfFileName(info.report, info.firstFolio, info.lastFolio);
  made.path = joinPath(folder_, made.name);
  // A new name is taken only when it is free; a name in use is replaced
  // only when the user says so.
  std::error_code error;
  fs::create_hard_link(nativePath(passing_), nativePath(made.path), error);
  if (!error) {
    fs::remove(nativePath(passing_), error);
    passing_.clear();
    return made;
  }
  if (fs::exists(nativePath(made.path), error) && !(confirm && confirm(made.path)))
    throw JobCancelled("Ya existe el archivo " + made.path + " y no se reemplazo. " + nothingDone);
  fs::rename(nativePath(passing_), nativePath(made.path), error);
  if (error)
    throw JobError("No se pudo dar su nombre al PDF " + made.path + ": " + systemErrorText(error) + ". " +
                   nothingDone);
  passing_.clear();
  return made;
}

}  // namespace pliego
