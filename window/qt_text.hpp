#pragma once
// The core keeps text as 8-bit code-page bytes; Qt keeps it as Unicode. The
// window converts at the controls, both ways, through Latin-1.
#include <QString>
#include <string>

namespace pliego {

inline QString toQt(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Characters outside the code page become "?".
inline std::string fromQt(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace pliego
