// Legal books from the window: F11 or the options button, typing the first
// folio and the pages, F10, and real message boxes answered as a user would.
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "printing/print_record.hpp"
#include "window/print_options_dialog.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

// A VAT sales book of 3 header lines and 80 entries: with 10 lines a page
// and 1 between pages it takes 14 pages.
std::string salesBook() {
  std::string text = "EL A\xD1IL S.A.\r\nLIBRO IVA VENTAS\r\nFECHA  COMPROBANTE  IMPORTE\r\n";
  for (int i = 1; i <= 80; ++i) text += "01/03  FC-A " + std::to_string(1000 + i) + "\r\n";
  return text;
}

std::vector<std::string> stampsIn(const std::string& bytes) {
  std::vector<std::string> stamps;
  for (std::size_t at = bytes.find(" Pagina: "); at != std::string::npos; at = bytes.find(" Pagina: ", at + 1))
    stamps.push_back(bytes.substr(at + 9, bytes.find("\r\n", at) - at - 9));
  return stamps;
}

using OptionsUser = DialogUser<PrintOptionsDialog>;

#ifndef _WIN32
// Answers the first Yes/No box with a click on the button chosen.
class QuestionAnswerer : public QObject {
 public:
  explicit QuestionAnswerer(QMessageBox::StandardButton answer) {
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible() || !box->button(QMessageBox::Yes) || !questions.isEmpty()) return;
      questions << box->text();
      QTest::mouseClick(box->button(answer), Qt::LeftButton);
    });
    poll->start(20);
  }
  QStringList questions;
};

// How many pages pdfinfo counts in the PDF at `path`.
int pdfPages(const std::string& path) {
  std::FILE* pipe = popen(("pdfinfo '" + path + "' 2>/dev/null").c_str(), "r");
  char line[256];
  int pages = -1;
  while (pipe && std::fgets(line, sizeof line, pipe))
    if (std::sscanf(line, "Pages: %d", &pages) == 1) break;
  if (pipe) pclose(pipe);
  return pages;
}

// F11, the PDF chosen with a click on `option`, Return to accept.
void askForPdf(WindowFixture& f, const char* option) {
  OptionsUser user([option](PrintOptionsDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QRadioButton*>(option), Qt::LeftButton);
    QTest::keyClick(dialog.findChild<QLineEdit*>("txtPrimerFolio"), Qt::Key_Return);
  });
  QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F11);
  QVERIFY(user.done());
}

#endif

void typeInto(PrintOptionsDialog& dialog, const char* box, const char* text) {
  auto* field = dialog.findChild<QLineEdit*>(box);
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

}  // namespace

class PrintOptionsWindowTest : public QObject {
  Q_OBJECT

 private:
  static void prepare(WindowFixture& f) {
    f.write("IVAVENTAS.TXT", salesBook());
    f.write("Pliegomatic.ini", "[EPSON 11 PULGADAS]\r\nRENGLONES POR PAGINA=10\r\nRENGLONES DEL ENCABEZADO=3\r\n"
                               "RENGLONES ENTRE PAGINAS=1\r\nLPT=1\r\nNUMERO DE PAGINA=1\r\n");
    f.realBoxes = true;
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    reports->setFocus();
    reports->setCurrentRow(0);
  }

