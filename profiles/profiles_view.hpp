#pragma once
// What the printer-profile procedures read from and do to the main window:
// the profile list List2, the four numeric fields and the page-number box.
#include <string>

#include "common/check_state.hpp"

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
};

}  // namespace pliego
