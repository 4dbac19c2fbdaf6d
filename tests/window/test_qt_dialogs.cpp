// The real boxes of the window, the Spanish button texts, the number format
// taken from the locale, and "Salir".
#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "common/code_page.hpp"
#include "window/qt_dialogs.hpp"
#include "window/system_settings.hpp"
#include "window_fixture.hpp"
using namespace pliego;
using namespace pliego::testing;

namespace {

// Runs `answer` on the modal box as soon as it shows.
void whenModalShows(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      answer(box);
    }
  });
  poll->start(10);
}

}  // namespace

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(installSpanishTranslation(*QCoreApplication::instance())); }

  void informShowsAnInformationBoxTitledPliegomatic() {
    QWidget parent;
    QtDialogs dialogs(&parent);
    QString title, text, ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModalShows([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      ok = box->button(QMessageBox::Ok)->text().remove('&');
      box->button(QMessageBox::Ok)->click();
    });
    dialogs.inform(cp1252ToSystem("Impresi\xF3n Finalizada"));  // messages are in the system's encoding
    QCOMPARE(title, QStringLiteral("Pliegomatic"));
    QCOMPARE(text, QStringLiteral("Impresi\u00F3n Finalizada"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(ok, QStringLiteral("Aceptar"));
  }

  void confirmAsksWithSiAndNo_data() {
    QTest::addColumn<int>("pressed");
    QTest::addColumn<bool>("result");
    QTest::newRow("S\u00ed") << int(QMessageBox::Yes) << true;
    QTest::newRow("No") << int(QMessageBox::No) << false;
  }
  void confirmAsksWithSiAndNo() {
    QFETCH(int, pressed);
    QFETCH(bool, result);
    QWidget parent;
    QtDialogs dialogs(&parent);
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModalShows([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      icon = box->icon();
      for (QAbstractButton* button : box->buttons()) buttons << button->text().remove('&');
      box->button(QMessageBox::StandardButton(pressed))->click();
    });
    QCOMPARE(dialogs.confirm(cp1252ToSystem("\xBF Seguro ?")), result);
    QCOMPARE(icon, QMessageBox::Question);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"No", QStringLiteral("S\u00ed")}));
  }

  void askGivesTheTypedTextOrNothingOnCancel_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Aceptar") << true << QStringLiteral("se\u00F1al");
    QTest::newRow("Cancelar") << false << QString();
  }
  void askGivesTheTypedTextOrNothingOnCancel() {
    QFETCH(bool, accept);
    QFETCH(QString, expected);
    QWidget parent;
    QtDialogs dialogs(&parent);
    QString title, label;
    whenModalShows([&](QWidget* w) {
      auto* box = qobject_cast<QInputDialog*>(w);
      title = box->windowTitle();
      label = box->labelText();
      box->setTextValue(QStringLiteral("se\u00F1al"));
      if (accept) box->accept();
      else box->reject();
    });
    const std::string answer = dialogs.ask("Ingrese el nombre", "Agregar Impresora", "");
    QCOMPARE(QString::fromLatin1(answer.c_str()), expected);
    QCOMPARE(title, QStringLiteral("Agregar Impresora"));
    QCOMPARE(label, QStringLiteral("Ingrese el nombre"));
  }

  void theNumberFormatComesFromTheLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<char>("decimal");
    QTest::addColumn<char>("group");
    QTest::newRow("es_AR") << QLocale(QLocale::Spanish, QLocale::Argentina) << ',' << '.';
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << '.' << ',';
    // Swiss German groups with U+2019, which is no byte of the code page.
    QTest::newRow("de_CH") << QLocale(QLocale::German, QLocale::Switzerland) << '.' << ' ';
  }
  void theNumberFormatComesFromTheLocale() {
    QFETCH(QLocale, locale);
    QFETCH(char, decimal);
    QFETCH(char, group);
    const NumberFormat format = numberFormatOf(locale);
    QCOMPARE(format.decimal, decimal);
    QCOMPARE(format.group, group);
  }

  void salirEndsTheProgramWithoutClosingTheWindow() {
    WindowFixture f;
    f.open();
    QTimer::singleShot(0, [&] { QTest::mouseClick(f.control<QPushButton>("cmdSalir"), Qt::LeftButton); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });  // only if "Salir" did nothing
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(f.window->isVisible());
  }
};

QTEST_MAIN(QtDialogsTest)
#include "test_qt_dialogs.moc"