 private slots:
  // After a book whose last folio was 14, F11 offers 15; F10 stamps the
  // first page 15 and the summary names the folios; the next F10 goes back
  // to folio 1, and a reprint moves nothing.
  void f11OffersTheNextFolioAndF10UsesItOnce() {
    WindowFixture f;
    prepare(f);
    auto* reports = f.control<QListWidget>("List1");
    BoxAnswerer boxes(BoxAnswerer::By::Return);

    QTest::keyClick(reports, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(stampsIn(f.read("WRITE.TXT")).back(), std::string("14"));

    QString offered;
    int rowsShown = -1;
    OptionsUser user([&](PrintOptionsDialog& dialog) {
      offered = dialog.findChild<QLineEdit*>("txtPrimerFolio")->text();
      rowsShown = dialog.findChild<QTableWidget*>("lstRegistro")->rowCount();
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtPrimerFolio"), Qt::Key_Return);
    });
    QTest::keyClick(reports, Qt::Key_F11);
    QVERIFY(user.done());
    QCOMPARE(offered, QStringLiteral("15"));
    QCOMPARE(rowsShown, 1);

    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    const auto stamps = stampsIn(f.read("WRITE.TXT"));
    QCOMPARE(stamps.front(), std::string("15"));
    QCOMPARE(stamps.back(), std::string("28"));
    QCOMPARE(f.control<QLabel>("Label1")->text(),
             QStringLiteral("IVAVENTAS.TXT: 14 paginas, folios 15 a 28, ancho 192 columnas"));
    QCOMPARE(boxes.texts, (QStringList{"Impresion Finalizada", "Impresion Finalizada"}));

    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(stampsIn(f.read("WRITE.TXT")).front(), std::string("1"));
    QCOMPARE(offeredFolio(f.folder(), "IVAVENTAS.TXT"), std::optional<std::int64_t>(15));
  }

  void theButtonReprintsPagesAsTheyWereStamped() {
    WindowFixture f;
    prepare(f);
    BoxAnswerer boxes(BoxAnswerer::By::ClickOnAceptar);
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    const std::string whole = f.read("WRITE.TXT");

    OptionsUser user([](PrintOptionsDialog& dialog) {
      typeInto(dialog, "txtPrimerFolio", "1");
      typeInto(dialog, "txtDesdePagina", "3");
      typeInto(dialog, "txtHastaPagina", "5");
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtHastaPagina"), Qt::Key_Return);
    });
    QTest::mouseClick(f.control<QPushButton>("cmdOpciones"), Qt::LeftButton);
    QVERIFY(user.done());
    QTest::mouseClick(f.control<QPushButton>("cmdImprimir"), Qt::LeftButton);
    QVERIFY(f.jobEnded());

    const std::string reprint = f.read("WRITE.TXT");
    QCOMPARE(stampsIn(reprint), (std::vector<std::string>{"3", "4", "5"}));
    // Page 1 is 9 lines, every later page 10: pages 3 to 5 are lines 20 to 49.
    std::size_t from = 0;
    for (int line = 1; line < 20; ++line) from = whole.find("\r\n", from) + 2;
    QCOMPARE(whole.substr(from, reprint.size()), reprint);
    QCOMPARE(f.control<QLabel>("Label1")->text(),
             QStringLiteral("IVAVENTAS.TXT: 3 paginas, folios 3 a 5, ancho 192 columnas"));
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(boxes.texts.last(), QStringLiteral("Impresion Finalizada"));
    const auto records = recordsOf(f.folder(), "IVAVENTAS.TXT", 5);
    QCOMPARE(records.size(), std::size_t{2});
    QCOMPARE(records[1].pagesAsked, std::string("3 a 5"));
  }

  void pagesOutsideTheBookAreToldAndNothingIsPrinted() {
    WindowFixture f;
    prepare(f);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    OptionsUser user([](PrintOptionsDialog& dialog) {
      typeInto(dialog, "txtDesdePagina", "12");
      typeInto(dialog, "txtHastaPagina", "20");
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtHastaPagina"), Qt::Key_Return);
    });
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F11);
    QVERIFY(user.done());
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());

    QCOMPARE(boxes.texts, QStringList{"Las paginas pedidas (12 a 20) no estan en el libro, que tiene 14 paginas, "
                                      "folios 1 a 14. No se imprimio nada."});
    QVERIFY(!f.exists("WRITE.TXT"));
    QVERIFY(f.launcher.started.empty());
    // Nothing printed: the pages asked for still wait, in sight.
    QCOMPARE(f.control<QLabel>("Label1")->text(),
             QStringLiteral("IVAVENTAS.TXT: la proxima impresion empieza en el folio 1, solo las paginas 12 a 20. "
                            "F11 para cambiarlo."));
    QCOMPARE(f.control<QPushButton>("cmdOpciones")->text(), QStringLiteral("F11 - Pag. 12 a 20"));
  }

  void aWrongFolioIsToldInARealBoxAndCancelKeepsNothing() {
    WindowFixture f;
    prepare(f);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    bool stillOpen = false;
    OptionsUser user([&](PrintOptionsDialog& dialog) {
      auto* folio = dialog.findChild<QLineEdit*>("txtPrimerFolio");
      typeInto(dialog, "txtPrimerFolio", "cero");
      QTest::keyClick(folio, Qt::Key_Return);  // the box shows, is answered and closes
      stillOpen = dialog.isVisible();
      typeInto(dialog, "txtPrimerFolio", "90");
      QTest::keyClick(folio, Qt::Key_Escape);
    });
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F11);
    QVERIFY(user.done());
    QVERIFY(stillOpen);
    QCOMPARE(boxes.texts, QStringList{"El primer folio debe ser un numero entero entre 1 y 999999999."});
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(stampsIn(f.read("WRITE.TXT")).front(), std::string("1"));
  }

