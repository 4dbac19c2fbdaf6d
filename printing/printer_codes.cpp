#include "printing/printer_codes.hpp"

#include <cstring>

namespace pliego {

namespace {

constexpr unsigned char kEsc = 0x1B;

// ESC commands of Epson ESC/P and IBM Proprinter that take one parameter byte.
bool takesOneByte(char command) {
  return command != '\0' && std::strchr("!-3AJNQRSUWajklpqrtwx+%", command) != nullptr;
}

std::size_t escLength(std::string_view line, std::size_t at) {
  const std::size_t left = line.size() - at;
  if (left < 2) return left;
  const char command = line[at + 1];
  std::size_t length = 2;
  if (command == '(' || command == '[') {
    // ESC ( x nL nH data and ESC [ x nL nH data.
    if (left < 5) return left;
    length = 5 + static_cast<unsigned char>(line[at + 3]) + 256u * static_cast<unsigned char>(line[at + 4]);
  } else if (command == 'B' || command == 'D') {
    // Tab stops, up to a NUL.
    const std::size_t nul = line.find('\0', at + 2);
    length = nul == std::string_view::npos ? left : nul - at + 1;
  } else if (command == 'C') {
    length = left > 2 && line[at + 2] == '\0' ? 4 : 3;
  } else if (takesOneByte(command)) {
    length = 3;
  }
  return length < left ? length : left;
}

}  // namespace

std::size_t printerCodeLength(std::string_view line, std::size_t at) {
  const auto byte = static_cast<unsigned char>(line[at]);
  if (byte == kEsc) return escLength(line, at);
  return byte < 0x20 || byte == 0x7F ? 1 : 0;
}

std::size_t printedWidth(std::string_view line) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t code = printerCodeLength(line, i);
    width += code == 0;
    i += code == 0 ? 1 : code;
  }
  return width;
}

std::string withoutPrinterCodes(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t code = printerCodeLength(line, i);
    if (code == 0) out += line[i];
    i += code == 0 ? 1 : code;
  }
  return out;
}

std::string printerCodesOf(std::string_view line) {
  std::string out;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t code = printerCodeLength(line, i);
    out += line.substr(i, code);
    i += code == 0 ? 1 : code;
  }
  return out;
}

FormCodes formCodesOf(std::string_view line) {
  FormCodes codes;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t code = printerCodeLength(line, i);
    if (code >= 2 && static_cast<unsigned char>(line[i]) == kEsc) {
      const std::string_view seq = line.substr(i, code);
      if (seq[1] == '@') codes.reset = true;
      if (seq[1] == 'C' && seq.size() == 3) codes.pageLength = static_cast<unsigned char>(seq[2]);
      if (seq[1] == 'C' && seq.size() == 4) codes.pageLength = 6 * static_cast<unsigned char>(seq[3]);
    }
    i += code == 0 ? 1 : code;
  }
  return codes;
}

}  // namespace pliego
