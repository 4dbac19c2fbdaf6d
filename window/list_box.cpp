#include "window/list_box.hpp"

#include <QKeyEvent>

namespace pliego {

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Qt gives the list a current row of its own when it gets the focus; the
  // selection decides.
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListBox::followSelection);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &ListBox::followSelection);
}

void ListBox::followSelection() {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  const QModelIndex wanted = selected.isEmpty() ? QModelIndex() : selected.first();
  if (currentIndex() != wanted) selectionModel()->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
}

// With no current row Qt starts every move at the first entry, which suits
// all keys but End.
void ListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_End && !currentIndex().isValid() && count() > 0) {
    setCurrentRow(count() - 1);
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

}  // namespace pliego
