// F10 through the window's own message boxes: real key presses on the focused
// control, the real boxes answered as a user answers them, and one job for
// one press.
#include <QCheckBox>
#include <algorithm>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "platform/launcher.hpp"
#include "window/system_settings.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const char* const kOneProfileIni =
    "[EPSON 11 PULGADAS]\r\nRENGLONES POR PAGINA=66\r\nRENGLONES DEL ENCABEZADO=2\r\n"
    "RENGLONES ENTRE PAGINAS=0\r\nLPT=1\r\nNUMERO DE PAGINA=1\r\n";

std::string shortLedger() {
  std::string text = "EMPRESA DEMO S.A.\r\nLIBRO MAYOR\r\n";
  for (int i = 1; i <= 5; ++i) text += "CAJA  01/03  " + std::to_string(i) + "00,00\r\n";
  return text + "SALDO FINAL: 1500,00\r\n";
}

// The window on a folder with a ledger and a profile, the ledger selected.
void openWithLedgerSelected(WindowFixture& f) {
  f.write("MAYOR.TXT", shortLedger());
  f.write("Pliegomatic.ini", kOneProfileIni);
  f.realBoxes = true;
  f.open();
  f.control<QListWidget>("List1")->setCurrentRow(0);
}

int lineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

class PrintKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(installSpanishTranslation(*QCoreApplication::instance())); }

  void oneF10PrintsOnce_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("preview");
    const int byReturn = int(BoxAnswerer::By::Return);
    const int byClick = int(BoxAnswerer::By::ClickOnAceptar);
    QTest::newRow("report list, Return") << "List1" << int(Qt::NoModifier) << byReturn << false;
    QTest::newRow("report list, Aceptar") << "List1" << int(Qt::NoModifier) << byClick << false;
    QTest::newRow("text box, Shift, Return") << "txtRenglonesPagina" << int(Qt::ShiftModifier) << byReturn << false;
    QTest::newRow("profile list, Aceptar") << "List2" << int(Qt::NoModifier) << byClick << false;
    QTest::newRow("check box, Shift, Aceptar") << "chkTotalesDeIVA" << int(Qt::ShiftModifier) << byClick << false;
    QTest::newRow("button, Return") << "cmdSalir" << int(Qt::NoModifier) << byReturn << false;
    QTest::newRow("preview, text box, Return") << "txtLPT" << int(Qt::NoModifier) << byReturn << true;
    QTest::newRow("preview, report list, Shift, Aceptar") << "List1" << int(Qt::ShiftModifier) << byClick << true;
  }
  void oneF10PrintsOnce() {
    QFETCH(QString, control);
    QFETCH(int, modifiers);
    QFETCH(int, answer);
    QFETCH(bool, preview);
    WindowFixture f;
    openWithLedgerSelected(f);
    f.control<QCheckBox>("chkPreview")->setChecked(preview);
    auto* focused = f.control<QWidget>(control.toLatin1().constData());
    focused->setFocus();
    QCOMPARE(QApplication::focusWidget(), focused);
    BoxAnswerer boxes{BoxAnswerer::By(answer)};

    QTest::keyClick(focused, Qt::Key_F10, Qt::KeyboardModifiers(modifiers));
    QVERIFY(f.jobEnded());

    QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
    QCOMPARE(boxes.buttons, QStringList{"Aceptar"});
    QCOMPARE(f.launcher.started.size(), std::size_t{1});
#ifdef _WIN32
    QCOMPARE(f.launcher.started[0].command.program, preview ? textEditorPath() : f.file("IMPRIMIR.BAT"));
#else
    QCOMPARE(f.launcher.started[0].command.program, std::string(preview ? "xdg-open" : "/bin/sh"));
#endif
  }

  void aValidationMessageShowsOnce_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Return") << int(BoxAnswerer::By::Return);
    QTest::newRow("Aceptar") << int(BoxAnswerer::By::ClickOnAceptar);
  }
  void aValidationMessageShowsOnce() {
    QFETCH(int, answer);
    WindowFixture f;
    f.write("MAYOR.TXT", shortLedger());
    f.write("Pliegomatic.ini", kOneProfileIni);
    f.realBoxes = true;
    f.open();
    auto* box = f.control<QLineEdit>("txtRenglonesEncabezado");
    box->setFocus();
    BoxAnswerer boxes{BoxAnswerer::By(answer)};

    QTest::keyClick(box, Qt::Key_F10);

    QCOMPARE(boxes.texts, QStringList{"Debe seleccionar el archivo a imprimir"});
    QVERIFY(f.launcher.started.empty());
    QVERIFY(!f.exists("WRITE.TXT"));
  }

  // The real print script, started by the system's launcher, runs once per
  // press, and a second press prints a second copy.
  void eachF10RunsThePrintScriptOnce() {
    WindowFixture f;
    SystemLauncher launcher;
    f.otherLauncher = &launcher;
#ifdef _WIN32
    f.write("imprimir.bat", ">>corridas.log echo %1\r\n");
    const std::string twoRuns = "1\r\n1\r\n";
#else
    f.write("imprimir.sh", "echo \"$1\" >> corridas.log\n");
    const std::string twoRuns = "1\n1\n";
#endif
    openWithLedgerSelected(f);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    auto* reports = f.control<QListWidget>("List1");
    reports->setFocus();

    QTest::keyClick(reports, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QVERIFY(launcher.waitForTracked(std::chrono::seconds(60)));
    QCOMPARE(lineCount(f.read("corridas.log")), 1);

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : f.window.get(), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QVERIFY(launcher.waitForTracked(std::chrono::seconds(60)));
    QCOMPARE(f.read("corridas.log"), twoRuns);
    QCOMPARE(boxes.texts, (QStringList{"Impresion Finalizada", "Impresion Finalizada"}));
  }
};

QTEST_MAIN(PrintKeysTest)
#include "test_print_keys.moc"
