#include "printing/work_file.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/system_error_text.hpp"
#include "platform/files.hpp"
#include "printing/job_error.hpp"

namespace fs = std::filesystem;

namespace pliego {

namespace {
constexpr const char* kNothingPrinted = "No se imprimio nada.";

// Removes a file the job wrote and could not finish.
void discardFile(const std::string& path) {
  std::error_code ignored;
  fs::remove(nativePath(path), ignored);
}
}  // namespace

std::string notPlainFileMessage(const std::string& path, const std::string& consequence) {
  return "El archivo " + path + " es un enlace, una carpeta, una tuberia, un dispositivo u otro nombre de otro " +
         "archivo, y no se usa. " +
         "Quitelo de la carpeta y vuelva a intentar. " + consequence;
}

void refuseUnlessPlainOrMissing(const std::string& path) {
  std::error_code error;
  const auto status = fs::symlink_status(nativePath(path), error);
  if (!error && fs::exists(status) && !fs::is_regular_file(status))
    throw JobError(notPlainFileMessage(path, kNothingPrinted));
}

std::string workFileWriteFailed(const std::string& path, int error) {
  const std::string reason = error != 0 ? systemErrorText(error) : "el disco esta lleno o no tiene permiso";
  return "No se pudo escribir el archivo de trabajo " + path + ": " + reason + ". " + kNothingPrinted;
}

// In a folder that lets a file be written but not its name be replaced (a
// sticky folder, another workstation's file), the new bytes are written into it.
std::error_code copyIntoWorkFile(const std::string& from, const std::string& to) {
  std::FILE* in = openFile(from, "rb");
  if (!in) return {errno, std::generic_category()};
  const OwnFile out = createOwnFile(to, false, true);
  if (!out.file) {
    std::fclose(in);
    return out.notPlain() ? std::error_code(EISDIR, std::generic_category()) : out.error;
  }
  std::vector<char> block(1 << 20);
  int error = 0;
  for (std::size_t n = 0; error == 0 && (n = std::fread(block.data(), 1, block.size(), in)) > 0;)
    if (std::fwrite(block.data(), 1, n, out.file) != n) error = errno != 0 ? errno : EIO;
  if (error == 0 && std::ferror(in)) error = EIO;
  std::fclose(in);
  if (std::fclose(out.file) != 0 && error == 0) error = errno;
  if (error == 0) discardFile(from);
  return {error, std::generic_category()};
}

PendingWorkFile::PendingWorkFile(std::string path) : path_(std::move(path)) {
  const OwnFile opened = createOwnFile(path_, false, true);
  if (opened.notPlain()) throw JobError(notPlainFileMessage(path_, kNothingPrinted));
  if (!opened.file)
    throw JobError("No se pudo crear el archivo de trabajo " + path_ + ": " + systemErrorText(opened.error) + ". " +
                   kNothingPrinted);
  writer_.adopt(opened.file);
}

// Closed first: Windows removes no open file.
PendingWorkFile::~PendingWorkFile() {
  if (kept_) return;
  writer_.close();
  discardFile(path_);
}

std::string PreviewCopy::writeFailed(int error) const {
  return failedBecause(error != 0 ? systemErrorText(error) : "el disco esta lleno o no tiene permiso");
}

std::string PreviewCopy::failedBecause(const std::string& reason) const {
  return "No se pudo copiar el archivo de trabajo " + workPath_ + " para mostrarlo: " + reason + ".";
}

// Written under a passing name and renamed, so that an editor that still
// shows an earlier copy keeps its text.
void PreviewCopy::start(LineWriter& out) {
  std::string temp;
  if (const std::error_code error = privateTempFolder(temp)) throw JobError(failedBecause(systemErrorText(error)));
  copy_ = joinPath(temp, narrowPath(nativePath(workPath_).filename()));
  passing_ = copy_ + ".nuevo";
  const OwnFile opened = createOwnFile(passing_);
  if (opened.file) return out.mirrorTo(opened.file);
  passing_.clear();
  throw JobError(opened.notPlain() ? writeFailed(0) : failedBecause(systemErrorText(opened.error)));
}

std::string PreviewCopy::finish() {
  std::error_code error;
  fs::rename(nativePath(passing_), nativePath(copy_), error);
  if (error) {
    discard();
    throw JobError(failedBecause(systemErrorText(error)));
  }
  passing_.clear();
  return copy_;
}

void PreviewCopy::discard() {
  if (!passing_.empty()) discardFile(passing_);
  passing_.clear();
}

}  // namespace pliego
