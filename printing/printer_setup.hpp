#pragma once
// The printer's own set-up, kept in the profile: its command set, pitch,
// carriage, character table and what ends the job. From it come the bytes
// sent ahead of the work file and after it; they never enter "WRITE.TXT".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printing/page_rules.hpp"

namespace pliego {

enum class CommandSet { None, EscP, Proprinter };
enum class Pitch { Cpi10, Cpi12, Cpi17, Cpi20 };
enum class CharTable { AsFile, Pc437, Pc850, Pc858 };
enum class JobEnd { Nothing, FormFeed };

struct PrinterSetup {
  CommandSet commands = CommandSet::None;
  Pitch pitch = Pitch::Cpi10;
  // The carriage's width in columns at 10 characters an inch (80 narrow,
  // 136 wide); 0 when not given.
  int carriageColumns = 0;
  CharTable table = CharTable::AsFile;
  JobEnd end = JobEnd::Nothing;
  // The printer codes of the repeated header lines go out once, on page 1.
  bool headerCodesOnce = false;
  // Windows-1252 bytes 0x80-0x9F go out as their plain ASCII look-alikes.
  bool foldTypography = false;

  bool operator==(const PrinterSetup&) const = default;
};

// The profile keys, as stored in the profile's section.
inline constexpr const char* kCommandSetKey = "JUEGO DE COMANDOS";
inline constexpr const char* kPitchKey = "CARACTERES POR PULGADA";
inline constexpr const char* kCarriageKey = "COLUMNAS DEL CARRO";
inline constexpr const char* kCharTableKey = "TABLA DE CARACTERES";
inline constexpr const char* kJobEndKey = "AL TERMINAR";
inline constexpr const char* kHeaderCodesKey = "CODIGOS DEL ENCABEZADO";
inline constexpr const char* kFoldKey = "REEMPLAZAR SIMBOLOS";

// The stored texts of the keys above, in that order; an empty text is a key
// the profile does not have.
struct PrinterSetupTexts {
  std::string commands, pitch, carriage, table, end, headerCodes, fold;
  bool operator==(const PrinterSetupTexts&) const = default;
};

// Reads the stored texts: letter case and blanks around them do not matter;
// an empty or unknown text is the value of today's behaviour.
PrinterSetup readPrinterSetup(const PrinterSetupTexts& texts);
// The texts a set-up is stored as; today's behaviour gives empty texts.
PrinterSetupTexts printerSetupTexts(const PrinterSetup& setup);

// The lines of one physical page as the engine lays pages out: a plain
// report or VAT book N - 1 lines plus the lines between pages, the ledger P
// plus them. Nothing when the page has no fixed length (a fractional or a
// too small lines per page).
std::optional<int> physicalPageLines(const PageRules& rules);

// The carriage's columns at the set-up's pitch (0 when not given).
int columnsAtPitch(const PrinterSetup& setup);

// The bytes that go before the work file: reset, line spacing 1/6 inch, the
// form length of the page the layout makes, skip over perforation off, the
// pitch, the character table. Empty without a command set. Throws JobError
// with the user's message when the command set cannot express the form
// length or the pitch.
std::string setupBytes(const PrinterSetup& setup, const PageRules& rules);
// What goes before the work file: the header lines' printer codes when
// they go once (they were left out of the work file), then the set-up.
std::string startOfJobBytes(const PrinterSetup& setup, const PageRules& rules,
                            const std::vector<std::string>& header);
// The page rules with the set-up's choices that the layout follows.
PageRules withPrinterSetup(PageRules rules, const PrinterSetup& setup);

// The bytes that go after the work file: nothing or a form feed.
std::string endOfJobBytes(const PrinterSetup& setup);

}  // namespace pliego
