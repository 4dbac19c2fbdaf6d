#include "printing/work_file.hpp"

#include <filesystem>
#include <system_error>

#include "common/system_error_text.hpp"

namespace fs = std::filesystem;

namespace pliego {

namespace {
constexpr const char* kNothingPrinted = "No se imprimio nada.";
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
