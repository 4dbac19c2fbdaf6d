#pragma once
// A list box that answers the keyboard as the list boxes of Windows programs
// do: its current row is always the selected one, so with nothing selected
// there is no current row, and the first key selects an entry without
// skipping any: Down, Up, Home and the page keys the first, End the last, a
// typed letter the first name that begins with it.
#include <QListWidget>

namespace pliego {

// Draws a dotted frame around the list's current entry while the list has
// the keyboard, as Windows list boxes do (around the first entry when none
// is current, and across the top of an empty list).
void showFocusFrame(QListWidget* list);

class ListBox : public QListWidget {
 public:
  explicit ListBox(QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void followSelection();
};

}  // namespace pliego
