#include "platform/system_names.hpp"

#include <winsock2.h>

namespace pliego {

const char* const kPrintScriptName = "IMPRIMIR.BAT";
const char* const kPrintScriptLine = "TYPE WRITE.TXT > LPT%1\r\n";

const char* const kPortAdvice = "";
const char* const kGroupAdvice = "";

Command textEditorCommand(const std::string& file, const std::string& folder) {
  return {textEditorPath(), {file}, folder, WindowStyle::MaximizedWithFocus};
}

Command printScriptCommand(const std::string& script, std::int16_t port, const std::string& folder,
                           InheritableHandle lockHandle) {
  return {script, {std::to_string(port)}, folder, WindowStyle::Hidden, lockHandle};
}

bool missingFromPath(const std::string&) { return false; }

NetworkFault networkFault(int code) {
  switch (code) {
    case WSAECONNREFUSED: return NetworkFault::Refused;
    case WSAEHOSTUNREACH:
    case WSAENETUNREACH: return NetworkFault::Unreachable;
    case WSAETIMEDOUT: return NetworkFault::TimedOut;
    case WSAECONNRESET:
    case WSAECONNABORTED: return NetworkFault::Cut;
    default: return NetworkFault::Other;
  }
}

}  // namespace pliego
