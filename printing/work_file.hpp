#pragma once
// The files a job writes in the shared folder: what is told when writing
// one fails, and their removal.
#include <string>

namespace pliego {

// The message for a work file whose writing failed with `error` (an errno).
std::string workFileWriteFailed(const std::string& path, int error);

// Removes a file the job wrote and could not finish.
void discardFile(const std::string& path);

}  // namespace pliego