#ifndef _WIN32  // the PDFs are read back with poppler-utils
  // A PDF instead of the printer: the book's 14 pages in the "PDF" folder
  // beside the program, nothing printed, no work file, the folder kept in
  // the profile, the PDF named on the status line and in the record.
  void pdfInsteadOfThePrinterFromTheOptions() {
    WindowFixture f;
    prepare(f);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    askForPdf(f, "optPdfEnLugar");
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
    QVERIFY(f.launcher.started.empty());
    QVERIFY(!f.exists("WRITE.TXT"));
    QCOMPARE(pdfPages(f.folder() + "/PDF/IVAVENTAS_folios_0001-0014.pdf"), 14);
    QCOMPARE(f.control<QLabel>("Label1")->text(),
             QStringLiteral("IVAVENTAS.TXT: 14 paginas, folios 1 a 14, ancho 192 columnas, "
                            "PDF IVAVENTAS_folios_0001-0014.pdf"));
    const std::string ini = f.read("Pliegomatic.ini");
    QVERIFY(ini.find("CARPETA PDF=" + f.folder() + "/PDF\r\n") != std::string::npos);
    QVERIFY(ini.find("HOJA PDF=Formulario continuo 15 x 11 pulgadas\r\n") != std::string::npos);
    const auto records = recordsOf(f.folder(), "IVAVENTAS.TXT", 5);
    QCOMPARE(records.size(), std::size_t{1});
    QVERIFY(records[0].pdfOnly);
    QCOMPARE(records[0].pdf, std::string("IVAVENTAS_folios_0001-0014.pdf"));
    QCOMPARE(records[0].pdfSha256.size(), std::size_t{64});
    QVERIFY(!offeredFolio(f.folder(), "IVAVENTAS.TXT"));

    // The next job goes back to the printer.
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(f.launcher.started.size(), std::size_t{1});
  }

  // A PDF with the print whose name is taken: a real question; No keeps the
  // old file and prints nothing, Yes replaces it and prints.
  void pdfWithThePrintAsksBeforeReplacingAFile() {
    WindowFixture f;
    prepare(f);
    std::filesystem::create_directories(f.folder() + "/PDF");
    f.write("PDF/IVAVENTAS_folios_0001-0014.pdf", "el de ayer");
    {
      BoxAnswerer boxes(BoxAnswerer::By::Return);
      QuestionAnswerer no(QMessageBox::No);
      askForPdf(f, "optPdfAdemas");
      QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
      QVERIFY(f.jobEnded());
      QCOMPARE(no.questions.size(), 1);
      QVERIFY(no.questions[0].endsWith(QStringLiteral("IVAVENTAS_folios_0001-0014.pdf. Desea reemplazarlo?")));
      QCOMPARE(f.read("PDF/IVAVENTAS_folios_0001-0014.pdf"), std::string("el de ayer"));
      QVERIFY(f.launcher.started.empty());
      QCOMPARE(boxes.texts.size(), 1);
      QVERIFY(boxes.texts[0].endsWith(QStringLiteral("y no se reemplazo. No se imprimio nada.")));
    }
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    QuestionAnswerer yes(QMessageBox::Yes);
    askForPdf(f, "optPdfAdemas");
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(yes.questions.size(), 1);
    QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
    QCOMPARE(f.launcher.started.size(), std::size_t{1});
    QCOMPARE(pdfPages(f.folder() + "/PDF/IVAVENTAS_folios_0001-0014.pdf"), 14);
    QCOMPARE(offeredFolio(f.folder(), "IVAVENTAS.TXT"), std::optional<std::int64_t>(15));
  }
