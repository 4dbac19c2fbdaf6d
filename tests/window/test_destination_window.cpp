// The destination of a profile chosen in the window: typed or picked from
// the system's printers, saved with "Guardar Impresora", and the print
// going there from F10, with Esc stopping a printer that takes nothing.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "printing/pdf_output.hpp"
#include "support/printer_peers.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const char* const kProfileIni =
    "[EPSON 11 PULGADAS]\r\nRENGLONES POR PAGINA=66\r\nRENGLONES DEL ENCABEZADO=2\r\n"
    "RENGLONES ENTRE PAGINAS=0\r\nLPT=1\r\nNUMERO DE PAGINA=1\r\n";

QComboBox* destinationBox(WindowFixture& f) { return f.control<QComboBox>("cboDestino"); }

// Clicks into the box, empties it and types `text` as a user would.
void typeDestination(WindowFixture& f, const QString& text) {
  QComboBox* box = destinationBox(f);
  QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
  box->lineEdit()->selectAll();
  QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
  QTest::keyClicks(box->lineEdit(), text);
}

std::string report() {
  std::string bytes = "\x1B@\x0F" "LIBRO IVA VENTAS\r\nFecha  Cliente\r\n";
  for (int i = 1; i <= 200; ++i) bytes += "factura \xBA " + std::to_string(i) + "\r\n";
  return bytes;
}

}  // namespace

class DestinationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theBoxSitsInFreeSpaceAndComesLastInTabOrder() {
    WindowFixture f;
    f.open();
    QComboBox* box = destinationBox(f);
    QVERIFY(box);
    for (QWidget* other : box->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (other != box) QVERIFY2(!other->geometry().intersects(box->geometry()), qPrintable(other->objectName()));
    QVERIFY(box->parentWidget()->rect().contains(box->geometry()));
    f.control<QPushButton>("cmdOpciones")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cboDestino"));
  }

