// The window's part of the printer set-up: the "Configurar impresora..."
// button and the set-up it keeps for the selected profile.
#include "window/frm_pliegomatic.hpp"
#include "window/printer_setup_dialog.hpp"

namespace pliego {

// The set-up chosen holds for the next jobs, and is saved with "Guardar
// Impresora"; "Prueba de alineacion" and "Avanzar formulario" send their page
// with it at once, on the job's thread.
void frmPliegomatic::cmdConfigurarImpresora_Click() {
  PrinterSetupDialog dialog(readPrinterSetup(printerSetup_), this);
  const int ending = dialog.exec();
  if (ending == QDialog::Rejected) return;
  printerSetup_ = printerSetupTexts(dialog.setup());
  if (ending != PrinterSetupDialog::AlignmentTest && ending != PrinterSetupDialog::FormAdvance) return;
  const JobFields fields = readJobFields(*this);
  if (!ValidarDatos(fields)) return;
  startJob(printJob_->prepareTestPage(
      fields, ending == PrinterSetupDialog::AlignmentTest ? JobPurpose::AlignmentTest : JobPurpose::FormAdvance));
}

std::optional<PrinterSetupTexts> frmPliegomatic::printerSetup() const { return printerSetup_; }

void frmPliegomatic::setPrinterSetup(const PrinterSetupTexts& texts) { printerSetup_ = texts; }

PrinterSetupTexts frmPliegomatic::profilePrinterSetup() const { return printerSetup_; }

}  // namespace pliego
