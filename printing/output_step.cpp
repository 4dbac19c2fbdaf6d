#include "printing/output_step.hpp"

#include <cstdio>
#include <cstring>

#include "common/line_io.hpp"
#include "platform/files.hpp"
#include "printing/job_error.hpp"

namespace pliego {

namespace {

// The script found in `folder` without regard to case, created when missing.
std::string printScript(const std::string& folder) {
  if (const auto found = findFileNoCase(folder, kPrintScriptName)) return joinPath(folder, *found);
  const std::string path = joinPath(folder, kPrintScriptName);
  std::FILE* file = openFile(path, "wb");
  const std::size_t size = std::strlen(kPrintScriptLine);
  const bool written = file && std::fwrite(kPrintScriptLine, 1, size, file) == size;
  const bool closed = file && std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(path.c_str());
    throw JobError("No se pudo crear el archivo " + path + ". No se envio nada a la impresora.");
  }
  return path;
}

std::string describe(const Command& command) {
  std::string text = command.program;
  for (const auto& argument : command.arguments) text += " " + argument;
  return text;
}

}  // namespace

void showPreview(ProgramLauncher& launcher, const std::string& folder) {
#ifdef _WIN32
  const Command command{"notepad", {joinPath(folder, "write.txt")}, folder, WindowStyle::MaximizedWithFocus};
#else
  const Command command{"xdg-open", {joinPath(folder, "WRITE.TXT")}, folder, WindowStyle::MaximizedWithFocus};
#endif
  const std::string error = launcher.start(command);
  if (!error.empty())
    throw JobError("No se pudo abrir el visor de texto (" + describe(command) + "): " + error);
}

void EnviarAImpresora(ProgramLauncher& launcher, const std::string& folder, std::int16_t port, int lockHandle) {
  const std::string script = printScript(folder);
#ifdef _WIN32
  const Command command{script, {std::to_string(port)}, folder, WindowStyle::Hidden, lockHandle};
#else
  const Command command{"/bin/sh", {script, std::to_string(port)}, folder, WindowStyle::Hidden, lockHandle};
#endif
  const std::string error = launcher.startTracked(command);
  if (!error.empty())
    throw JobError("No se pudo enviar el archivo a la impresora (" + describe(command) + "): " + error);
}

}  // namespace pliego
