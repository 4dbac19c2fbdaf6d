#pragma once
// What the print job does differently on each system: the print script's
// name and line, the programs it starts, the hints its messages give, and
// how the system names a network fault.
#include <cstdint>
#include <string>

#include "platform/launcher.hpp"

namespace pliego {

// The print script's name, and the one line it holds when the program
// creates it (it is never rewritten afterwards, whatever the user made of it).
// On Linux the line copies to the port's device only when it is one: run as
// root, a plain redirection would create a file where the device is missing.
extern const char* const kPrintScriptName;
extern const char* const kPrintScriptLine;

// Said after "conectada al puerto indicado" and after "permiso para escribir
// en ese dispositivo": how a port is named, and who may write to it ("" on
// Windows).
extern const char* const kPortAdvice;
extern const char* const kGroupAdvice;

// The text editor showing `file`, maximised, in `folder`.
Command textEditorCommand(const std::string& file, const std::string& folder);

// The print script at `script` run with the port number, hidden, in
// `folder`, keeping `lockHandle` open.
Command printScriptCommand(const std::string& script, std::int16_t port, const std::string& folder,
                           InheritableHandle lockHandle);

// True when `program` is a name that no folder of PATH holds, as the
// launcher looks it up (Linux); on Windows programs are started by full path.
bool missingFromPath(const std::string& program);

// A fault of a connection to a network printer.
enum class NetworkFault { Other, Refused, Unreachable, TimedOut, Cut };

// What `code`, an error of the system's sockets (errno, or a Winsock code), is.
NetworkFault networkFault(int code);

}  // namespace pliego
