// A whole print job started from the window: F10 or the button, the fields as
// typed, "WRITE.TXT" written, and the preview or the print script started.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "platform/launcher.hpp"
#include "platform/files.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

// Records the text a label shows each time it is painted.
class PaintedTexts : public QObject {
 public:
  QStringList texts;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QString text = static_cast<QLabel*>(watched)->text();
      if (texts.isEmpty() || texts.last() != text) texts << text;
    }
    return false;
  }
};

std::vector<std::string> crLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) break;
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// A VAT sales book: three header lines, twelve entries, then its totals.
std::string salesBook() {
  std::string text = "DISTRIBUIDORA EL A\xD1IL S.A.\r\nLIBRO IVA VENTAS\r\nFECHA  COMPROBANTE  IMPORTE\r\n";
  for (int i = 1; i <= 12; ++i) text += "01/03  FC-A " + std::to_string(1000 + i) + "  " + std::to_string(i) + "00,00\r\n";
  text += "Tasas de I.V.A.:\r\n21%  2.520,00\r\n";
  return text;
}

}  // namespace

class PrintFromWindowTest : public QObject {
  Q_OBJECT

 private:
  static void prepare(WindowFixture& f) {
    f.write("IVAVENTAS.TXT", salesBook());
    f.write("Pliegomatic.ini", "[EPSON 11 PULGADAS]\r\nRENGLONES POR PAGINA=66\r\nRENGLONES DEL ENCABEZADO=3\r\n"
                               "RENGLONES ENTRE PAGINAS=0\r\nLPT=1\r\nNUMERO DE PAGINA=1\r\n");
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    reports->setCurrentRow(0);
  }

