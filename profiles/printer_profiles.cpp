#include "profiles/printer_profiles.hpp"

#include <cstdint>
#include <vector>

#include "common/code_page.hpp"
#include "common/text.hpp"

namespace pliego {

namespace {

// The keys of a profile section, in the order they are written.
struct FieldKey {
  const char* key;
  ProfileField field;
};
constexpr FieldKey kFieldKeys[] = {
    {"RENGLONES POR PAGINA", ProfileField::LinesPerPage},
    {"RENGLONES DEL ENCABEZADO", ProfileField::HeaderLines},
    {"RENGLONES ENTRE PAGINAS", ProfileField::LinesBetweenPages},
    {"LPT", ProfileField::Port},
};
constexpr const char* kPageNumberKey = "NUMERO DE PAGINA";
// Where the profile's jobs go; missing or empty: the print script.
constexpr const char* kDestinationKey = "DESTINO";

// The printer's set-up keys, written after the five, in this order.
struct SetupKey {
  const char* key;
  std::string PrinterSetupTexts::*text;
};
constexpr SetupKey kSetupKeys[] = {
    {kCommandSetKey, &PrinterSetupTexts::commands}, {kPitchKey, &PrinterSetupTexts::pitch},
    {kCarriageKey, &PrinterSetupTexts::carriage},   {kCharTableKey, &PrinterSetupTexts::table},
    {kJobEndKey, &PrinterSetupTexts::end},          {kHeaderCodesKey, &PrinterSetupTexts::headerCodes},
    {kFoldKey, &PrinterSetupTexts::fold},
};
constexpr const char* kWriteAdvice =
    " Verifique que el archivo no sea de solo lectura y que la unidad de red este disponible.";

}  // namespace

CheckState pageNumberStateFromText(const std::string& stored) {
  const double state = roundHalfEven(numericValue(stored));
  if (state == 0) return CheckState::Unchecked;
  if (state == 2) return CheckState::Grayed;
  return CheckState::Checked;
}

std::string saveFailureMessage(const std::string& name, const std::string& path,
                               const std::vector<std::string>& failedKeys, std::size_t keyCount) {
  const std::string advice = kWriteAdvice;
  if (failedKeys.size() >= keyCount)
    return "No se pudieron guardar los datos de la impresora " + name + " en " + path + "." + advice;
  std::string keys;
  for (std::size_t i = 0; i < failedKeys.size(); ++i)
    keys += (i == 0 ? "" : i + 1 == failedKeys.size() ? " y " : ", ") + failedKeys[i];
  return "No se pudieron guardar en " + path + " estos datos de la impresora " + name + ": " + keys +
         ". Los demas datos quedaron guardados." + advice;
}

PrinterProfiles::PrinterProfiles(ProfilesView& view, Dialogs& dialogs, cInifile& mIni, NumberFormat format)
    : view_(view), dialogs_(dialogs), mIni_(mIni), format_(format) {}

void PrinterProfiles::CargarImpresoras() {
  std::vector<std::string> sections;
  std::int32_t count = 0;
  mIni_.EnumerateAllSections(sections, count);
  view_.clearProfiles();
  for (std::int32_t i = 1; i <= count && i <= static_cast<std::int32_t>(sections.size()); ++i)
    view_.addProfile(sections[i - 1]);
}

void PrinterProfiles::tellIfUnreadable() {
  if (mIni_.Readable()) return;
  dialogs_.inform("No se pudo leer el archivo de impresoras " + mIni_.Path() +
                  ". La lista de impresoras queda vacia. Verifique los permisos del archivo y que la unidad de red "
                  "este disponible.");
}

void PrinterProfiles::CargarConfiguracion() {
  mIni_.Section(toUpperAscii(view_.selectedProfile()));
  for (const FieldKey& entry : kFieldKeys) {
    mIni_.Key(entry.key);
    view_.setFieldText(entry.field, mIni_.Value());
  }
  mIni_.Key(kPageNumberKey);
  view_.setPageNumberBox(pageNumberStateFromText(mIni_.Value()));
  mIni_.Key(kDestinationKey);
  view_.setFieldText(ProfileField::Destination, mIni_.Value());
  PrinterSetupTexts setup;
  for (const SetupKey& entry : kSetupKeys) {
    mIni_.Key(entry.key);
    setup.*entry.text = mIni_.Value();
  }
  view_.setPrinterSetup(setup);
}

// A set-up key is written when it has a value, or to clear the one the
// section holds: a profile without set-up keeps today's five keys only.
void PrinterProfiles::addSetupEntries(std::vector<ProfileEntry>& entries) {
  const auto setup = view_.printerSetup();
  if (!setup) return;
  for (const SetupKey& entry : kSetupKeys) {
    const std::string& text = (*setup).*entry.text;
    mIni_.Key(entry.key);
    if (!text.empty() || !mIni_.Value().empty()) entries.push_back({entry.key, text});
  }
}

void PrinterProfiles::selectProfile() {
  CargarConfiguracion();
  view_.setPageNumberBox(CheckState::Checked);
}

void PrinterProfiles::addProfile() {
  const std::string name =
      toUpperCp1252(dialogs_.ask("Ingrese el nombre de la nueva impresora", "Agregar Impresora", ""));
  if (name.empty()) return;
  view_.addProfile(name);
}

// The five keys go to the file together: a profile is never left half saved.
void PrinterProfiles::saveProfile() {
  const std::string name = view_.selectedProfile();
  if (trimSpaces(name).empty()) return;
  mIni_.Section(name);
  std::vector<ProfileEntry> entries;
  for (const FieldKey& entry : kFieldKeys)
    entries.push_back({entry.key, formatNumber(numericValue(view_.fieldText(entry.field)), format_)});
  entries.push_back({kPageNumberKey, std::to_string(static_cast<int>(view_.pageNumberBox()))});
  // A profile that prints through the script as always keeps its file as it
  // was: the key is written only to name another destination, or to go back.
  const std::string destination(trimSpaces(view_.fieldText(ProfileField::Destination)));
  mIni_.Key(kDestinationKey);
  if (!destination.empty() || !mIni_.Value().empty()) entries.push_back({kDestinationKey, destination});
  addSetupEntries(entries);
  const std::vector<std::string> failed = mIni_.WriteEntries(entries);
  // A profile the file refused must not be confirmed as saved.
  if (failed.empty())
    dialogs_.inform(cp1252ToSystem("Datos de la impresora " + name + " guardados"));
  else
    dialogs_.inform(saveFailureMessage(cp1252ToSystem(name), mIni_.Path(), failed, entries.size()));
}

void PrinterProfiles::removeProfile() {
  const std::string name = view_.selectedProfile();
  if (!dialogs_.confirm(cp1252ToSystem("\xBF Seguro quiere quitar la configuracion de la impresora " + name + " ?")))
    return;
  // Without a selected profile there is nothing to remove: the lines before
  // the file's first section must not go as a nameless section.
  bool removed = true;
  if (!trimSpaces(name).empty()) {
    mIni_.Section(name);
    mIni_.DeleteSection();
    removed = mIni_.Success();
  }
  CargarImpresoras();
  if (!removed)
    dialogs_.inform("No se pudo quitar la impresora " + cp1252ToSystem(name) + " de " + mIni_.Path() + "." +
                    kWriteAdvice);
}

}  // namespace pliego
