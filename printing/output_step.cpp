#include "printing/output_step.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "common/system_error_text.hpp"

#include "platform/files.hpp"
#include "printing/job_error.hpp"
#include "printing/work_file.hpp"

namespace pliego {

namespace {

// The script found in `folder` without regard to case, created when missing.
// A link found there is refused, never followed: the program would run, or
// create, whatever file it names.
std::string printScript(const std::string& folder) {
  const std::string nothingSent = "No se envio nada a la impresora.";
  if (const auto found = findEntryNoCase(folder, kPrintScriptName)) {
    const std::string path = joinPath(folder, *found);
    if (!isPlainFileNoLink(path)) throw JobError(notPlainFileMessage(path, nothingSent));
    return path;
  }
  const std::string path = joinPath(folder, kPrintScriptName);
  const OwnFile created = createOwnFile(path, true);
  if (created.notPlain()) throw JobError(notPlainFileMessage(path, nothingSent));
  const auto refuse = [&](const std::error_code& error) {
    return JobError("No se pudo crear el archivo " + path + ": " + systemErrorText(error) + ". " + nothingSent);
  };
  if (!created.file) throw refuse(created.error);
  const std::size_t size = std::strlen(kPrintScriptLine);
  int written = std::fwrite(kPrintScriptLine, 1, size, created.file) == size ? 0 : errno;
  if (std::fclose(created.file) != 0 && written == 0) written = errno;
  if (written != 0) {
    std::remove(path.c_str());
    throw refuse({written, std::generic_category()});
  }
  return path;
}

}  // namespace

void showPreview(ProgramLauncher& launcher, const std::string& folder, const std::string& file) {
  const Command command = textEditorCommand(file, folder);
  const std::error_code error = launcher.start(command);
  if (!error) return;
  if (missingFromPath(command.program))
    throw JobError("No se pudo abrir el visor de texto: el programa " + command.program +
                   " no esta instalado. Instale el paquete xdg-utils y vuelva a intentar la "
                   "vista previa.");
  throw JobError("No se pudo abrir el visor de texto (" + describe(command) + "): " + systemErrorText(error));
}

void EnviarAImpresora(ProgramLauncher& launcher, const std::string& folder, std::int16_t port,
                      InheritableHandle lockHandle, const std::string& runIn) {
  const std::string script = printScript(folder);
  const std::string where = runIn.empty() ? folder : runIn;
  const Command command = printScriptCommand(script, port, where, lockHandle);
  if (const std::error_code error = launcher.startTracked(command))
    throw JobError("No se pudo enviar el archivo a la impresora (" + describe(command) + "): " +
                   systemErrorText(error));
}

}  // namespace pliego
