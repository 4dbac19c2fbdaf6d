// The report list as users work it: chosen with the keyboard as in a Windows
// list box, and read again with F5 or when the window comes back to the front.
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const QStringList kThreeReports{"IVACOMPRAS.TXT", "IVAVENTAS.TXT", "MAYOR.TXT"};

void writeThreeReports(WindowFixture& f) {
  f.write("MAYOR.TXT", "LIBRO MAYOR\r\nCAJA\r\n");
  f.write("ivaventas.txt", "LIBRO IVA VENTAS\r\nFC-A 1\r\n");
  f.write("IvaCompras.txt", "LIBRO IVA COMPRAS\r\nFC-B 7\r\n");
}

// The row Qt moves from is the row the user sees selected.
void verifyCurrentRowIsTheSelection(const QListWidget* list) {
  QCOMPARE(list->currentRow(), selectedRow(list));
}

// Brings another window to the front, then the program's window again.
bool activateAgain(QWidget* window) {
  QWidget other;
  other.show();
  other.activateWindow();
  if (!QTest::qWaitForWindowActive(&other)) return false;
  other.hide();
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) return false;
  QCoreApplication::processEvents();
  return true;
}

}  // namespace

class ReportListWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void atStartNothingIsSelectedNorCurrent() {
    WindowFixture f;
    writeThreeReports(f);
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    QCOMPARE(QApplication::focusWidget(), reports);
    QCOMPARE(itemTexts(reports), kThreeReports);
    QCOMPARE(selectedRow(reports), -1);
    QCOMPARE(reports->currentRow(), -1);
  }

  void theFirstKeySelectsWithoutSkipping_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("afterDown");
    QTest::newRow("Down") << int(Qt::Key_Down) << 0 << 1;
    QTest::newRow("Up") << int(Qt::Key_Up) << 0 << 1;
    QTest::newRow("Home") << int(Qt::Key_Home) << 0 << 1;
    QTest::newRow("End") << int(Qt::Key_End) << 2 << 2;
    QTest::newRow("M") << int(Qt::Key_M) << 2 << 2;
    QTest::newRow("I") << int(Qt::Key_I) << 0 << 1;
  }
  void theFirstKeySelectsWithoutSkipping() {
    QFETCH(int, key);
    QFETCH(int, selected);
    QFETCH(int, afterDown);
    WindowFixture f;
    writeThreeReports(f);
    f.open();
    auto* reports = f.control<QListWidget>("List1");

    QTest::keyClick(reports, Qt::Key(key));
    QCOMPARE(selectedRow(reports), selected);
    verifyCurrentRowIsTheSelection(reports);

    QTest::keyClick(reports, Qt::Key_Down);
    QCOMPARE(selectedRow(reports), afterDown);
    verifyCurrentRowIsTheSelection(reports);
  }

  void aSelectionMadeByTheProgramIsWhereTheKeysGoOn() {
    WindowFixture f;
    writeThreeReports(f);
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    reports->item(1)->setSelected(true);
    verifyCurrentRowIsTheSelection(reports);
    QTest::keyClick(reports, Qt::Key_Down);
    QCOMPARE(selectedRow(reports), 2);
    reports->clearSelection();
    QCOMPARE(reports->currentRow(), -1);
  }

  // The user's way to the first book: F5, Down, F10.
  void f5DownF10PrintsTheFirstReport() {
    WindowFixture f;
    writeThreeReports(f);
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    auto* box = f.control<QLineEdit>("txtLPT");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(f.dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
    QVERIFY(f.read("WRITE.TXT").starts_with("LIBRO IVA COMPRAS"));
  }

  void f5ShowsAReportWrittenMeanwhileAndKeepsTheSelection() {
    WindowFixture f;
    f.write("MAYOR.TXT", "LIBRO MAYOR\r\n");
    f.write("IVAVENTAS.TXT", "LIBRO IVA VENTAS\r\n");
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    reports->setCurrentRow(1);
    auto* box = f.control<QLineEdit>("txtRenglonesPagina");
    box->setFocus();
    f.write("IVACOMPRAS.TXT", "LIBRO IVA COMPRAS\r\n");

    QTest::keyClick(box, Qt::Key_F5);

    QCOMPARE(itemTexts(reports), kThreeReports);
    QCOMPARE(reports->selectedItems().value(0)->text(), QStringLiteral("MAYOR.TXT"));
    verifyCurrentRowIsTheSelection(reports);
    QCOMPARE(QApplication::focusWidget(), reports);
    QVERIFY(f.dialogs.informed.empty());
  }

  void aSelectedReportThatIsGoneLeavesNothingSelected() {
    WindowFixture f;
    writeThreeReports(f);
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    reports->setCurrentRow(2);
    QVERIFY(QDir(QString::fromStdString(f.folder())).remove("MAYOR.TXT"));

    QTest::keyClick(reports, Qt::Key_F5);

    QCOMPARE(itemTexts(reports), (QStringList{"IVACOMPRAS.TXT", "IVAVENTAS.TXT"}));
    QCOMPARE(selectedRow(reports), -1);
    QCOMPARE(reports->currentRow(), -1);
  }

  void theWindowActivatedAgainShowsTheFolderAsItIs() {
    WindowFixture f;
    f.write("IVAVENTAS.TXT", "LIBRO IVA VENTAS\r\n");
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    reports->setCurrentRow(0);
    f.write("MAYOR.TXT", "LIBRO MAYOR\r\n");
    f.write("IVACOMPRAS.TXT", "LIBRO IVA COMPRAS\r\n");

    QVERIFY(activateAgain(f.window.get()));

    QTRY_COMPARE_WITH_TIMEOUT(itemTexts(reports), kThreeReports, 10000);
    QCOMPARE(reports->selectedItems().value(0)->text(), QStringLiteral("IVAVENTAS.TXT"));
    QVERIFY(f.dialogs.informed.empty());
  }

  // The message box that tells it brings the window back to the front: the
  // user hears of an unreadable folder once, not at every activation.
  void aFolderThatCannotBeReadIsToldOnce() {
    WindowFixture f;
    writeThreeReports(f);
    f.realBoxes = true;
    f.open();
    QDir parent(QString::fromStdString(f.folder()));
    const QString name = parent.dirName();
    QVERIFY(parent.cdUp());
    QVERIFY(parent.rename(name, name + ".fuera"));
    struct PutBack {
      QDir& parent;
      const QString& name;
      ~PutBack() { parent.rename(name + ".fuera", name); }
    } putBack{parent, name};
    BoxAnswerer boxes(BoxAnswerer::By::Return);

    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F5);
    QVERIFY(activateAgain(f.window.get()));
    QVERIFY(activateAgain(f.window.get()));
    QTest::keyClick(f.control<QListWidget>("List1"), Qt::Key_F5);

    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY(boxes.texts[0].startsWith("No se pudo leer la carpeta "));
    // What was listed stays listed.
    QCOMPARE(itemTexts(f.control<QListWidget>("List1")), kThreeReports);
  }
};

QTEST_MAIN(ReportListWindowTest)
#include "test_report_list_window.moc"
