// The printer set-up from the window: the button in the tab order, the
// dialog worked with keys, "Guardar Impresora" and a print with it.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "window/printer_setup_dialog.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const char* const kIni =
    "[EPSON ANCHA]\r\nRENGLONES POR PAGINA=20\r\nRENGLONES DEL ENCABEZADO=2\r\nRENGLONES ENTRE PAGINAS=0\r\n"
    "LPT=1\r\nNUMERO DE PAGINA=1\r\n";

using SetupUser = DialogUser<PrinterSetupDialog>;

void pick(PrinterSetupDialog& dialog, const char* box, int downs) {
  auto* combo = dialog.findChild<QComboBox*>(box);
  combo->setFocus();
  for (int i = 0; i < downs; ++i) QTest::keyClick(combo, Qt::Key_Down);
}

}  // namespace

class PrinterSetupWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The button joins the tab order at the end, after the destination box.
  void theButtonComesLastInTheTabOrder() {
    WindowFixture f;
    f.open();
    auto* options = f.control<QWidget>("cboDestino");
    auto* button = f.control<QPushButton>("cmdConfigurarImpresora");
    QVERIFY(button);
    options->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(button));
    QCOMPARE(button->text(), QStringLiteral("Configurar..."));
    // In the frame's free corner: it covers no other control.
    for (auto* other : button->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (other != button && other->isVisible()) QVERIFY2(!other->geometry().intersects(button->geometry()),
                                                          qPrintable(other->objectName()));
  }

  // Keys in the dialog, Guardar Impresora, and a print that leaves the
  // header's printer codes out of the work file.
  void theSetUpTypedInTheDialogIsSavedAndPrintedWith() {
    WindowFixture f;
    std::string report = "\x1B@\x0F" "EMPRESA\r\nFECHA  CUENTA\r\n";
    for (int i = 1; i <= 60; ++i) report += "asiento " + std::to_string(i) + "\r\n";
    f.write("IVAVENTAS.TXT", report);
    f.write("Pliegomatic.ini", kIni);
    f.realBoxes = true;
    f.open();
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    auto* profiles = f.control<QListWidget>("List2");
    profiles->setFocus();
    QTest::keyClick(profiles, Qt::Key_Down);
    QCOMPARE(selectedRow(profiles), 0);

    SetupUser user([](PrinterSetupDialog& dialog) {
      pick(dialog, "cboJuegoDeComandos", 1);       // Epson ESC/P
      pick(dialog, "cboCaracteresPorPulgada", 2);  // 17.1
      auto* columns = dialog.findChild<QLineEdit*>("txtColumnasDelCarro");
      columns->setFocus();
      columns->selectAll();
      QTest::keyClicks(columns, "136");
      pick(dialog, "cboTablaDeCaracteres", 2);  // PC850
      auto* once = dialog.findChild<QCheckBox*>("chkCodigosUnaVez");
      once->setFocus();
      QTest::keyClick(once, Qt::Key_Space);
      QTest::keyClick(columns, Qt::Key_Return);
    });
    auto* button = f.control<QPushButton>("cmdConfigurarImpresora");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QVERIFY(user.done());

    QTest::mouseClick(f.control<QPushButton>("cmdGuardarImpresora"), Qt::LeftButton);
    const std::string saved = f.read("Pliegomatic.ini");
    QVERIFY2(saved.find("JUEGO DE COMANDOS=EPSON ESC/P\r\nCARACTERES POR PULGADA=17.1\r\nCOLUMNAS DEL CARRO=136\r\n"
                        "TABLA DE CARACTERES=PC850\r\nAL TERMINAR=NADA\r\nCODIGOS DEL ENCABEZADO=UNA VEZ AL COMIENZO\r\n"
                        "REEMPLAZAR SIMBOLOS=NO\r\n") != std::string::npos,
             saved.c_str());

    auto* reports = f.control<QListWidget>("List1");
    reports->setFocus();
    reports->setCurrentRow(0);
    QTest::keyClick(reports, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    const std::string work = f.read("WRITE.TXT");
    QVERIFY(work.find("EMPRESA") != std::string::npos);
    QCOMPARE(work.find('\x1B'), std::string::npos);
    QCOMPARE(boxes.texts.back(), QStringLiteral("Impresion Finalizada"));
  }

  // Another profile brings its own set-up, and Cancelar keeps the one shown.
  void selectingAProfileLoadsItsSetUpAndCancelKeepsIt() {
    WindowFixture f;
    f.write("Pliegomatic.ini", std::string(kIni) + "JUEGO DE COMANDOS=IBM PROPRINTER\r\n" +
                                   "[SIN CODIGOS]\r\nRENGLONES POR PAGINA=66\r\n");
    f.open();
    // The start-up selects the first profile.
    auto* profiles = f.control<QListWidget>("List2");
    QCOMPARE(selectedRow(profiles), 0);
    int shownCommands = -1;
    SetupUser first([&](PrinterSetupDialog& dialog) {
      shownCommands = dialog.findChild<QComboBox*>("cboJuegoDeComandos")->currentIndex();
      pick(dialog, "cboJuegoDeComandos", 1);
      QTest::keyClick(dialog.findChild<QComboBox*>("cboJuegoDeComandos"), Qt::Key_Escape);
    });
    QTest::mouseClick(f.control<QPushButton>("cmdConfigurarImpresora"), Qt::LeftButton);
    QVERIFY(first.done());
    QCOMPARE(shownCommands, 2);
    QCOMPARE(f.window->profilePrinterSetup().commands, std::string("IBM PROPRINTER"));

    profiles->setFocus();
    QTest::keyClick(profiles, Qt::Key_Down);
    QCOMPARE(selectedRow(profiles), 1);
    QCOMPARE(f.window->profilePrinterSetup(), PrinterSetupTexts{});
  }
};

QTEST_MAIN(PrinterSetupWindowTest)
#include "test_printer_setup_window.moc"
