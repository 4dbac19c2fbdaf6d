#include "printing/job_captions.hpp"

#include "common/code_page.hpp"

namespace pliego {

namespace {

constexpr const char* kEscCancels = " Esc cancela la impresion.";

}  // namespace

std::string progressCaption(int percent, bool preview) {
  if (percent < 100) return std::string(kProcessingCaption) + " " + std::to_string(percent) + "%." + kEscCancels;
  return std::string(preview ? "Abriendo la vista previa. Aguarde.." : "Enviando a la impresora. Aguarde..") +
         kEscCancels;
}

std::string waitingCaption(WaitingFor what, int minutes) {
  const char* copy = what == WaitingFor::EarlierCopy ? "la impresion anterior" : "la impresion de otra estacion";
  return std::string("Esperando que termine ") + copy + cp1252ToSystem("\x85") + " " + std::to_string(minutes) +
         " min. Esc cancela la espera.";
}

std::string sendingCaption(int percent) {
  return "Enviando a la impresora. Aguarde.. " + std::to_string(percent) + "%." + kEscCancels;
}

}  // namespace pliego
