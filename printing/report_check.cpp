#include "printing/report_check.hpp"

#include <algorithm>
#include <array>
#include <limits>

#include "printing/charset.hpp"
#include "printing/page_header.hpp"
#include "printing/printer_codes.hpp"

namespace pliego {

namespace {

// For every byte: 1 when it is a printer code or may start one (control
// bytes other than the line ends, DEL), 2 when the check counts it.
using ByteKinds = std::array<unsigned char, 256>;
constexpr unsigned char kCode = 1, kCounted = 2;

ByteKinds byteKinds(const PrinterCharset& charset) {
  ByteKinds kinds{};
  for (int b = 0; b < 256; ++b) {
    const bool code = (b < 0x20 && b != '\r' && b != '\n') || b == 0x7F;
    kinds[b] = static_cast<unsigned char>((code ? kCode : 0) | (charset.counted(static_cast<unsigned char>(b)) ? kCounted : 0));
  }
  return kinds;
}

// One pass over bytes: whether any is a code, and how many are counted.
bool scan(std::string_view bytes, const ByteKinds& kinds, std::uint64_t& counted) {
  unsigned char any = 0;
  std::uint64_t count = 0;
  for (const char c : bytes) {
    const unsigned char kind = kinds[static_cast<unsigned char>(c)];
    any |= kind;
    count += kind >> 1;
  }
  counted += count;
  return (any & kCode) != 0;
}

// The widest line on paper of a run of lines that end in CR LF.
std::int64_t widestOfRun(std::string_view bytes) {
  std::int64_t widest = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", at);
    const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
    widest = std::max<std::int64_t>(widest, static_cast<std::int64_t>(printedWidth(bytes.substr(at, stop - at))));
    at = stop + 2;
  }
  return widest;
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
  ReportCheck check;
  check.carriage = columnsAtPitch(setup);
  check.pageLines = physicalPageLines(rules).value_or(0);
  check.foldAsked = setup.foldTypography;
  // The header's codes matter where they go out again on every page, and
  // on page 1 too when they come after the set-up.
  const bool codesRepeated = !setup.headerCodesOnce;
  const bool lengthMatters = codesRepeated || setup.commands == CommandSet::None;
  const PrinterCharset charset(setup.table, false);
  const ByteKinds kinds = byteKinds(charset);
  std::string_view line;
  for (std::size_t index = 0; !report.atEnd();) {
    if (index >= rules.headerCount) {
      // Past the header, whole runs of lines at a time.
      const auto run = report.takeLines(std::numeric_limits<std::int64_t>::max());
      if (run.lines > 0) {
        const bool coded = scan(run.bytes, kinds, check.controlBytes);
        check.widest = std::max(check.widest, coded ? widestOfRun(run.bytes) : run.widest);
        index += static_cast<std::size_t>(run.lines);
        continue;
      }
    }
    if (!report.next(line)) break;
    const bool coded = scan(line, kinds, check.controlBytes);
    std::int64_t width = coded ? static_cast<std::int64_t>(printedWidth(line)) : static_cast<std::int64_t>(line.size());
    if (index < rules.headerCount) {
      const HeaderFinding finding = lookAtHeaderLine(line, check.pageLines);
      check.headerReset |= finding.reset && codesRepeated;
      if (finding.otherLength != 0 && lengthMatters) check.headerPageLength = finding.otherLength;
      if (index == 0 && rules.stampPages) width = std::max<std::int64_t>(width, printedWidth(pageStamp(line, 1)));
    }
    check.widest = std::max(check.widest, width);
    ++index;
  }
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
