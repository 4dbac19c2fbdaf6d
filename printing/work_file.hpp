#pragma once
// The files a job writes in the shared folder: created only as plain files
// of their own, removed when the job fails, and copied for the preview.
#include <string>

#include "common/line_io.hpp"

namespace pliego {

// What the user is told when something other than a plain file of its own
// stands at `path`; `consequence` ends the sentence ("No se imprimio nada.").
std::string notPlainFileMessage(const std::string& path, const std::string& consequence);

// Throws JobError when something other than a plain file stands at `path`
// (nothing at all is fine): the ledger's rename would replace it.
void refuseUnlessPlainOrMissing(const std::string& path);

// Opens `out` on the work file `path`, created or emptied. Throws JobError
// when a link or a folder stands there, or when it cannot be created.
void createWorkFile(LineWriter& out, const std::string& path);

// The message for a work file whose writing failed with `error` (an errno).
std::string workFileWriteFailed(const std::string& path, int error);

// Removes a file the job wrote and could not finish.
void discardFile(const std::string& path);

// Copies the finished work file to this workstation's private temporary
// folder, under the same name, and returns the copy's path: the preview
// shows it, whatever another workstation writes in the shared folder
// afterwards. Throws JobError when the copy cannot be made.
std::string copyForPreview(const std::string& workPath);

}  // namespace pliego
