#pragma once
// cboDestino: where the selected profile's jobs go, as its "DESTINO" key
// says. Empty means the print script with the LPT port. The list offers the
// system's printers, read when it is opened; a network printer or a device
// is typed.
#include <QComboBox>
#include <QStringList>
#include <thread>

#include "platform/print_spooler.hpp"

namespace pliego {

class DestinationBox : public QComboBox {
  Q_OBJECT

 public:
  DestinationBox(PrintSpooler& spooler, QWidget* parent);
  ~DestinationBox() override;

  QString text() const { return currentText(); }
  void setText(const QString& text);
  void showPopup() override;
  // Waits for a listing of the printers that is under way (tests).
  void waitForPrinters();

 private:
  void readPrinters();
  void showPrinters(const QStringList& printers);

  PrintSpooler& spooler_;
  std::thread listing_;
};

}  // namespace pliego
