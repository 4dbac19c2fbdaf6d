#pragma once
// What the status line shows while a job's work runs, in the system's
// encoding, as the status line keeps its text.
#include <string>

#include "printing/pagination.hpp"

namespace pliego {

// As the job starts, before the report is read.
inline constexpr const char* kProcessingCaption = "Procesando Archivo. Aguarde..";

// While the report is read (`percent` below 100), then while the work file
// goes to the screen (`preview`) or to the printer.
std::string progressCaption(int percent, bool preview);
// While the job waits for the copy still printing or another workstation's.
std::string waitingCaption(WaitingFor what, int minutes);
// While the pages go to a printer that takes them slowly.
std::string sendingCaption(int percent);

}  // namespace pliego
