// "Opciones de impresion" on its own: what it shows, and what typing in it
// gives back.
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "support/fakes.hpp"
#include "window/print_options_dialog.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

PrintRecord printed(std::int64_t first, std::int64_t last, const std::string& asked = "") {
  PrintRecord record;
  record.when = "2024-02-05 14:30:12";
  record.workstation = "CONTADURIA-2";
  record.user = "mgarcia";
  record.report = "IVAVENTAS.TXT";
  record.profile = "EPSON FX";
  record.linesPerPage = "72";
  record.firstFolio = first;
  record.lastFolio = last;
  record.pages = last - first + 1;
  record.lines = 71 * record.pages;
  record.pagesAsked = asked;
  return record;
}

QString cell(const QTableWidget* table, int row, const char* column) {
  for (int c = 0; c < table->columnCount(); ++c)
    if (table->horizontalHeaderItem(c)->text() == QLatin1String(column)) return table->item(row, c)->text();
  return QStringLiteral("<no column>");
}

}  // namespace

class PrintOptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheOfferedFolioAndTheReportsLastPrints() {
    FakeDialogs dialogs;
    PageSelection shown;
    shown.firstFolio = 38;
    PrintOptionsDialog dialog("IVAVENTAS.TXT", shown, {printed(1, 37), printed(20, 22, "20 a 22")}, dialogs);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Opciones de impresion"));
    QVERIFY(dialog.findChild<QLabel*>("lblReporte")->text().contains("IVAVENTAS.TXT"));
    auto* folio = dialog.findChild<QLineEdit*>("txtPrimerFolio");
    QCOMPARE(folio->text(), QStringLiteral("38"));
    QCOMPARE(dialog.findChild<QLineEdit*>("txtDesdePagina")->text(), QString());
    QCOMPARE(dialog.findChild<QLineEdit*>("txtHastaPagina")->text(), QString());
    QCOMPARE(QApplication::focusWidget(), folio);

