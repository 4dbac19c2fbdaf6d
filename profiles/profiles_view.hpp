#pragma once
// What the printer-profile procedures read from and do to the main window:
// the profile list List2, the four numeric fields, the page-number box and
// the printer's set-up.
#include <optional>
#include <string>

#include "common/check_state.hpp"
#include "printing/printer_setup.hpp"

namespace pliego {

enum class ProfileField { LinesPerPage, HeaderLines, LinesBetweenPages, Port, Destination };

class ProfilesView {
 public:
  virtual ~ProfilesView() = default;
  virtual void clearProfiles() = 0;                       // List2: empty it
  virtual void addProfile(const std::string& name) = 0;  // List2: append at the end
  virtual std::string selectedProfile() const = 0;       // List2's selected text, "" when none
  virtual std::string fieldText(ProfileField field) const = 0;
  virtual void setFieldText(ProfileField field, const std::string& text) = 0;
  virtual CheckState pageNumberBox() const = 0;  // chkNumeroPagina
  virtual void setPageNumberBox(CheckState state) = 0;
  // The printer's set-up keys as the window holds them ("" for a key the
  // profile does not have); nothing from a window without them, whose saves
  // leave the keys as the file has them.
  virtual std::optional<PrinterSetupTexts> printerSetup() const { return std::nullopt; }
  virtual void setPrinterSetup(const PrinterSetupTexts&) {}
};

}  // namespace pliego
