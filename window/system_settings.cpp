#include "window/system_settings.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pliego {

namespace {
char singleByte(const QString& text, char fallback) {
  if (text.size() != 1 || text.at(0).unicode() > 0xFF) return fallback;
  return static_cast<char>(text.at(0).unicode());
}
}  // namespace

NumberFormat numberFormatOf(const QLocale& locale) {
  NumberFormat format;
  format.decimal = singleByte(locale.decimalPoint(), '.');
  format.group = singleByte(locale.groupSeparator(), ' ');
  return format;
}

bool installSpanishTranslation(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace pliego
