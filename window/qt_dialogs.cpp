#include "window/qt_dialogs.hpp"

#include <QInputDialog>
#include <QMessageBox>

#include "window/qt_text.hpp"

namespace pliego {

namespace {
const QString kTitle = QStringLiteral("Pliegomatic");
}

void QtDialogs::inform(const std::string& text) {
  QMessageBox box(QMessageBox::Information, kTitle, toQtSystem(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, kTitle, toQtSystem(text), QMessageBox::Yes | QMessageBox::No, parent_);
  return box.exec() == QMessageBox::Yes;
}

std::string QtDialogs::ask(const std::string& prompt, const std::string& title, const std::string& defaultAnswer) {
  QInputDialog box(parent_);
  box.setWindowTitle(toQtSystem(title));
  box.setLabelText(toQtSystem(prompt));
  box.setTextValue(toQt(defaultAnswer));
  if (box.exec() != QDialog::Accepted) return {};
  return fromQt(box.textValue());
}

}  // namespace pliego
