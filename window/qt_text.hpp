#pragma once
// The core keeps text as 8-bit code-page bytes; Qt keeps it as Unicode. The
// window converts at the controls, both ways: on Windows through the
// system's ANSI code page (Windows-1252 in the offices, where "€" and "–"
// are 0x80 and 0x96), elsewhere through Latin-1.
#include <QString>
#include <string>

namespace pliego {

inline QString toQt(const std::string& bytes) {
#ifdef Q_OS_WIN
  return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
#else
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
#endif
}

// Characters outside the code page become "?".
inline std::string fromQt(const QString& text) {
#ifdef Q_OS_WIN
  return text.toLocal8Bit().toStdString();
#else
  return text.toLatin1().toStdString();
#endif
}

}  // namespace pliego
