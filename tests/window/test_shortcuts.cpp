// Key preview: F5, F9 and F10 from any control, whatever Shift, Ctrl and Alt
// say, and the key still reaches the focused control.
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

// Counts the presses of one key that reach a control.
class KeyCounter : public QObject {
 public:
  explicit KeyCounter(int key) : key_(key) {}
  int presses = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == key_) ++presses;
    return false;
  }

 private:
  int key_;
};

}  // namespace

class ShortcutsTest : public QObject {
  Q_OBJECT

 private:
  static void addModifierRows() {
    QTest::addColumn<int>("modifiers");
    QTest::newRow("plain") << int(Qt::NoModifier);
    QTest::newRow("Shift") << int(Qt::ShiftModifier);
    QTest::newRow("Ctrl") << int(Qt::ControlModifier);
    QTest::newRow("Alt") << int(Qt::AltModifier);
    QTest::newRow("Ctrl+Shift") << int(Qt::ControlModifier | Qt::ShiftModifier);
  }

  static QLineEdit* focusedTextBox(WindowFixture& f, const char* name) {
    auto* box = f.control<QLineEdit>(name);
    box->setFocus();
    return QApplication::focusWidget() == box ? box : nullptr;
  }

 private slots:
  void f5AndF9MoveTheFocusToTheLists_data() { addModifierRows(); }
  void f5AndF9MoveTheFocusToTheLists() {
    QFETCH(int, modifiers);
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    QLineEdit* box = focusedTextBox(f, "txtLPT");
    QVERIFY(box);
    KeyCounter seen(Qt::Key_F9);
    box->installEventFilter(&seen);

    QTest::keyClick(box, Qt::Key_F9, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List2"));
    QCOMPARE(seen.presses, 1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List1"));
  }

  void f10RunsThePrintJobOnceFromATextBox_data() { addModifierRows(); }
  void f10RunsThePrintJobOnceFromATextBox() {
    QFETCH(int, modifiers);
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.open();
    QLineEdit* box = focusedTextBox(f, "txtRenglonesEncabezado");
    QVERIFY(box);
    KeyCounter seen(Qt::Key_F10);
    box->installEventFilter(&seen);

    QTest::keyClick(box, Qt::Key_F10, Qt::KeyboardModifiers(modifiers));
    // No report is selected: the job's first check answers, once, and sends
    // the focus to the report list.
    QCOMPARE(f.dialogs.informed, std::vector<std::string>{"Debe seleccionar el archivo a imprimir"});
    QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List1"));
    QCOMPARE(seen.presses, 1);
  }

  void otherKeysAreLeftToTheControl() {
    WindowFixture f;
    f.open();
    QLineEdit* box = focusedTextBox(f, "txtRenglonesPagina");
    QVERIFY(box);
    QTest::keyClicks(box, "66");
    QTest::keyClick(box, Qt::Key_F6);
    QTest::keyClick(box, Qt::Key_F12, Qt::ShiftModifier);
    QCOMPARE(box->text(), QStringLiteral("66"));
    QCOMPARE(QApplication::focusWidget(), box);
    QVERIFY(f.dialogs.informed.empty());
  }

  void theShortcutsWorkFromTheListsAndButtonsToo() {
    WindowFixture f;
    f.open();
    for (const char* name : {"chkPreview", "cmdSalir", "List2"}) {
      auto* control = f.control<QWidget>(name);
      control->setFocus();
      QTest::keyClick(control, Qt::Key_F5);
      QCOMPARE(QApplication::focusWidget(), f.control<QListWidget>("List1"));
    }
  }

  // The list that has the keyboard frames its current entry, as Windows list
  // boxes do: F5 and F9 show where the keys will go. Without a current entry
  // the frame is on the first one.
  void theListWithTheKeyboardShowsAFocusFrame() {
    WindowFixture f;
    f.write("Pliegomatic.ini", kTwoProfilesIni);
    f.write("MAYOR.TXT", "MAYOR\r\n");
    f.write("IVAVENTAS.TXT", "IVA\r\n");
    f.open();
    auto* reports = f.control<QListWidget>("List1");
    auto* profiles = f.control<QListWidget>("List2");
    QCOMPARE(selectedRow(reports), -1);
    QCOMPARE(selectedRow(profiles), 0);

    QTest::keyClick(reports, Qt::Key_F9);
    QCOMPARE(QApplication::focusWidget(), profiles);
    QVERIFY(framePixels(profiles, 0) > 0);
    QCOMPARE(framePixels(reports, 0), 0);

    QTest::keyClick(profiles, Qt::Key_F5);
    QCOMPARE(QApplication::focusWidget(), reports);
    QVERIFY(framePixels(reports, 0) > 0);  // nothing selected: the first entry
    QCOMPARE(framePixels(profiles, 0), 0);
    QTest::keyClick(reports, Qt::Key_End);
    QCOMPARE(selectedRow(reports), 1);
    QVERIFY(framePixels(reports, 1) > 0);
    QCOMPARE(framePixels(reports, 0), 0);
  }

 private:
  // How many pixels of the top edge of entry `row` differ from the pixels
  // just inside it: the dotted frame's, when one is drawn.
  static int framePixels(QListWidget* list, int row) {
    const QImage image = list->viewport()->grab().toImage();
    const QRect place = list->visualItemRect(list->item(row));
    int differing = 0;
    for (int x = place.left() + 2; x < place.right() - 2; ++x)
      if (image.pixel(x, place.top()) != image.pixel(x, place.top() + 1)) ++differing;
    return differing;
  }
};

QTEST_MAIN(ShortcutsTest)
#include "test_shortcuts.moc"
