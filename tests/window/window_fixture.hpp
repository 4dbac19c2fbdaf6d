#pragma once
// A window on a temporary folder, with scripted message boxes and a fake
// launcher, and small helpers to write the folder's files as bytes.
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
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
  // The window's folder is a new temporary folder, or a folder named
  // `subfolder` inside it ("Oficina Contable Año 2024").
  explicit WindowFixture(const QString& subfolder = {});
  // The folder as the program keeps it: system separators and code page.
  std::string folder() const;
  std::string file(const std::string& name) const;
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

  // Builds the window on the folder (which runs its start-up), shows it and
  // waits until it is active.
  frmPliegomatic& open();
  // Waits, with the events going on, until the window's print job has ended
  // and its final message has been told. False when it is still running.
  bool jobEnded(int timeoutMs = 60000) const;

  template <typename Control>
  Control* control(const char* name) const {
    return window->findChild<Control*>(QString::fromLatin1(name));
  }

  FakeDialogs dialogs;
  FakeLauncher launcher;
  // Set before open(): the window's own Qt message boxes instead of the
  // scripted ones, and another launcher instead of the fake.
  bool realBoxes = false;
  ProgramLauncher* otherLauncher = nullptr;
  PrintSpooler* spooler = nullptr;  // the system's when null
  std::unique_ptr<frmPliegomatic> window;

 private:
  QTemporaryDir dir_;
  QString path_;  // the window's folder
};

// Answers every message box of the application as soon as it shows, the way
// a user would: Return on the box's focused button, or a click on "Aceptar".
// Keeps the text of each box answered.
class BoxAnswerer : public QObject {
 public:
  enum class By { Return, ClickOnAceptar };
  explicit BoxAnswerer(By by);
  QStringList texts;
  QStringList buttons;  // the text of the button pressed, for each box

 private:
  void answerActiveBox();
  By by_;
};

// Does `act` on a dialog of the kind `Dialog` as soon as it shows, the way
// a user would.
template <typename Dialog>
class DialogUser : public QObject {
 public:
  explicit DialogUser(std::function<void(Dialog&)> act) : act_(std::move(act)) {
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible() || done_) return;
      done_ = true;
      act_(*dialog);
    });
    poll->start(20);
  }
  bool done() const { return done_; }

 private:
  std::function<void(Dialog&)> act_;
  bool done_ = false;
};

QStringList itemTexts(const QListWidget* list);
int selectedRow(const QListWidget* list);

}  // namespace pliego::testing