  void typedDestinationIsSavedWithTheProfileAndLoadedAgain() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kProfileIni);
    f.open();
    QCOMPARE(destinationBox(f)->currentText(), QString());  // no key: the script, as always
    typeDestination(f, QStringLiteral("RED:10.0.0.5:9100"));
    QTest::mouseClick(f.control<QPushButton>("cmdGuardarImpresora"), Qt::LeftButton);
    QCOMPARE(f.read("Pliegomatic.ini"), std::string(kProfileIni) + "DESTINO=RED:10.0.0.5:9100\r\n");

    typeDestination(f, QStringLiteral("otra cosa"));
    auto* list = f.control<QListWidget>("List2");
    list->clearSelection();
    list->setCurrentRow(0);
    QCOMPARE(destinationBox(f)->currentText(), QStringLiteral("RED:10.0.0.5:9100"));
  }

  void f10PrintsToTheNetworkPrinterTyped() {
    LoopbackPrinter printer;
    WindowFixture f;
    f.write("Pliegomatic.ini", kProfileIni);
    f.write("IVAVENTAS.TXT", report());
    f.open();
    f.control<QListWidget>("List1")->setCurrentRow(0);
    typeDestination(f, QStringLiteral("RED:127.0.0.1:%1").arg(printer.port()));
    QTest::keyClick(destinationBox(f)->lineEdit(), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(f.dialogs.informed.back(), std::string("Impresion Finalizada"));
    QCOMPARE(printer.received(), f.read("WRITE.TXT"));
    QVERIFY(!f.exists("imprimir.sh"));
    QVERIFY(f.launcher.started.empty());
  }

  void pdfChosenFromTheListMakesAPdfInsteadOfThePrint() {
    if (!pdfAvailable()) QSKIP("this build makes no PDF");
    WindowFixture f;
    f.write("Pliegomatic.ini", kProfileIni);
    f.write("IVAVENTAS.TXT", report());
    f.open();
    f.control<QListWidget>("List1")->setCurrentRow(0);
    QComboBox* box = destinationBox(f);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);  // opens the list
    QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(box->currentText(), QStringLiteral("PDF"));
    QTest::keyClick(box, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(f.dialogs.informed.back(), std::string("Impresion Finalizada"));
    QVERIFY(f.exists("PDF/IVAVENTAS_folios_0001-0004.pdf"));
    QVERIFY(!f.exists("WRITE.TXT"));
    QVERIFY(!f.exists("imprimir.sh"));
    QVERIFY(f.control<QLabel>("Label1")->text().endsWith(QStringLiteral("PDF IVAVENTAS_folios_0001-0004.pdf")));
  }

  // From "Configurar...": Alt+A sends the set-up and one ruled page, Alt+F
  // the set-up and one blank page, to the profile's printer; WRITE.TXT and
  // the record are left alone.
  void alignmentTestAndFormAdvanceGoToThePrinterFromTheSetUpDialog() {
    LoopbackPrinter printer;
    WindowFixture f;
    f.write("Pliegomatic.ini", std::string(kProfileIni) + "DESTINO=RED:127.0.0.1:" + std::to_string(printer.port()) +
                                   "\r\nJUEGO DE COMANDOS=EPSON ESC/P\r\n");
    f.write("IVAVENTAS.TXT", report());
    f.open();
    f.control<QListWidget>("List1")->setCurrentRow(0);
    // The key goes to the dialog's focused box as soon as the dialog shows.
    const auto pressInTheDialog = [&](Qt::Key key) {
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        // Until the dialog has the focus the key would go to the window.
        QWidget* focused = QApplication::focusWidget();
        if (!dialog || !dialog->isVisible() || !focused || !dialog->isAncestorOf(focused)) return;
        poll.stop();
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
      });
      poll.start(20);
      QTest::mouseClick(f.control<QPushButton>("cmdConfigurarImpresora"), Qt::LeftButton);
      QVERIFY(f.jobEnded());
    };
    pressInTheDialog(Qt::Key_A);
    QCOMPARE(f.control<QLabel>("Label1")->text(), QStringLiteral("Prueba de alineacion enviada a la impresora."));
    const std::string page = printer.received(1);
    QVERIFY(page.rfind("\x1B@", 0) == 0);
    QVERIFY(page.find("Pagina: 1") != std::string::npos);
    QVERIFY(page.find("Ultimo renglon de la pagina") != std::string::npos);
    QVERIFY(page.find("LIBRO IVA VENTAS") != std::string::npos);

    pressInTheDialog(Qt::Key_F);
    QCOMPARE(f.control<QLabel>("Label1")->text(), QStringLiteral("Avance de formulario enviado a la impresora."));
    const std::string advance = printer.received(2).substr(page.size());
    QVERIFY(advance.rfind("\x1B@", 0) == 0);
    QCOMPARE(std::count(advance.begin(), advance.end(), '\n'), std::ptrdiff_t{65});  // one page of 66, as laid out
    QVERIFY(!f.exists("WRITE.TXT"));
    QVERIFY(!f.exists("PLIEGOMATIC.LOG"));
  }

  void escStopsAPrinterThatTakesNothing() {
    LoopbackPrinter printer{LoopbackPrinter::Mode::NeverReads};
    WindowFixture f;
    f.write("Pliegomatic.ini", kProfileIni);
    std::string big = "\x1B@LIBRO\r\nencabezado\r\n";
    for (int i = 0; i < 300000; ++i) big += "renglon largo de un libro que llena la red " + std::to_string(i) + "\r\n";
    f.write("IVAVENTAS.TXT", big);
    f.open();
    f.control<QListWidget>("List1")->setCurrentRow(0);
    typeDestination(f, QStringLiteral("RED:127.0.0.1:%1").arg(printer.port()));
    QTest::keyClick(destinationBox(f)->lineEdit(), Qt::Key_F10);
    QTRY_VERIFY_WITH_TIMEOUT(f.control<QLabel>("Label1")->text().startsWith(QStringLiteral("Enviando a la impresora")),
                             20000);
    QVERIFY(f.window->printing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(f.jobEnded(10000));
    QVERIFY2(f.dialogs.informed.back().find("Se cancelo la impresion. La impresora pudo haber recibido parte") !=
                 std::string::npos,
             f.dialogs.informed.back().c_str());
  }

  void systemPrintersAreOfferedWhenTheListOpens() {
    CupsServer cups;
    if (!cups.running()) QSKIP("cupsd could not be started here (it needs root and Debian's cups)");
    LoopbackPrinter printer;
    QVERIFY(cups.addRawQueue("matriz", "socket://127.0.0.1:" + std::to_string(printer.port())));
    const auto spooler = systemSpooler(cups.address());
    WindowFixture f;
    f.spooler = spooler.get();
    f.write("Pliegomatic.ini", kProfileIni);
    f.write("IVAVENTAS.TXT", report());
    f.open();
    f.control<QListWidget>("List1")->setCurrentRow(0);
    QComboBox* box = destinationBox(f);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);  // opens the list
    QTRY_VERIFY_WITH_TIMEOUT(box->findText(QStringLiteral("IMPRESORA:matriz")) >= 0, 10000);
    QTest::keyClick(box->view(), Qt::Key_End);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(box->currentText(), QStringLiteral("IMPRESORA:matriz"));
    QTest::keyClick(box, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(f.dialogs.informed.back(), std::string("Impresion Finalizada"));
    QCOMPARE(printer.received(), f.read("WRITE.TXT"));
  }
};

QTEST_MAIN(DestinationWindowTest)
#include "test_destination_window.moc"
