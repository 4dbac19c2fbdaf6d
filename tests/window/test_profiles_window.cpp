// The profile buttons and the profile list, driven through the window.
#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/code_page.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

class ProfilesWindowTest : public QObject {
  Q_OBJECT

 private:
  static void type(WindowFixture& f, const char* name, const QString& text) {
    auto* box = f.control<QLineEdit>(name);
    box->setFocus();
    box->selectAll();
    box->del();
    QTest::keyClicks(box, text);
  }
  static void click(WindowFixture& f, const char* button) {
    QTest::mouseClick(f.control<QPushButton>(button), Qt::LeftButton);
  }
  // Types `text` into the real input box as soon as it shows, then Return.
  static void typeInTheInputBox(const QString& text) {
    QTimer::singleShot(0, [text] {
      QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
      QWidget* box = QApplication::activeModalWidget();
      // Key by key, with the letters a Spanish keyboard gives.
      for (const QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, box->focusWidget(), Qt::Key_unknown, QString(letter), Qt::NoModifier);
      QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
  }
  static void clickItem(QListWidget* list, int row) {
    const QRect place = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
  }

 private slots:
  void everySelectionChecksTheBox() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);  // stored 0 and 2
    f.open();
    auto* list = f.control<QListWidget>("List2");
    auto* box = f.control<QCheckBox>("chkNumeroPagina");
    for (int row : {1, 0, 1}) {
      box->setCheckState(Qt::Unchecked);
      clickItem(list, row);
      QCOMPARE(selectedRow(list), row);
      QCOMPARE(box->checkState(), Qt::Checked);
    }
    QCOMPARE(f.control<QLineEdit>("txtRenglonesPagina")->text(), QStringLiteral("66"));
    // The keyboard selects too.
    box->setCheckState(Qt::Unchecked);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(selectedRow(list), 0);
    QCOMPARE(f.control<QLineEdit>("txtRenglonesPagina")->text(), QStringLiteral("72"));
    QCOMPARE(box->checkState(), Qt::Checked);
  }

  void aDuplicateNameIsAppendedAndTheSelectionStays() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    f.dialogs.answer = "epson 11 pulgadas";
    click(f, "cmdAgregarImpresora");
    QCOMPARE(f.dialogs.asked.size(), std::size_t{1});
    QCOMPARE(f.dialogs.asked[0].prompt, std::string("Ingrese el nombre de la nueva impresora"));
    auto* list = f.control<QListWidget>("List2");
    QCOMPARE(itemTexts(list), (QStringList{"EPSON 12 PULGADAS", "EPSON 11 PULGADAS", "EPSON 11 PULGADAS"}));
    QCOMPARE(selectedRow(list), 0);
    QCOMPARE(f.read("Pliegomatic.ini"), std::string(kTwoProfilesIni));

