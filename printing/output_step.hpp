#pragma once
// The job's last step: the work file shown in the text editor, or copied to
// the printer port by the print script.
#include <cstdint>
#include <string>

#include "platform/launcher.hpp"
#include "platform/system_names.hpp"

namespace pliego {

// Opens `file` (the job's copy of the work file) in the text editor,
// maximised, in `folder`, without waiting. Throws JobError when the editor
// cannot be started.
void showPreview(ProgramLauncher& launcher, const std::string& folder, const std::string& file);

// Runs the print script with the port number, hidden, in `folder`, without
// waiting; creates the script first when it is missing. Throws JobError when
// the script cannot be created or started, or when a link or a folder stands
// at its name.
// `lockHandle` is handed to the script, so that the work file stays locked
// until the copy to the port ends.
// `runIn`, when given, is the folder the script runs in, whose WRITE.TXT it
// copies instead of the program's (the work file with the printer's set-up).
void EnviarAImpresora(ProgramLauncher& launcher, const std::string& folder, std::int16_t port,
                      InheritableHandle lockHandle = kNoHandle, const std::string& runIn = {});

}  // namespace pliego
