// Pliegomatic: shows its one window and runs until it closes or "Salir" is pressed.
#include <QApplication>
#include <QIcon>

#include "platform/files.hpp"
#include "window/frm_pliegomatic.hpp"
#include "window/system_settings.hpp"

int main(int argc, char* argv[]) {
  pliego::ignoreFileSizeLimitSignal();
  QApplication application(argc, argv);
  pliego::installSpanishTranslation(application);
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/pliegomatic-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);
  pliego::frmPliegomatic window;
  window.show();
  return QApplication::exec();
}
