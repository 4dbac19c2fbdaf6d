#include "printing/report_check.hpp"

#include <algorithm>
#include <array>

#include "printing/charset.hpp"
#include "printing/page_header.hpp"
#include "printing/printer_codes.hpp"

namespace pliego {

namespace {

// Bytes that are printer codes or may start one: control bytes and DEL.
std::array<bool, 256> codeBytes() {
  std::array<bool, 256> codes{};
  for (int b = 0; b < 0x20; ++b) codes[b] = true;
  codes[0x7F] = true;
  return codes;
}

struct HeaderFinding {
  bool reset = false;
  int otherLength = 0;
};

HeaderFinding lookAtHeaderLine(std::string_view line, int pageLines) {
  const FormCodes codes = formCodesOf(line);
  HeaderFinding finding;
  finding.reset = codes.reset;
  if (codes.pageLength != 0 && pageLines != 0 && codes.pageLength != pageLines) finding.otherLength = codes.pageLength;
  return finding;
}

}  // namespace

ReportCheck checkReport(LineReader& report, const PageRules& rules, const PrinterSetup& setup) {
  static const std::array<bool, 256> kCodes = codeBytes();
  ReportCheck check;
  check.carriage = columnsAtPitch(setup);
  check.pageLines = physicalPageLines(rules).value_or(0);
  check.foldAsked = setup.foldTypography;
  // The header's codes matter where they go out again on every page, and
  // on page 1 too when they come after the set-up.
  const bool codesRepeated = !setup.headerCodesOnce;
  const bool lengthMatters = codesRepeated || setup.commands == CommandSet::None;
  PrinterCharset charset(setup.table, false);
  std::string_view line;
  for (std::size_t index = 0; report.next(line); ++index) {
    bool coded = false;
    for (const char c : line) coded |= kCodes[static_cast<unsigned char>(c)];
    std::int64_t width = coded ? static_cast<std::int64_t>(printedWidth(line)) : static_cast<std::int64_t>(line.size());
    if (index < rules.headerCount) {
      const HeaderFinding finding = lookAtHeaderLine(line, check.pageLines);
      check.headerReset |= finding.reset && codesRepeated;
      if (finding.otherLength != 0 && lengthMatters) check.headerPageLength = finding.otherLength;
      if (index == 0 && rules.stampPages) width = std::max<std::int64_t>(width, printedWidth(pageStamp(line, 1)));
    }
    check.widest = std::max(check.widest, width);
    charset.count(line);
  }
  check.controlBytes = charset.controlBytes();
  return check;
}

std::vector<std::string> ReportCheck::problems() const {
  std::vector<std::string> found;
  if (tooWide())
    found.push_back("El renglon mas ancho del informe tiene " + std::to_string(widest) +
                    " columnas y el carro admite " + std::to_string(carriage) +
                    ": los renglones largos pasaran al renglon siguiente y correran las paginas.");
  if (headerReset)
    found.push_back("Los renglones del encabezado, que se repiten en cada pagina, tienen el codigo ESC @, que vuelve "
                    "la impresora a su largo de pagina de fabrica.");
  if (headerPageLength != 0)
    found.push_back("Los renglones del encabezado fijan paginas de " + std::to_string(headerPageLength) +
                    " renglones (ESC C) y las paginas de esta configuracion tienen " + std::to_string(pageLines) + ".");
  if (unfoldedControls())
    found.push_back("El informe tiene " + std::to_string(controlBytes) +
                    " simbolos de Windows (comillas, guiones largos y otros) que algunas impresoras toman como "
                    "codigos de control.");
  return found;
}

std::string ReportCheck::message() const {
  std::string text;
  for (const std::string& problem : problems()) text += problem + "\n";
  return text + "\xBF Desea imprimir de todos modos ?";
}

std::string ReportCheck::status() const {
  std::string text = "Renglon mas ancho: " + std::to_string(widest) + " columnas";
  if (carriage > 0) text += " de " + std::to_string(carriage);
  return text + (troubled() ? ". Revise la configuracion de la impresora." : ". Sin problemas para la impresora.");
}

}  // namespace pliego
