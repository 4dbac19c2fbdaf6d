#include "window/destination_box.hpp"

#include <QLineEdit>
#include <QMetaObject>

#include "window/qt_text.hpp"

namespace pliego {

namespace {

const QString kScript = QStringLiteral("LPT");
const QString kPdf = QStringLiteral("PDF");
const QString kPrinterPrefix = QStringLiteral("IMPRESORA:");

}  // namespace

DestinationBox::DestinationBox(PrintSpooler& spooler, QWidget* parent) : QComboBox(parent), spooler_(spooler) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  addItem(kScript);
  addItem(kPdf);
  setCurrentIndex(-1);
  lineEdit()->setPlaceholderText(QStringLiteral("Destino: LPT"));
  setToolTip(QStringLiteral(
      "Destino de la impresora: LPT para el archivo de impresion con el puerto indicado, IMPRESORA:nombre para una "
      "impresora del sistema, RED:equipo:puerto para una impresora de red (puerto 9100 si no se indica) o "
      "DISPOSITIVO:ruta para un dispositivo como /dev/usb/lp0, o PDF para un archivo PDF en lugar de la impresora. "
      "Se guarda con Guardar Impresora."));
  setAccessibleName(QStringLiteral("Destino de la impresora"));
}

DestinationBox::~DestinationBox() { waitForPrinters(); }

void DestinationBox::setText(const QString& text) {
  setCurrentIndex(-1);
  setEditText(text);
}

void DestinationBox::showPopup() {
  readPrinters();
  QComboBox::showPopup();
}

void DestinationBox::waitForPrinters() {
  if (listing_.joinable()) listing_.join();
}

// The spooler may be slow to answer: it is asked on a thread of its own.
void DestinationBox::readPrinters() {
  waitForPrinters();
  listing_ = std::thread([this] {
    std::error_code error;
    QStringList printers;
    for (const std::string& name : spooler_.printers(error)) printers << kPrinterPrefix + toQt(name);
    QMetaObject::invokeMethod(this, [this, printers] { showPrinters(printers); }, Qt::QueuedConnection);
  });
}

// The list changes under an open popup and a typed text without disturbing
// either: printers gone are removed, new ones added at the end.
void DestinationBox::showPrinters(const QStringList& printers) {
  const QString typed = currentText();
  const bool picked = currentIndex() >= 0;
  for (int i = count() - 1; i > 1; --i)
    if (!printers.contains(itemText(i))) removeItem(i);
  for (const QString& printer : printers)
    if (findText(printer) < 0) addItem(printer);
  if (!picked && currentText() != typed) setEditText(typed);
}

}  // namespace pliego
