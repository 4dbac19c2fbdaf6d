#pragma once
// A plain window for the printer-profile procedures: the list, the four
// fields and the page-number box.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "profiles/profiles_view.hpp"

namespace pliego::testing {

struct FakeProfilesView : ProfilesView {
  std::vector<std::string> list;
  int selected = -1;
  std::map<ProfileField, std::string> fields;
  CheckState box = CheckState::Unchecked;
  PrinterSetupTexts setup;
  // False: a window of an earlier version, without the set-up's fields.
  bool setupFields = true;

  void clearProfiles() override {
    list.clear();
    selected = -1;
  }
  void addProfile(const std::string& name) override { list.push_back(name); }
  std::string selectedProfile() const override { return selected < 0 ? "" : list.at(selected); }
  std::string fieldText(ProfileField field) const override {
    const auto it = fields.find(field);
    return it == fields.end() ? "" : it->second;
  }
  void setFieldText(ProfileField field, const std::string& text) override { fields[field] = text; }
  CheckState pageNumberBox() const override { return box; }
  void setPageNumberBox(CheckState state) override { box = state; }
  std::optional<PrinterSetupTexts> printerSetup() const override {
    return setupFields ? std::optional(setup) : std::nullopt;
  }
  void setPrinterSetup(const PrinterSetupTexts& texts) override {
    if (setupFields) setup = texts;
  }

  void fill(const std::string& perPage, const std::string& header, const std::string& between,
            const std::string& port) {
    fields = {{ProfileField::LinesPerPage, perPage},
              {ProfileField::HeaderLines, header},
              {ProfileField::LinesBetweenPages, between},
              {ProfileField::Port, port}};
  }
  std::vector<std::string> shownFields() const {
    return {fieldText(ProfileField::LinesPerPage), fieldText(ProfileField::HeaderLines),
            fieldText(ProfileField::LinesBetweenPages), fieldText(ProfileField::Port)};
  }
};

}  // namespace pliego::testing
