#include "window_fixture.hpp"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/files.hpp"

namespace pliego::testing {

const char* const kTwoProfilesIni =
    "[EPSON 12 PULGADAS]\r\n"
    "RENGLONES POR PAGINA=72\r\n"
    "RENGLONES DEL ENCABEZADO=4\r\n"
    "RENGLONES ENTRE PAGINAS=2\r\n"
    "LPT=1\r\n"
    "NUMERO DE PAGINA=0\r\n"
    "[EPSON 11 PULGADAS]\r\n"
    "RENGLONES POR PAGINA=66\r\n"
    "RENGLONES DEL ENCABEZADO=5\r\n"
    "RENGLONES ENTRE PAGINAS=0\r\n"
    "LPT=2\r\n"
    "NUMERO DE PAGINA=2\r\n";

WindowFixture::WindowFixture(const QString& subfolder) : path_(dir_.path()) {
  dir_.setAutoRemove(true);
  if (subfolder.isEmpty()) return;
  QDir(dir_.path()).mkdir(subfolder);
  path_ = QDir(dir_.path()).filePath(subfolder);
}

std::string WindowFixture::folder() const { return QDir::toNativeSeparators(path_).toLocal8Bit().toStdString(); }

std::string WindowFixture::file(const std::string& name) const { return joinPath(folder(), name); }

void WindowFixture::write(const std::string& name, const std::string& bytes) const {
  QFile file(QDir(path_).filePath(QString::fromStdString(name)));
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string WindowFixture::read(const std::string& name) const {
  QFile file(QDir(path_).filePath(QString::fromStdString(name)));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

bool WindowFixture::exists(const std::string& name) const {
  return QFile::exists(QDir(path_).filePath(QString::fromStdString(name)));
}

frmPliegomatic& WindowFixture::open() {
  WindowServices services;
  services.folder = folder();
  services.dialogs = realBoxes ? nullptr : &dialogs;
  services.launcher = otherLauncher ? otherLauncher : &launcher;
  services.numberFormat = NumberFormat{'.', ','};
  services.spooler = spooler;
  window = std::make_unique<frmPliegomatic>(services);
  window->show();
  window->activateWindow();
  (void)QTest::qWaitForWindowActive(window.get());
  return *window;
}

bool WindowFixture::jobEnded(int timeoutMs) const {
  return QTest::qWaitFor([this] { return !window->printing(); }, timeoutMs);
}

BoxAnswerer::BoxAnswerer(By by) : by_(by) {
  auto* poll = new QTimer(this);
  connect(poll, &QTimer::timeout, this, &BoxAnswerer::answerActiveBox);
  poll->start(20);
}

void BoxAnswerer::answerActiveBox() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box || !box->isVisible() || box->property("answered").toBool()) return;
  QAbstractButton* ok = box->button(QMessageBox::Ok);
  if (!ok) return;
  box->setProperty("answered", true);
  texts << box->text();
  buttons << ok->text().remove('&');
  if (by_ == By::ClickOnAceptar) {
    QTest::mouseClick(ok, Qt::LeftButton);
  } else {
    QWidget* focus = box->focusWidget() ? box->focusWidget() : box;
    QTest::keyClick(focus, Qt::Key_Return);
  }
}

QStringList itemTexts(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

int selectedRow(const QListWidget* list) {
  const auto selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.first());
}

}  // namespace pliego::testing
