#pragma once
// The printer profiles: one section of "Pliegomatic.ini" per profile, shown
// in List2 and loaded into the window's fields. The window's event
// procedures forward to these. A save or a removal that the file refuses is
// told, and so is a file that cannot be read when the window starts.
#include <cstddef>
#include <string>
#include <vector>

#include "common/dialogs.hpp"
#include "common/numbers.hpp"
#include "profiles/profiles_view.hpp"
#include "settings/cinifile.hpp"

namespace pliego {

class PrinterProfiles {
 public:
  PrinterProfiles(ProfilesView& view, Dialogs& dialogs, cInifile& mIni, NumberFormat format);

  // Fills List2 with the file's sections in file order; selects nothing.
  void CargarImpresoras();
  // Tells the user when the profile file is there but cannot be read, so
  // that an empty list is not taken for a file without profiles.
  void tellIfUnreadable();
  // Copies the selected profile's five values into the fields, and its
  // printer set-up into the window's set-up.
  void CargarConfiguracion();
  // A profile was selected (List2_Click): load it, then check the
  // page-number box.
  void selectProfile();
  // "Agregar Impresora..." (cmdAgregarImpresora_Click): asks for a name and
  // appends it, upper-cased.
  void addProfile();
  // "Guardar Impresora" (cmdGuardarImpresora_Click): writes the five fields
  // and the set-up under the selected name.
  void saveProfile();
  // "Quitar Impresora" (Command1_Click): after a Yes removes the selected
  // section and refills the list.
  void removeProfile();

 private:
  void addSetupEntries(std::vector<ProfileEntry>& entries);

  ProfilesView& view_;
  Dialogs& dialogs_;
  cInifile& mIni_;
  NumberFormat format_;
};

// The check-box state a stored "NUMERO DE PAGINA" text stands for: its leading
// number rounded half to even; 0 unchecked, 2 grayed, any other value checked.
CheckState pageNumberStateFromText(const std::string& stored);

// What the user is told when the file refused some or all of a profile's
// keys (the platform's functions store them one at a time, so a save can
// stop part-way there): the keys not stored are named unless none was.
std::string saveFailureMessage(const std::string& name, const std::string& path,
                               const std::vector<std::string>& failedKeys, std::size_t keyCount);

}  // namespace pliego
