#pragma once
// What the window takes from the system: the user's number format and Qt's
// own Spanish texts for the standard buttons.
#include "common/numbers.hpp"

class QCoreApplication;
class QLocale;

namespace pliego {

// The locale's decimal and group separators. A separator that is not one
// byte of the code page falls back to "." for the decimal point and to a
// blank for the group separator.
NumberFormat numberFormatOf(const QLocale& locale);

// Loads Qt's Spanish translation, so standard buttons read "Aceptar", "Sí",
// "No" and "Cancelar". False when the translation is not installed.
bool installSpanishTranslation(QCoreApplication& application);

}  // namespace pliego
