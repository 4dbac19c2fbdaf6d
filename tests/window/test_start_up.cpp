// Start-up of the window: title, folder, report list, settings file, frame
// caption, profile list and first profile; and the controls it lays out.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/files.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

class StartUpTest : public QObject {
  Q_OBJECT

 private:
  static QStringList fieldTexts(const WindowFixture& f) {
    QStringList texts;
    for (const char* name : {"txtRenglonesPagina", "txtRenglonesEncabezado", "txtEntrePaginas", "txtLPT"})
      texts << f.control<QLineEdit>(name)->text();
    return texts;
  }

 private slots:
  void withProfilesTheFirstIsSelectedAndLoaded() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.write("MAYOR.TXT", "EMPRESA\r\n");
    frmPliegomatic& w = f.open();

    QCOMPARE(w.windowTitle(), QStringLiteral("Pliegomatic v%1.%2.%3")
                                  .arg(PLIEGO_VERSION_MAJOR)
                                  .arg(PLIEGO_VERSION_MINOR)
                                  .arg(PLIEGO_VERSION_PATCH));
    QCOMPARE(w.mRuta(), f.folder());
    QCOMPARE(w.mIni().Path(), f.file("Pliegomatic.ini"));
    QCOMPARE(f.control<QGroupBox>("Frame1")->title(),
             QString::fromStdString("Configuracion de Impresoras (" + f.file("Pliegomatic.ini") + ")"));
    QCOMPARE(itemTexts(f.control<QListWidget>("List1")), QStringList{"MAYOR.TXT"});
    auto* list2 = f.control<QListWidget>("List2");
    QCOMPARE(itemTexts(list2), (QStringList{"EPSON 12 PULGADAS", "EPSON 11 PULGADAS"}));
    QCOMPARE(selectedRow(list2), 0);
    QCOMPARE(fieldTexts(f), (QStringList{"72", "4", "2", "1"}));
    QCOMPARE(f.control<QCheckBox>("chkNumeroPagina")->checkState(), Qt::Checked);
    QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List1"));
    QVERIFY(f.dialogs.informed.empty());
  }

  void withoutIniNothingIsSelectedAndTheFieldsStayEmpty() {
    WindowFixture f;
    f.write("ivaventas.txt", "EMPRESA\r\n");
    f.write("WRITE.TXT", " \r\n");
    frmPliegomatic& w = f.open();

    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Pliegomatic v")));
    QCOMPARE(f.control<QGroupBox>("Frame1")->title(),
             QString::fromStdString("Configuracion de Impresoras (" + f.file("Pliegomatic.ini") + ")"));
    QCOMPARE(itemTexts(f.control<QListWidget>("List1")), QStringList{"IVAVENTAS.TXT"});
    QCOMPARE(f.control<QListWidget>("List2")->count(), 0);
    QCOMPARE(fieldTexts(f), (QStringList{"", "", "", ""}));
    QVERIFY(!f.exists("Pliegomatic.ini"));
  }

  void aMixedCaseSectionIsListedAsWrittenAndLoads() {
    WindowFixture f;
    f.write("Pliegomatic.ini", "[Oficina]\r\nrenglones por pagina=60\r\nRENGLONES DEL ENCABEZADO=3\r\n"
                               "Renglones Entre Paginas=1\r\nlpt=3\r\nNUMERO DE PAGINA=0\r\n");
    f.open();
    QCOMPARE(itemTexts(f.control<QListWidget>("List2")), QStringList{"Oficina"});
    QCOMPARE(fieldTexts(f), (QStringList{"60", "3", "1", "3"}));
    QCOMPARE(f.control<QCheckBox>("chkNumeroPagina")->checkState(), Qt::Checked);
  }

  void lowerCaseReportsAreListedUpperCasedAndWorkFilesLeftOut() {
    WindowFixture f;
    for (const char* name : {"mayor.txt", "IvaCompras.txt", "write.txt", "WRITE2.TXT", "leame.txt"})
      f.write(name, "x\r\n");
    f.open();
    QStringList shown = itemTexts(f.control<QListWidget>("List1"));
    shown.sort();
    QCOMPARE(shown, (QStringList{"IVACOMPRAS.TXT", "MAYOR.TXT"}));
    QCOMPARE(selectedRow(f.control<QListWidget>("List1")), -1);
  }

  void onlyWorkFilesGiveAnEmptyReportList() {
    WindowFixture f;
    f.write("WRITE.TXT", " \r\n");
    f.write("write2.txt", " \r\n");
    f.open();
    QCOMPARE(f.control<QListWidget>("List1")->count(), 0);
  }

  // The INI is Windows-1252 on every system: "€" is 0x80 and "–" is 0x96
  // there, not the control characters Latin-1 has at those bytes.
  void namesShowInTheWindowsCodePage() {
    WindowFixture f;
    f.write("Pliegomatic.ini", "[EPSON \x80 12 \x96 A\xF1o]\r\nLPT=3\r\n");
    f.open();
    QCOMPARE(itemTexts(f.control<QListWidget>("List2")), QStringList{QString::fromUtf8("EPSON € 12 – Año")});
    QCOMPARE(f.control<QLineEdit>("txtLPT")->text(), QStringLiteral("3"));
  }

  void anUnreadableFolderIsReportedAndTheWindowStillComesUp() {
    WindowFixture f;
    WindowServices services;
    services.folder = f.file("no-existe");
    services.dialogs = &f.dialogs;
    services.launcher = &f.launcher;
    frmPliegomatic w(services);
    QCOMPARE(f.dialogs.informed.size(), std::size_t{1});
    QVERIFY(f.dialogs.informed[0].find("no-existe") != std::string::npos);
    QCOMPARE(w.findChild<QListWidget*>("List1")->count(), 0);
    QVERIFY(w.findChild<QGroupBox*>("Frame1")->title().contains(QString::fromStdString(joinPath("no-existe", "Pliegomatic.ini"))));
  }

  // With the real message boxes: a profile file that exists but cannot be
  // read is told at start-up, and the window still comes up.
  void anUnreadableProfileFileIsToldAtStartUp() {
    WindowFixture f;
    QVERIFY(QDir(QString::fromStdString(f.folder())).mkdir("Pliegomatic.ini"));
    WindowServices services;
    services.folder = f.folder();
    services.launcher = &f.launcher;
    QString told;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll, &told] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        poll.stop();
        told = box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    poll.start(10);
    frmPliegomatic w(services);
    QCOMPARE(told, QString::fromStdString("No se pudo leer el archivo de impresoras " +
                                          joinPath(f.folder(), "Pliegomatic.ini") + ". La lista de impresoras queda vacia. Verifique los "
                                          "permisos del archivo y que la unidad de red este disponible."));
    QCOMPARE(w.findChild<QListWidget*>("List2")->count(), 0);
  }

  void controlsSitInTheirContainersAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char* name, const char* container, int l, int t, int w, int h) {
      QTest::newRow(name) << QString(name) << QString(container) << QRect(l, t, w, h);
    };
    row("List1", "frmPliegomatic", 120, 600, 8655, 2370);
    row("Frame1", "frmPliegomatic", 120, 3000, 8655, 2655);
    row("txtRenglonesPagina", "Frame1", 3360, 420, 735, 375);
    row("txtRenglonesEncabezado", "Frame1", 3360, 915, 735, 375);
    row("txtEntrePaginas", "Frame1", 3360, 1440, 735, 375);
    row("txtLPT", "Frame1", 3360, 1845, 735, 375);
    row("chkNumeroPagina", "Frame1", 240, 2160, 3855, 375);
    row("List2", "Frame1", 4320, 600, 2535, 1620);
    row("cmdAgregarImpresora", "Frame1", 6840, 600, 1695, 375);
    row("cmdGuardarImpresora", "Frame1", 6840, 1230, 1695, 375);
    row("Command1", "Frame1", 6840, 1815, 1695, 375);
    row("Label2_4", "Frame1", 3840, 240, 3495, 195);
    row("chkTotalesDeIVA", "frmPliegomatic", 120, 5640, 50000, 375);
    row("Picture1", "frmPliegomatic", 0, 6045, 8880, 1455);
    row("chkPreview", "Picture1", 120, 0, 2000, 375);
    row("cmdImprimir", "Picture1", 120, 480, 1215, 495);
    row("cmdSalir", "Picture1", 1440, 480, 1215, 495);
    row("Label1", "Picture1", 0, 1200, 8895, 255);
    row("Label3", "Picture1", 2985, 360, 5895, 800);
    row("Label2_5", "Picture1", 2895, 0, 5895, 250);
    row("Label2_2", "frmPliegomatic", 120, 120, 8625, 315);
  }

  void controlsSitInTheirContainersAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    WindowFixture f;
    f.open();
    auto* control = f.window->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    const auto px = [](int t) { return (t + 7) / 15; };
    QCOMPARE(control->geometry(), QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
  }

  // As users know a frame: its caption is written on its top line, and the
  // line runs around every control inside, crossing none.
  void theFrameCaptionSitsOnTheTopLineAndNoControlCrossesTheLines() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    auto* frame = f.control<QGroupBox>("Frame1");
    const QImage image = frame->grab().toImage();
    const qreal scale = image.devicePixelRatio();
    const auto pixel = [&](int x, int y) { return image.pixel(int(x * scale), int(y * scale)); };
    const QRgb background = pixel(frame->width() - 6, frame->height() - 6);
    const auto firstLine = [&](int x, int y, int dx, int dy) {
      while (y >= 0 && y < frame->height() && x >= 0 && x < frame->width() && pixel(x, y) == background) {
        x += dx;
        y += dy;
      }
      return QPoint(x, y);
    };
    const int x = frame->width() - 6, y = frame->height() - 6;
    const int top = firstLine(x, 0, 0, 1).y(), bottom = firstLine(x, frame->height() - 1, 0, -1).y();
    const int left = firstLine(0, y, 1, 0).x(), right = firstLine(frame->width() - 1, y, -1, 0).x();
    QVERIFY(top > 0 && bottom > top && right > left);
    QVERIFY2(pixel(left, top) != background, "the top line starts left of the caption");

    // The caption's letters reach above and below the top line, near its left.
    const QFontMetrics metrics(frame->font());
    const QRect caption(left + 2, 0, metrics.horizontalAdvance(frame->title()), top + metrics.height());
    bool inkAbove = false, inkBelow = false;
    for (int cy = caption.top(); cy <= caption.bottom(); ++cy)
      for (int cx = caption.left(); cx < caption.right(); ++cx)
        if (qGray(pixel(cx, cy)) < 100) {
          if (cy < top) inkAbove = true;
          if (cy > top + 1) inkBelow = true;
        }
    QVERIFY2(inkAbove && inkBelow, "the caption is written on the top line");

    for (QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const QRect place = control->geometry();
      QVERIFY2(place.top() > top + 1 && place.bottom() < bottom - 1 && place.left() > left + 1 &&
                   place.right() < right - 1,
               qPrintable(control->objectName()));
    }
  }

  // The faces the window was drawn with, or faces of their width where they
  // are missing (on Linux, and under Wine without Windows' fonts); never a
  // wider fallback that pushes captions out of their controls.
  void captionsUseFacesOfTheDrawnWidth() {
    WindowFixture f;
    frmPliegomatic& w = f.open();
    const QString small = QFontInfo(w.font()).family();
    const QString large = QFontInfo(f.control<QListWidget>("List1")->font()).family();
    QVERIFY2(QStringList({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"}).contains(small), qPrintable(small));
    QVERIFY2(QStringList({"Arial", "Liberation Sans"}).contains(large), qPrintable(large));
  }

  void theWindowKeepsItsClientSizeAndShowsItsNotes() {
    WindowFixture f;
    frmPliegomatic& w = f.open();
    QCOMPARE(w.size(), QSize(592, 500));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(f.control<QLabel>("Label3")->text(),
             QStringLiteral("Para que Pliegomatic funcione correctamente debe ser ejecutado desde una unidad "
                            "\"mapeada\" en la red, por ejemplo (F:)   Esa unidad debe ser el servidor de  "
                            "Zelt, Kavenor, etc. Si experimenta problemas de puerto de impresion verifique si la "
                            "unidad de red existe y SI es la correcta."));
    QVERIFY(f.control<QLabel>("Label1")->text().startsWith(QStringLiteral("Pliegomatic")));
    const auto bold = [&](const char* name) { return f.control<QWidget>(name)->font(); };
    QCOMPARE(bold("Label2_2").pointSizeF(), 14.25);
    QVERIFY(bold("Label2_2").bold());
    QCOMPARE(bold("List1").pointSizeF(), 14.25);
    QCOMPARE(bold("txtLPT").pointSizeF(), 9.75);
    QCOMPARE(bold("Label2_4").pointSizeF(), 8.25);
    QCOMPARE(bold("Label2_5").pointSizeF(), 9.75);
  }

  void tabFollowsTheTabIndexes() {
    WindowFixture f;
    f.open();
    const QStringList expected{"List1",        "txtRenglonesPagina",  "txtRenglonesEncabezado",
                               "txtLPT",       "chkNumeroPagina",     "List2",
                               "cmdAgregarImpresora", "cmdGuardarImpresora", "Command1",
                               "cmdImprimir",  "cmdSalir",            "txtEntrePaginas",
                               "chkPreview",   "chkTotalesDeIVA",     "cmdOpciones",
                               "cboDestino",   "cmdConfigurarImpresora", "List1"};
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
  }

  void accessKeysMoveTheFocusToTheLabelledBox_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");
    QTest::newRow("Alt+P") << int(Qt::Key_P) << "txtRenglonesPagina";
    QTest::newRow("Alt+E") << int(Qt::Key_E) << "txtRenglonesEncabezado";
    QTest::newRow("Alt+L") << int(Qt::Key_L) << "txtLPT";
  }

  void accessKeysMoveTheFocusToTheLabelledBox() {
    QFETCH(int, key);
    QFETCH(QString, target);
    WindowFixture f;
    f.open();
    QTest::keyClick(f.window.get(), Qt::Key(key), Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), target);
  }

  void altNTogglesThePageNumberBox() {
    WindowFixture f;
    f.open();
    auto* box = f.control<QCheckBox>("chkNumeroPagina");
    const bool before = box->isChecked();
    QTest::keyClick(f.window.get(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(box->isChecked(), !before);
  }
};

QTEST_MAIN(StartUpTest)
#include "test_start_up.moc"
