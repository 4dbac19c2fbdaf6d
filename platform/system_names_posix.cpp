#include "platform/system_names.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "platform/files.hpp"

namespace pliego {

const char* const kPrintScriptName = "imprimir.sh";
const char* const kPrintScriptLine =
    "d=/dev/lp$(($1 - 1)); if [ -c \"$d\" ]; then cat WRITE.TXT > \"$d\"; "
    "else echo \"No hay una impresora en $d: no existe o no es un dispositivo.\" >&2; exit 1; fi\n";

const char* const kPortAdvice = " (el puerto 1 es /dev/lp0, el 2 es /dev/lp1)";
const char* const kGroupAdvice = " (debe pertenecer al grupo lp)";

Command textEditorCommand(const std::string& file, const std::string& folder) {
  return {"xdg-open", {file}, folder, WindowStyle::MaximizedWithFocus};
}

Command printScriptCommand(const std::string& script, std::int16_t port, const std::string& folder,
                           InheritableHandle lockHandle) {
  return {"/bin/sh", {script, std::to_string(port)}, folder, WindowStyle::Hidden, lockHandle};
}

bool missingFromPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "";
  for (;;) {
    const std::size_t colon = folders.find(':');
    const std::string folder(folders.substr(0, colon));
    if (access(joinPath(folder.empty() ? "." : folder, program).c_str(), X_OK) == 0) return false;
    if (colon == std::string_view::npos) return true;
    folders.remove_prefix(colon + 1);
  }
}

NetworkFault networkFault(int code) {
  switch (code) {
    case ECONNREFUSED: return NetworkFault::Refused;
    case EHOSTUNREACH:
    case ENETUNREACH: return NetworkFault::Unreachable;
    case ETIMEDOUT: return NetworkFault::TimedOut;
    case ECONNRESET:
    case EPIPE: return NetworkFault::Cut;
    default: return NetworkFault::Other;
  }
}

}  // namespace pliego