#endif

  void f11WithoutAReportAsksForOne() {
    WindowFixture f;
    f.open();
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F11);
    QCOMPARE(f.dialogs.informed, std::vector<std::string>{"Debe seleccionar el archivo a imprimir"});
    QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List1"));
  }

  // The button sits in free space: it overlaps no control and moves none.
  // It joined the tab order at the end; the set-up button came after it.
  void theButtonOverlapsNothingAndJoinedTheTabOrderAtTheEnd() {
    WindowFixture f;
    f.open();
    auto* button = f.control<QPushButton>("cmdOpciones");
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("F11 - Opciones..."));
    for (QWidget* other : button->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (other != button) QVERIFY2(!other->geometry().intersects(button->geometry()), qPrintable(other->objectName()));
    auto* lastBefore = f.control<QCheckBox>("chkTotalesDeIVA");
    lastBefore->setFocus();
    QTest::keyClick(lastBefore, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(button, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cboDestino"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.control<QPushButton>("cmdConfigurarImpresora"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List1"));
  }

  // Options set for one report wait for that report: another report prints
  // as always meanwhile, and they show whenever their report is selected.
  void eachReportKeepsItsOptionsUntilItIsPrinted() {
    WindowFixture f;
    f.write("IVACOMPRAS.TXT", salesBook());
    prepare(f);  // IVACOMPRAS.TXT row 0, IVAVENTAS.TXT row 1
    auto* reports = f.control<QListWidget>("List1");
    auto* status = f.control<QLabel>("Label1");
    auto* button = f.control<QPushButton>("cmdOpciones");
    const QString notice = status->text();
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    OptionsUser user([](PrintOptionsDialog& dialog) {
      typeInto(dialog, "txtPrimerFolio", "40");
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtPrimerFolio"), Qt::Key_Return);
    });
    QTest::keyClick(reports, Qt::Key_F11);
    QVERIFY(user.done());
    const QString waiting =
        QStringLiteral("IVACOMPRAS.TXT: la proxima impresion empieza en el folio 40. F11 para cambiarlo.");
    QCOMPARE(status->text(), waiting);
    QCOMPARE(button->text(), QStringLiteral("F11 - Folio 40"));
    QVERIFY(button->font().bold());

    QTest::keyClick(reports, Qt::Key_Down);
    QCOMPARE(selectedRow(reports), 1);
    QCOMPARE(status->text(), notice);
    QCOMPARE(button->text(), QStringLiteral("F11 - Opciones..."));
    QTest::keyClick(reports, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(stampsIn(f.read("WRITE.TXT")).front(), std::string("1"));
    QCOMPARE(status->text(), QStringLiteral("IVAVENTAS.TXT: 14 paginas, folios 1 a 14, ancho 192 columnas"));

    QTest::keyClick(reports, Qt::Key_Up);
    QCOMPARE(status->text(), waiting);
    QCOMPARE(button->text(), QStringLiteral("F11 - Folio 40"));
    QTest::keyClick(reports, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(stampsIn(f.read("WRITE.TXT")).front(), std::string("40"));
    QCOMPARE(status->text(), QStringLiteral("IVACOMPRAS.TXT: 14 paginas, folios 40 a 53, ancho 192 columnas"));
    QCOMPARE(button->text(), QStringLiteral("F11 - Opciones..."));
    QVERIFY(!button->font().bold());
    QCOMPARE(boxes.texts, (QStringList{"Impresion Finalizada", "Impresion Finalizada"}));
  }

  // "Quitar opciones" takes them away: the next print is the whole book.
  void quitarOpcionesClearsThem() {
    WindowFixture f;
    prepare(f);
    auto* reports = f.control<QListWidget>("List1");
    const QString notice = f.control<QLabel>("Label1")->text();
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    OptionsUser setting([](PrintOptionsDialog& dialog) {
      typeInto(dialog, "txtDesdePagina", "3");
      typeInto(dialog, "txtHastaPagina", "5");
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtHastaPagina"), Qt::Key_Return);
    });
    QTest::keyClick(reports, Qt::Key_F11);
    QVERIFY(setting.done());
    QCOMPARE(f.control<QPushButton>("cmdOpciones")->text(), QStringLiteral("F11 - Pag. 3 a 5"));
    QString shownFrom;
    OptionsUser clearing([&](PrintOptionsDialog& dialog) {
      shownFrom = dialog.findChild<QLineEdit*>("txtDesdePagina")->text();
      QTest::mouseClick(dialog.findChild<QPushButton*>("cmdQuitarOpciones"), Qt::LeftButton);
    });
    QTest::keyClick(reports, Qt::Key_F11);
    QVERIFY(clearing.done());
    QCOMPARE(shownFrom, QStringLiteral("3"));
    QCOMPARE(f.control<QLabel>("Label1")->text(), notice);
    QCOMPARE(f.control<QPushButton>("cmdOpciones")->text(), QStringLiteral("F11 - Opciones..."));
    QTest::keyClick(reports, Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(stampsIn(f.read("WRITE.TXT")).size(), std::size_t{14});

    // The whole book from folio 1 is a print without options: nothing waits.
    OptionsUser folioOne([](PrintOptionsDialog& dialog) {
      typeInto(dialog, "txtPrimerFolio", "1");
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtPrimerFolio"), Qt::Key_Return);
    });
    QTest::keyClick(reports, Qt::Key_F11);
    QVERIFY(folioOne.done());
    QCOMPARE(f.control<QPushButton>("cmdOpciones")->text(), QStringLiteral("F11 - Opciones..."));
    QVERIFY(!f.control<QLabel>("Label1")->text().contains(QStringLiteral("proxima impresion")));
  }

  // A long record in the real dialog: every column in sight, the long
  // failure cut short; a report never printed says so.
  void theRecordIsReadableInTheDialog() {
    WindowFixture f;
    f.write("IVACOMPRAS.TXT", salesBook());
    std::string log;
    for (int i = 1; i <= 30; ++i)
      log += "2024-03-" + std::to_string(10 + i % 18) + " 09:15:00\tCONTADURIA-" + std::to_string(i % 3) +
             "\tmgarcia\tIVAVENTAS.TXT\tEPSON 11 PULGADAS\t10\t1\t14\t14\t120\ttodas\timpresora\tenviado\r\n";
    log += "2024-03-29 10:00:00\tCONTADURIA-1\tmgarcia\tIVAVENTAS.TXT\tEPSON 11 PULGADAS\t10\t\t\t0\t0\ttodas\timpresora"
           "\tfallo: No se pudo imprimir: el comando de impresion termino con error. " + std::string(540, 'x') + "\r\n";
    f.write(kRecordFileName, log);
    prepare(f);
    auto* reports = f.control<QListWidget>("List1");
    reports->setCurrentRow(1);
    bool fits = false, resultInSight = false, noneSaid = false;
    QString lastResult;
    OptionsUser user([&](PrintOptionsDialog& dialog) {
      auto* table = dialog.findChild<QTableWidget*>("lstRegistro");
      QHeaderView* header = table->horizontalHeader();
      const int last = table->columnCount() - 1;
      fits = header->sectionViewportPosition(last) + header->sectionSize(last) <= table->viewport()->width();
      resultInSight = header->sectionViewportPosition(last) >= 0 && header->sectionSize(last) >= 100;
      lastResult = table->item(table->rowCount() - 1, last)->toolTip();
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtPrimerFolio"), Qt::Key_Escape);
    });
    QTest::keyClick(reports, Qt::Key_F11);
    QVERIFY(user.done());
    QVERIFY(fits);
    QVERIFY(resultInSight);
    QVERIFY(lastResult.startsWith(QStringLiteral("fallo: No se pudo imprimir")));
    QVERIFY(lastResult.endsWith(QString(540, 'x')));

    reports->setCurrentRow(0);
    OptionsUser other([&](PrintOptionsDialog& dialog) {
      noneSaid = dialog.findChild<QLabel*>("lblSinRegistro")->isVisible();
      QTest::keyClick(dialog.findChild<QLineEdit*>("txtPrimerFolio"), Qt::Key_Escape);
    });
    QTest::keyClick(reports, Qt::Key_F11);
    QVERIFY(other.done());
    QVERIFY(noneSaid);
  }
};

QTEST_MAIN(PrintOptionsWindowTest)
#include "test_print_options_window.moc"
