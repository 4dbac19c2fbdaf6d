#pragma once
// A window on a temporary folder, with scripted message boxes and a fake
// launcher, and small helpers to write the folder's files as bytes.
#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "support/fakes.hpp"
#include "window/frm_pliegomatic.hpp"

class QListWidget;

namespace pliego::testing {

// Two profiles as an office would have them.
extern const char* const kTwoProfilesIni;

class WindowFixture {
 public:
  WindowFixture();
  // The folder as the program keeps it: system separators and code page.
  std::string folder() const;
  std::string file(const std::string& name) const;
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

  // Builds the window on the folder (which runs its start-up), shows it and
  // waits until it is active.
  frmPliegomatic& open();

  template <typename Control>
  Control* control(const char* name) const {
    return window->findChild<Control*>(QString::fromLatin1(name));
  }

  FakeDialogs dialogs;
  FakeLauncher launcher;
  std::unique_ptr<frmPliegomatic> window;

 private:
  QTemporaryDir dir_;
};

QStringList itemTexts(const QListWidget* list);
int selectedRow(const QListWidget* list);

}  // namespace pliego::testing