    f.dialogs.answer = "";
    click(f, "cmdAgregarImpresora");
    QCOMPARE(list->count(), 3);
  }

  void savingANewProfileWritesTheExampleInOrder() {
    WindowFixture f;
    f.open();
    f.dialogs.answer = "nueva";
    click(f, "cmdAgregarImpresora");
    auto* list = f.control<QListWidget>("List2");
    clickItem(list, 0);
    QCOMPARE(f.control<QCheckBox>("chkNumeroPagina")->checkState(), Qt::Checked);

    type(f, "txtRenglonesPagina", "72");
    type(f, "txtRenglonesEncabezado", "");
    type(f, "txtEntrePaginas", "3 lineas");
    type(f, "txtLPT", "1");
    QTest::mouseClick(f.control<QCheckBox>("chkNumeroPagina"), Qt::LeftButton);
    QCOMPARE(f.control<QCheckBox>("chkNumeroPagina")->checkState(), Qt::Unchecked);
    click(f, "cmdGuardarImpresora");

    QCOMPARE(f.read("Pliegomatic.ini"), std::string("[NUEVA]\r\n"
                                                    "RENGLONES POR PAGINA=72\r\n"
                                                    "RENGLONES DEL ENCABEZADO=0\r\n"
                                                    "RENGLONES ENTRE PAGINAS=3\r\n"
                                                    "LPT=1\r\n"
                                                    "NUMERO DE PAGINA=0\r\n"));
    QCOMPARE(f.dialogs.informed, std::vector<std::string>{"Datos de la impresora NUEVA guardados"});
  }

  void savingWithNothingSelectedDoesNothing() {
    WindowFixture f;
    f.open();
    type(f, "txtRenglonesPagina", "72");
    click(f, "cmdGuardarImpresora");
    QVERIFY(!f.exists("Pliegomatic.ini"));
    QVERIFY(f.dialogs.informed.empty());
  }

  void removingWithYesEmptiesTheSelectionButKeepsTheFields() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    auto* list = f.control<QListWidget>("List2");
    click(f, "Command1");
    QCOMPARE(f.dialogs.confirmed,
             std::vector<std::string>{cp1252ToSystem("\xBF Seguro quiere quitar la configuracion de la impresora EPSON 12 PULGADAS ?")});
    QCOMPARE(itemTexts(list), QStringList{"EPSON 11 PULGADAS"});
    QCOMPARE(selectedRow(list), -1);
    QCOMPARE(f.control<QLineEdit>("txtRenglonesPagina")->text(), QStringLiteral("72"));
    QVERIFY(f.read("Pliegomatic.ini").find("EPSON 12") == std::string::npos);
  }

  void removingWithNoChangesNothing() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    f.dialogs.answerYes = false;
    click(f, "Command1");
    QCOMPARE(f.dialogs.confirmed.size(), std::size_t{1});
    QCOMPARE(f.control<QListWidget>("List2")->count(), 2);
    QCOMPARE(selectedRow(f.control<QListWidget>("List2")), 0);
    QCOMPARE(f.read("Pliegomatic.ini"), std::string(kTwoProfilesIni));
  }

  void removingWithNothingSelectedAsksAboutAnEmptyName() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    auto* list = f.control<QListWidget>("List2");
    list->clearSelection();
    f.dialogs.answer = "sin guardar";
    click(f, "cmdAgregarImpresora");
    click(f, "Command1");
    QCOMPARE(f.dialogs.confirmed,
             std::vector<std::string>{cp1252ToSystem("\xBF Seguro quiere quitar la configuracion de la impresora  ?")});
    QCOMPARE(itemTexts(list), (QStringList{"EPSON 12 PULGADAS", "EPSON 11 PULGADAS"}));
    QCOMPARE(f.read("Pliegomatic.ini"), std::string(kTwoProfilesIni));
  }

  void namesInTheCodePageRoundTrip() {
    WindowFixture f;
    f.write("Pliegomatic.ini", "[CA\xD1" "ADA]\r\nLPT=1\r\n[OTRA]\r\nLPT=2\r\n");
    f.open();
    auto* list = f.control<QListWidget>("List2");
    QCOMPARE(list->item(0)->text(), QStringLiteral("CA\u00D1ADA"));
    click(f, "Command1");
    QCOMPARE(f.dialogs.confirmed,
             std::vector<std::string>{cp1252ToSystem("\xBF Seguro quiere quitar la configuracion de la impresora CA\xD1" "ADA ?")});
    QCOMPARE(f.read("Pliegomatic.ini"), std::string("[OTRA]\r\nLPT=2\r\n"));
  }

  // A new name is upper-cased as Windows does for its code page: "peña
  // grande" finds the profile "PEÑA GRANDE" the file already has, and its
  // values load; the letters of the code page beyond ASCII go up too.
  void aNewNameIsUpperCasedInTheCodePage() {
    WindowFixture f;
    f.write("Pliegomatic.ini", "[PE\xD1" "A GRANDE]\r\nRENGLONES POR PAGINA=72\r\nLPT=3\r\n");
    f.realBoxes = true;
    f.open();
    auto* list = f.control<QListWidget>("List2");
    typeInTheInputBox(QString::fromUtf8("pe\u00F1a grande"));
    click(f, "cmdAgregarImpresora");
    typeInTheInputBox(QString::fromUtf8("ma\u00F1ana \u00E1lvarez mu\u00F1oz \u0161\u00FF \u00DF"));
    click(f, "cmdAgregarImpresora");
    QCOMPARE(itemTexts(list), (QStringList{QString::fromUtf8("PE\u00D1A GRANDE"), QString::fromUtf8("PE\u00D1A GRANDE"),
                                           QString::fromUtf8("MA\u00D1ANA \u00C1LVAREZ MU\u00D1OZ \u0160\u0178 \u00DF")}));
    clickItem(list, 1);
    QCOMPARE(f.control<QLineEdit>("txtRenglonesPagina")->text(), QStringLiteral("72"));
    QCOMPARE(f.control<QLineEdit>("txtLPT")->text(), QStringLiteral("3"));
  }

  // Names from the file keep their case; they are found without regard to
  // ASCII case only, as the platform's functions find them.
  void namesAreMatchedWithoutRegardToAsciiCaseOnly() {
    WindowFixture f;
    f.write("Pliegomatic.ini", "[Pe\xF1" "a]\r\nLPT=4\r\n");
    f.open();
    auto* list = f.control<QListWidget>("List2");
    QCOMPARE(itemTexts(list), QStringList{QString::fromUtf8("Pe\u00F1a")});
    QCOMPARE(f.control<QLineEdit>("txtLPT")->text(), QStringLiteral("4"));  // looked up as "PE\xF1A"
    f.dialogs.answer = "pe\xF1" "a";
    click(f, "cmdAgregarImpresora");
    clickItem(list, 1);  // "PEÑA" is another section for the platform: its fields are empty
    QCOMPARE(itemTexts(list)[1], QString::fromUtf8("PE\u00D1A"));
    QCOMPARE(f.control<QLineEdit>("txtLPT")->text(), QString());
  }
};

QTEST_MAIN(ProfilesWindowTest)
#include "test_profiles_window.moc"
