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
  fs::remove(path, ignored);
}

}  // namespace pliego
