// The window's part of the printer set-up: the "Configurar impresora..."
// button and the set-up it keeps for the selected profile.
#include "window/frm_pliegomatic.hpp"
#include "window/printer_setup_dialog.hpp"

namespace pliego {

void frmPliegomatic::cmdConfigurarImpresora_Click() {
  PrinterSetupDialog dialog(readPrinterSetup(printerSetup_), this);
  if (dialog.exec() != QDialog::Accepted) return;
  printerSetup_ = printerSetupTexts(dialog.setup());
}

std::optional<PrinterSetupTexts> frmPliegomatic::printerSetup() const { return printerSetup_; }

void frmPliegomatic::setPrinterSetup(const PrinterSetupTexts& texts) { printerSetup_ = texts; }

PrinterSetupTexts frmPliegomatic::profilePrinterSetup() const { return printerSetup_; }

}  // namespace pliego
