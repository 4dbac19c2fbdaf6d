#include "printing/work_file.hpp"

#include <filesystem>
#include <system_error>

#include "common/system_error_text.hpp"
#include "platform/files.hpp"
#include "printing/job_error.hpp"

namespace fs = std::filesystem;

namespace pliego {

namespace {
constexpr const char* kNothingPrinted = "No se imprimio nada.";
}

std::string notPlainFileMessage(const std::string& path, const std::string& consequence) {
  return "El archivo " + path + " es un enlace, una carpeta u otro nombre de otro archivo, y no se usa. " +
         "Quitelo de la carpeta y vuelva a intentar. " + consequence;
}

void refuseUnlessPlainOrMissing(const std::string& path) {
  std::error_code error;
  const auto status = fs::symlink_status(nativePath(path), error);
  if (!error && fs::exists(status) && !fs::is_regular_file(status))
    throw JobError(notPlainFileMessage(path, kNothingPrinted));
}

void createWorkFile(LineWriter& out, const std::string& path) {
  const OwnFile opened = createOwnFile(path);
  if (opened.notPlain) throw JobError(notPlainFileMessage(path, kNothingPrinted));
  if (!opened.file)
    throw JobError("No se pudo crear el archivo de trabajo " + path + ": " + systemErrorText(opened.error) + ". " +
                   kNothingPrinted);
  out.adopt(opened.file);
}

std::string workFileWriteFailed(const std::string& path, int error) {
  const std::string reason = error != 0 ? systemErrorText(error) : "el disco esta lleno o no tiene permiso";
  return "No se pudo escribir el archivo de trabajo " + path + ": " + reason + ". " + kNothingPrinted;
}

void discardFile(const std::string& path) {
  std::error_code ignored;
  fs::remove(nativePath(path), ignored);
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
  try {
    const std::string name = narrowPath(nativePath(workPath_).filename());
    copy_ = joinPath(privateTempFolder(), name);
    passing_ = copy_ + ".nuevo";
  } catch (const fs::filesystem_error& failure) {
    throw JobError(failedBecause(systemErrorText(failure.code())));
  }
  const OwnFile opened = createOwnFile(passing_);
  if (opened.file) return out.mirrorTo(opened.file);
  passing_.clear();
  throw JobError(writeFailed(opened.error));
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
