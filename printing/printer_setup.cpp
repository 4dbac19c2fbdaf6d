#include "printing/printer_setup.hpp"

#include <cmath>
#include <cstdint>

#include "common/numbers.hpp"
#include "common/text.hpp"
#include "printing/job_error.hpp"
#include "printing/page_header.hpp"

namespace pliego {

namespace {

constexpr char ESC = '\x1B';
constexpr char SI = '\x0F';
constexpr char DC2 = '\x12';
constexpr char FF = '\x0C';

// Both command sets take ESC C n for 1 to 127 lines and ESC C NUL n for 1 to
// 22 inches: at six lines an inch, longer forms in whole inches.
constexpr int kMostLines = 127;
constexpr int kLinesPerInch = 6;
constexpr int kMostInches = 22;

std::string upperTrimmed(const std::string& text) { return toUpperAscii(trimSpaces(text)); }

CommandSet readCommands(const std::string& text) {
  const std::string t = upperTrimmed(text);
  if (startsWith(t, "EPSON") || startsWith(t, "ESC/P")) return CommandSet::EscP;
  if (startsWith(t, "IBM")) return CommandSet::Proprinter;
  return CommandSet::None;
}

Pitch readPitch(const std::string& text) {
  const double cpi = numericValue(text);
  if (cpi == 12) return Pitch::Cpi12;
  if (cpi >= 17 && cpi < 18) return Pitch::Cpi17;
  if (cpi == 20) return Pitch::Cpi20;
  return Pitch::Cpi10;
}

CharTable readTable(const std::string& text) {
  const std::string t = upperTrimmed(text);
  if (containsUpperAscii(t, "437")) return CharTable::Pc437;
  if (containsUpperAscii(t, "850")) return CharTable::Pc850;
  if (containsUpperAscii(t, "858")) return CharTable::Pc858;
  return CharTable::AsFile;
}

int readColumns(const std::string& text) {
  const double columns = roundHalfEven(numericValue(text));
  return columns > 0 && columns < 10000 ? static_cast<int>(columns) : 0;
}

const char* commandsText(CommandSet commands) {
  switch (commands) {
    case CommandSet::EscP: return "EPSON ESC/P";
    case CommandSet::Proprinter: return "IBM PROPRINTER";
    case CommandSet::None: break;
  }
  return "NINGUNO";
}

const char* pitchText(Pitch pitch) {
  switch (pitch) {
    case Pitch::Cpi12: return "12";
    case Pitch::Cpi17: return "17.1";
    case Pitch::Cpi20: return "20";
    case Pitch::Cpi10: break;
  }
  return "10";
}

const char* tableText(CharTable table) {
  switch (table) {
    case CharTable::Pc437: return "PC437";
    case CharTable::Pc850: return "PC850";
    case CharTable::Pc858: return "PC858";
    case CharTable::AsFile: break;
  }
  return "COMO EL ARCHIVO";
}

std::string formLength(int lines) {
  if (lines >= 1 && lines <= kMostLines) return {ESC, 'C', static_cast<char>(lines)};
  if (lines % kLinesPerInch == 0 && lines / kLinesPerInch <= kMostInches)
    return {ESC, 'C', '\0', static_cast<char>(lines / kLinesPerInch)};
  throw JobError("La impresora no admite paginas de " + std::to_string(lines) +
                 " renglones: admite de 1 a 127 renglones, o hasta 132 si son pulgadas enteras (multiplos de 6). "
                 "Corrija los renglones por pagina o los renglones entre paginas.");
}

int pageLinesOrRefuse(const PageRules& rules) {
  const auto lines = physicalPageLines(rules);
  if (!lines)
    throw JobError("Para configurar la impresora las paginas deben tener un largo fijo: los renglones por pagina "
                   "deben ser un numero entero mayor que los renglones del encabezado.");
  return *lines;
}

std::string escpPitch(Pitch pitch) {
  switch (pitch) {
    case Pitch::Cpi12: return {ESC, 'M', DC2};
    case Pitch::Cpi17: return {ESC, 'P', SI};
    case Pitch::Cpi20: return {ESC, 'M', SI};
    case Pitch::Cpi10: break;
  }
  return {ESC, 'P', DC2};
}

std::string proprinterPitch(Pitch pitch) {
  switch (pitch) {
    case Pitch::Cpi12: return {DC2, ESC, ':'};
    case Pitch::Cpi17: return {DC2, SI};
    case Pitch::Cpi20:
      throw JobError("Las impresoras IBM Proprinter no tienen 20 caracteres por pulgada. Elija 10, 12 o 17.1.");
    case Pitch::Cpi10: break;
  }
  return {DC2};
}

// ESC ( t assigns a table to slot 1, ESC t 1 selects it.
std::string escpTable(CharTable table) {
  char number = 0;
  switch (table) {
    case CharTable::Pc437: number = 1; break;
    case CharTable::Pc850: number = 3; break;
    case CharTable::Pc858: number = 44; break;
    case CharTable::AsFile: return {};
  }
  return {ESC, '(', 't', 3, 0, 1, number, 0, ESC, 't', 1};
}

// ESC [ T selects a code page by its number, high byte first.
std::string proprinterTable(CharTable table) {
  int page = 0;
  switch (table) {
    case CharTable::Pc437: page = 437; break;
    case CharTable::Pc850: page = 850; break;
    case CharTable::Pc858: page = 858; break;
    case CharTable::AsFile: return {};
  }
  return {ESC, '[', 'T', 4, 0, 0, 0, static_cast<char>(page / 256), static_cast<char>(page % 256)};
}

}  // namespace

PrinterSetup readPrinterSetup(const PrinterSetupTexts& texts) {
  PrinterSetup setup;
  setup.commands = readCommands(texts.commands);
  setup.pitch = readPitch(texts.pitch);
  setup.carriageColumns = readColumns(texts.carriage);
  setup.table = readTable(texts.table);
  setup.end = startsWith(upperTrimmed(texts.end), "SALTO") ? JobEnd::FormFeed : JobEnd::Nothing;
  setup.headerCodesOnce = startsWith(upperTrimmed(texts.headerCodes), "UNA VEZ");
  setup.foldTypography = upperTrimmed(texts.fold) == "SI";
  return setup;
}

PrinterSetupTexts printerSetupTexts(const PrinterSetup& setup) {
  if (setup == PrinterSetup{}) return {};
  return {commandsText(setup.commands),
          pitchText(setup.pitch),
          std::to_string(setup.carriageColumns),
          tableText(setup.table),
          setup.end == JobEnd::FormFeed ? "SALTO DE PAGINA" : "NADA",
          setup.headerCodesOnce ? "UNA VEZ AL COMIENZO" : "EN CADA PAGINA",
          setup.foldTypography ? "SI" : "NO"};
}

std::optional<int> physicalPageLines(const PageRules& rules) {
  const bool ledger = rules.kind == ReportKind::Ledger;
  const double n = ledger ? rules.ledgerLinesPerPage : rules.linesPerPage;
  const bool whole = n == std::floor(n);
  if (!(n >= 2 && n <= 100000) || (ledger && !whole)) return std::nullopt;
  // The copy pass leaves a page's last slot free when N is whole; the ledger
  // fills its P lines, the last one its foot line.
  const auto body = static_cast<std::int64_t>(ledger ? n : whole ? n - 1 : std::ceil(n));
  const auto header = static_cast<std::int64_t>(rules.headerCount);
  if (header >= body - (ledger ? 1 : 0)) return std::nullopt;
  const std::int64_t lines = body + rules.linesBetween;
  if (lines > 1000000) return std::nullopt;
  return static_cast<int>(lines);
}

int columnsAtPitch(const PrinterSetup& setup) {
  // 10, 12, 120/7 (condensed 10) and 20 characters an inch.
  const long long c = setup.carriageColumns;
  switch (setup.pitch) {
    case Pitch::Cpi12: return static_cast<int>(c * 12 / 10);
    case Pitch::Cpi17: return static_cast<int>(c * 120 / 70);
    case Pitch::Cpi20: return static_cast<int>(c * 2);
    case Pitch::Cpi10: break;
  }
  return static_cast<int>(c);
}

std::string setupBytes(const PrinterSetup& setup, const PageRules& rules) {
  switch (setup.commands) {
    case CommandSet::EscP:
      return std::string{ESC, '@', ESC, '2'} + formLength(pageLinesOrRefuse(rules)) + std::string{ESC, 'O'} +
             escpPitch(setup.pitch) + escpTable(setup.table) + std::string{ESC, '6'};
    case CommandSet::Proprinter:
      return std::string{ESC, 'A', 12, ESC, '2'} + formLength(pageLinesOrRefuse(rules)) + std::string{ESC, 'O'} +
             proprinterPitch(setup.pitch) + proprinterTable(setup.table) + std::string{ESC, '6'};
    case CommandSet::None: break;
  }
  return {};
}

std::string startOfJobBytes(const PrinterSetup& setup, const PageRules& rules,
                            const std::vector<std::string>& header) {
  const std::string set = setupBytes(setup, rules);
  return setup.headerCodesOnce ? headerPrinterCodes(header) + set : set;
}

PageRules withPrinterSetup(PageRules rules, const PrinterSetup& setup) {
  rules.headerCodesOnce = setup.headerCodesOnce;
  return rules;
}

std::string endOfJobBytes(const PrinterSetup& setup) {
  return setup.end == JobEnd::FormFeed ? std::string(1, FF) : std::string();
}

}  // namespace pliego