 private slots:
  void f10PreviewsTheWorkFileWithTheFieldsAsTyped() {
    WindowFixture f;
    prepare(f);
    auto* status = f.control<QLabel>("Label1");
    PaintedTexts painted;
    status->installEventFilter(&painted);
    f.control<QCheckBox>("chkPreview")->setChecked(true);
    auto* perPage = f.control<QLineEdit>("txtRenglonesPagina");
    perPage->setFocus();
    perPage->selectAll();
    QTest::keyClicks(perPage, "10");

    QTest::keyClick(perPage, Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(f.jobEnded());

    const auto lines = crLfLines(f.read("WRITE.TXT"));
    QVERIFY(lines.size() > 10);
    QCOMPARE(lines[0].size(), std::size_t{192});
    QVERIFY(lines[0].ends_with(" Pagina: 1"));
    // Ten lines a page: nine report lines, then the header again for page 2.
    QVERIFY(lines[9].ends_with(" Pagina: 2"));
    QVERIFY(f.read("WRITE.TXT").find("Tasas de I.V.A.:") == std::string::npos);

    QCOMPARE(f.launcher.started.size(), std::size_t{1});
    const Command& preview = f.launcher.started[0].command;
#ifdef _WIN32
    QCOMPARE(preview.program, textEditorPath());
#else
    QCOMPARE(preview.program, std::string("xdg-open"));
#endif
    // The editor opens this job's own copy, which no other workstation rewrites.
    QCOMPARE(preview.arguments.size(), std::size_t{1});
    QVERIFY(preview.arguments[0] != f.file("WRITE.TXT"));
    QVERIFY(preview.arguments[0].ends_with("WRITE.TXT"));
    std::ifstream shown(nativePath(preview.arguments[0]), std::ios::binary);
    QCOMPARE(std::string(std::istreambuf_iterator<char>(shown), {}), f.read("WRITE.TXT"));
    QCOMPARE(f.dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
    QCOMPARE(status->text(), QStringLiteral("IVAVENTAS.TXT: 3 paginas, folios 1 a 3, ancho 192 columnas"));
    QVERIFY(painted.texts.contains(QStringLiteral("Procesando Archivo. Aguarde..")));
  }

  void theButtonSendsTheWorkFileThroughThePrintScript() {
    WindowFixture f;
    prepare(f);
    f.control<QCheckBox>("chkTotalesDeIVA")->setChecked(true);
    auto* port = f.control<QLineEdit>("txtLPT");
    port->setText(QStringLiteral("2"));

    QTest::mouseClick(f.control<QPushButton>("cmdImprimir"), Qt::LeftButton);
    QVERIFY(f.jobEnded());

    QVERIFY(f.read("WRITE.TXT").find("Tasas de I.V.A.:") != std::string::npos);
    QCOMPARE(f.launcher.started.size(), std::size_t{1});
    const Command& print = f.launcher.started[0].command;
#ifdef _WIN32
    QCOMPARE(f.read("IMPRIMIR.BAT"), std::string("TYPE WRITE.TXT > LPT%1\r\n"));
    QCOMPARE(print.program, f.file("IMPRIMIR.BAT"));
    QCOMPARE(print.arguments, std::vector<std::string>{"2"});
#else
    QCOMPARE(f.read("imprimir.sh"),
             std::string("d=/dev/lp$(($1 - 1)); if [ -c \"$d\" ]; then cat WRITE.TXT > \"$d\"; "
                         "else echo \"No hay una impresora en $d: no existe o no es un dispositivo.\" >&2; exit 1; fi\n"));
    QCOMPARE(print.program, std::string("/bin/sh"));
    QCOMPARE(print.arguments, (std::vector<std::string>{f.file("imprimir.sh"), "2"}));
#endif
    QCOMPARE(print.workingFolder, f.folder());
    QCOMPARE(f.dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  }

  void theDemoReportsPrintWithTheDemoProfiles_data() {
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("profile");
    QTest::newRow("MAYOR.TXT, 12 pulgadas") << "MAYOR.TXT" << 0;
    QTest::newRow("IVACOMPRAS.TXT, 11 pulgadas") << "IVACOMPRAS.TXT" << 1;
    QTest::newRow("IVAVENTAS.TXT, 12 pulgadas") << "IVAVENTAS.TXT" << 0;
  }
  void theDemoReportsPrintWithTheDemoProfiles() {
    QFETCH(QString, report);
    QFETCH(int, profile);
    WindowFixture f;
    for (const char* name : {"MAYOR.TXT", "IVACOMPRAS.TXT", "IVAVENTAS.TXT", "Pliegomatic.ini"}) {
      QFile demo(QStringLiteral(PLIEGO_DEMO_FOLDER "/") + name);
      QVERIFY(demo.open(QIODevice::ReadOnly));
      f.write(name, demo.readAll().toStdString());
    }
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    const auto found = reports->findItems(report, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    found.first()->setSelected(true);
    f.control<QListWidget>("List2")->setCurrentRow(profile);
    f.control<QCheckBox>("chkPreview")->setChecked(true);

    QTest::keyClick(reports, Qt::Key_F10);
    QVERIFY(f.jobEnded());

    QCOMPARE(f.dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
    const std::string work = f.read("WRITE.TXT");
    const auto lines = crLfLines(work);
    QVERIFY(!lines.empty());
    QVERIFY(lines[0].starts_with("COMPA\xD1\xCD" "A DISTRIBUIDORA DEL SUR"));
    QVERIFY(lines[0].ends_with(" Pagina: 1"));
    if (report == "MAYOR.TXT") {
      // The ledger is stamped on its first page only; every account's balance is kept.
      QCOMPARE(std::count_if(lines.begin(), lines.end(),
                             [](const std::string& line) { return line.find("SALDO FINAL:") != std::string::npos; }),
               6);
    } else {
      QVERIFY(work.find(" Pagina: 2\r\n") != std::string::npos);
    }
    QVERIFY(work.find("Tasas de I.V.A.:") == std::string::npos);
    for (const auto& line : lines) QVERIFY(line.size() <= 192);
  }

  void aMissingNumberStopsTheJobBeforeAnyFile() {
    WindowFixture f;
    prepare(f);
    f.control<QLineEdit>("txtLPT")->setText(QStringLiteral("LPT1"));
    QTest::mouseClick(f.control<QPushButton>("cmdImprimir"), Qt::LeftButton);
    QCOMPARE(f.dialogs.informed,
             std::vector<std::string>{"Falta indicar el numero de puerto de la impresora. Debe seleccionar una "
                                      "configuracion de impresora"});
    QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List2"));
    QVERIFY(!f.exists("WRITE.TXT"));
    QVERIFY(f.launcher.started.empty());
  }
};

QTEST_MAIN(PrintFromWindowTest)
#include "test_print_from_window.moc"
