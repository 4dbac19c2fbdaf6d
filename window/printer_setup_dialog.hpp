#pragma once
// "Configurar impresora": the printer's set-up of the selected profile, kept
// by the window until "Guardar Impresora" writes it with the profile.
#include <QDialog>

#include "printing/printer_setup.hpp"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace pliego {

class PrinterSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // What the dialog ends with, besides Accepted and Rejected: the set-up is
  // kept, and a page to line the form up is sent with it.
  enum Ending { AlignmentTest = 2, FormAdvance = 3 };

  PrinterSetupDialog(const PrinterSetup& shown, QWidget* parent = nullptr);

  // The values as the boxes hold them.
  PrinterSetup setup() const;

 private:
  QComboBox* cboJuegoDeComandos = nullptr;
  QComboBox* cboCaracteresPorPulgada = nullptr;
  QLineEdit* txtColumnasDelCarro = nullptr;
  QComboBox* cboTablaDeCaracteres = nullptr;
  QComboBox* cboAlTerminar = nullptr;
  QCheckBox* chkCodigosUnaVez = nullptr;
  QCheckBox* chkReemplazarSimbolos = nullptr;
};

}  // namespace pliego
