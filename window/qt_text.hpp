#pragma once
// The core keeps text as bytes; Qt keeps it as Unicode. The window converts
// at the controls, both ways. Profile names, field texts and reports are
// Windows-1252 ("€" and "–" are 0x80 and 0x96). File names and messages
// that carry them or a command's error output are in the system's encoding:
// UTF-8 on Linux, the ANSI code page (1252 in the offices) on Windows.
#include <QString>
#include <string>

#include "common/code_page.hpp"

namespace pliego {

inline QString toQt(const std::string& bytes) {
#ifdef Q_OS_WIN
  return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
#else
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) text += QChar(static_cast<char16_t>(unicodeOfCp1252(static_cast<unsigned char>(c))));
  return text;
#endif
}

// Characters outside the code page become "?".
inline std::string fromQt(const QString& text) {
#ifdef Q_OS_WIN
  return text.toLocal8Bit().toStdString();
#else
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    const unsigned char byte = cp1252OfUnicode(c.unicode());
    bytes += byte != 0 || c.unicode() == 0 ? static_cast<char>(byte) : '?';
  }
  return bytes;
#endif
}

// Text in the system's encoding: paths, messages and the status line.
inline QString toQtSystem(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string fromQtSystem(const QString& text) { return text.toLocal8Bit().toStdString(); }

}  // namespace pliego