    auto* table = dialog.findChild<QTableWidget*>("lstRegistro");
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(cell(table, 0, "Folios"), QStringLiteral("1 a 37"));
    QCOMPARE(cell(table, 0, "Paginas"), QStringLiteral("37"));
    QCOMPARE(cell(table, 1, "Folios"), QStringLiteral("20 a 22"));
    QCOMPARE(cell(table, 1, "Paginas"), QStringLiteral("3 (pedidas 20 a 22)"));
    QCOMPARE(cell(table, 1, "Estacion"), QStringLiteral("CONTADURIA-2"));
    QCOMPARE(cell(table, 1, "Perfil"), QStringLiteral("EPSON FX"));
    QCOMPARE(cell(table, 1, "Salida"), QStringLiteral("impresora"));
    QCOMPARE(cell(table, 1, "Resultado"), QStringLiteral("enviado"));
    QVERIFY(table->isVisible());
    QVERIFY(!dialog.findChild<QLabel*>("lblSinRegistro")->isVisible());
  }

  // The columns fit the dialog: the outcome takes what is left, cut short,
  // and is whole when the pointer rests on it. The report is the dialog's.
  void aLongRecordIsSeenWithoutScrollingSideways() {
    FakeDialogs dialogs;
    PrintRecord failed = printed(1, 37);
    failed.pages = 0;
    failed.outcome = RecordOutcome::Failed;
    failed.reason = "No se pudo imprimir: el comando de impresion termino con error. " + std::string(520, 'x');
    PrintOptionsDialog dialog("IVAVENTAS.TXT", PageSelection{}, {printed(1, 37), failed}, dialogs);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* table = dialog.findChild<QTableWidget*>("lstRegistro");
    QStringList names;
    for (int c = 0; c < table->columnCount(); ++c) names << table->horizontalHeaderItem(c)->text();
    QCOMPARE(names, (QStringList{"Fecha y hora", "Estacion", "Perfil", "Folios", "Paginas", "Salida", "Resultado"}));
    QHeaderView* header = table->horizontalHeader();
    for (int c = 0; c < table->columnCount(); ++c) {
      QVERIFY2(header->sectionViewportPosition(c) >= 0, qPrintable(names[c]));
      QVERIFY2(header->sectionViewportPosition(c) + header->sectionSize(c) <= table->viewport()->width(),
               qPrintable(names[c]));
    }
    QVERIFY(header->sectionSize(table->columnCount() - 1) >= 100);
    const QString whole = QString::fromStdString("fallo: " + failed.reason);
    QCOMPARE(cell(table, 1, "Resultado"), whole);
    QCOMPARE(table->item(1, table->columnCount() - 1)->toolTip(), whole);
    QCOMPARE(cell(table, 1, "Folios"), QString());
    QVERIFY(!table->horizontalScrollBar()->isVisible());
  }

  void anEmptyRecordSaysSo() {
    FakeDialogs dialogs;
    PrintOptionsDialog dialog("MAYOR.TXT", PageSelection{}, {}, dialogs);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* none = dialog.findChild<QLabel*>("lblSinRegistro");
    QVERIFY(none->isVisible());
    QCOMPARE(none->text(), QStringLiteral("No hay impresiones anotadas de este reporte."));
    QVERIFY(!dialog.findChild<QTableWidget*>("lstRegistro")->isVisible());
  }

  void quitarOpcionesEndsTheDialogAsCleared() {
    FakeDialogs dialogs;
    PageSelection shown;
    shown.firstFolio = 40;
    shown.from = 41;
    PrintOptionsDialog dialog("MAYOR.TXT", shown, {}, dialogs);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmdQuitarOpciones"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), PrintOptionsDialog::Cleared);
  }

  void typedPagesAreTakenOnReturn() {
    FakeDialogs dialogs;
    PageSelection shown;
    shown.firstFolio = 38;
    PrintOptionsDialog dialog("IVAVENTAS.TXT", shown, {}, dialogs);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget* folio = QApplication::focusWidget();
    QTest::keyClick(folio, Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "40");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QLineEdit*>("txtHastaPagina"));
    QTest::keyClicks(QApplication::focusWidget(), "42");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialogs.informed.empty());
    QCOMPARE(dialog.selection().firstFolio, std::int64_t{38});
    QCOMPARE(dialog.selection().from.value_or(0), std::int64_t{40});
    QCOMPARE(dialog.selection().to.value_or(0), std::int64_t{42});
  }

  void aWrongFolioIsToldAndTheDialogStaysOpenOnThatBox() {
    FakeDialogs dialogs;
    PrintOptionsDialog dialog("MAYOR.TXT", PageSelection{}, {}, dialogs);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* folio = dialog.findChild<QLineEdit*>("txtPrimerFolio");
    QCOMPARE(folio->text(), QStringLiteral("1"));
    QTest::keyClicks(folio, "0");  // replaces the selected "1"
    QCOMPARE(folio->text(), QStringLiteral("0"));
    auto* to = dialog.findChild<QLineEdit*>("txtHastaPagina");
    QTest::keyClicks(to, "x");
    QTest::keyClick(folio, Qt::Key_Return);

    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialogs.informed.size(), std::size_t{1});
    QCOMPARE(dialogs.informed[0], std::string("El primer folio debe ser un numero entero entre 1 y 999999999."));
    QCOMPARE(QApplication::focusWidget(), folio);

    QTest::keyClicks(folio, "5");
    QTest::keyClick(folio, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialogs.informed.size(), std::size_t{2});
    QCOMPARE(QApplication::focusWidget(), to);

    QTest::keyClick(to, Qt::Key_Backspace);
    QTest::keyClick(to, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selection().firstFolio, std::int64_t{5});
    QVERIFY(dialog.selection().wholeBook());
  }

  void escapeKeepsNothing() {
    FakeDialogs dialogs;
    PrintOptionsDialog dialog("MAYOR.TXT", PageSelection{}, {}, dialogs);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(QApplication::focusWidget(), "143");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.selection().firstFolio, std::int64_t{1});
  }
};

QTEST_MAIN(PrintOptionsDialogTest)
#include "test_print_options_dialog.moc"
