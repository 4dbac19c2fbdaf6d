// Starts a window and ends as soon as the window has painted itself for the
// first time. With no argument: Pliegomatic's window, built as the program's
// main() builds it (translation, icon, report list, profiles). With
// "minimal": a bare window with one label, from the same program, so that
// both load the same libraries.
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>

#include "window/frm_pliegomatic.hpp"
#include "window/system_settings.hpp"

namespace {

class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool seen_ = false;
};

std::unique_ptr<QWidget> pliegomaticWindow(QApplication& application) {
  pliego::installSpanishTranslation(application);
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/pliegomatic-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);
  return std::make_unique<pliego::frmPliegomatic>();
}

std::unique_ptr<QWidget> minimalWindow() {
  auto window = std::make_unique<QWidget>();
  new QLabel(QStringLiteral("Pliegomatic"), window.get());
  return window;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const bool minimal = argc > 1 && std::strcmp(argv[1], "minimal") == 0;
  const std::unique_ptr<QWidget> window = minimal ? minimalWindow() : pliegomaticWindow(application);
  FirstPaint firstPaint;
  window->installEventFilter(&firstPaint);
  window->show();
  return QApplication::exec();
}
