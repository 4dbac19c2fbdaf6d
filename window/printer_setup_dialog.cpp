#include "window/printer_setup_dialog.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

namespace pliego {

namespace {

QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items, int current) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->addItems(items);
  box->setCurrentIndex(current);
  return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  return box;
}

}  // namespace

PrinterSetupDialog::PrinterSetupDialog(const PrinterSetup& shown, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmConfigurarImpresora"));
  setWindowTitle(QStringLiteral("Configurar impresora"));
  cboJuegoDeComandos = comboBox(this, "cboJuegoDeComandos", {"Ninguno", "Epson ESC/P", "IBM Proprinter"},
                                static_cast<int>(shown.commands));
  cboCaracteresPorPulgada =
      comboBox(this, "cboCaracteresPorPulgada", {"10", "12", "17.1", "20"}, static_cast<int>(shown.pitch));
  txtColumnasDelCarro = new QLineEdit(QString::number(shown.carriageColumns), this);
  txtColumnasDelCarro->setObjectName(QStringLiteral("txtColumnasDelCarro"));
  txtColumnasDelCarro->setValidator(new QIntValidator(0, 999, txtColumnasDelCarro));
  cboTablaDeCaracteres = comboBox(this, "cboTablaDeCaracteres", {"Como el archivo", "PC437", "PC850", "PC858"},
                                  static_cast<int>(shown.table));
  cboAlTerminar = comboBox(this, "cboAlTerminar", {"Nada", "Salto de pagina"}, static_cast<int>(shown.end));
  chkCodigosUnaVez = checkBox(this, "chkCodigosUnaVez", QStringLiteral("Codigos del encabezado una vez al &comienzo"),
                              shown.headerCodesOnce);
  chkReemplazarSimbolos = checkBox(this, "chkReemplazarSimbolos",
                                   QStringLiteral("&Reemplazar los simbolos de Windows"), shown.foldTypography);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Juego de comandos"), cboJuegoDeComandos);
  form->addRow(QStringLiteral("Caracteres por &pulgada"), cboCaracteresPorPulgada);
  form->addRow(QStringLiteral("Columnas del ca&rro (a 10 por pulgada)"), txtColumnasDelCarro);
  form->addRow(QStringLiteral("&Tabla de caracteres"), cboTablaDeCaracteres);
  form->addRow(QStringLiteral("Al &terminar"), cboAlTerminar);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* alignment = buttons->addButton(QStringLiteral("Prueba de &alineacion"), QDialogButtonBox::ActionRole);
  alignment->setObjectName(QStringLiteral("cmdPruebaDeAlineacion"));
  connect(alignment, &QPushButton::clicked, this, [this] { done(AlignmentTest); });
  auto* advance = buttons->addButton(QStringLiteral("Avanzar &formulario"), QDialogButtonBox::ActionRole);
  advance->setObjectName(QStringLiteral("cmdAvanzarFormulario"));
  connect(advance, &QPushButton::clicked, this, [this] { done(FormAdvance); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(chkCodigosUnaVez);
  layout->addWidget(chkReemplazarSimbolos);
  layout->addWidget(buttons);
  cboJuegoDeComandos->setFocus();
}

PrinterSetup PrinterSetupDialog::setup() const {
  PrinterSetup s;
  s.commands = static_cast<CommandSet>(cboJuegoDeComandos->currentIndex());
  s.pitch = static_cast<Pitch>(cboCaracteresPorPulgada->currentIndex());
  s.carriageColumns = txtColumnasDelCarro->text().toInt();
  s.table = static_cast<CharTable>(cboTablaDeCaracteres->currentIndex());
  s.end = static_cast<JobEnd>(cboAlTerminar->currentIndex());
  s.headerCodesOnce = chkCodigosUnaVez->isChecked();
  s.foldTypography = chkReemplazarSimbolos->isChecked();
  return s;
}

}  // namespace pliego
