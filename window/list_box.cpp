#include "window/list_box.hpp"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace pliego {

namespace {

void drawFocusFrame(QPainter* painter, const QRect& around, const QColor& colour) {
  painter->save();
  QPen pen(colour, 1, Qt::DotLine);
  pen.setCosmetic(true);
  painter->setPen(pen);
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(around.adjusted(0, 0, -1, -1));
  painter->restore();
}

class FocusFrameDelegate : public QStyledItemDelegate {
 public:
  explicit FocusFrameDelegate(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem plain = option;
    plain.state &= ~QStyle::State_HasFocus;  // the style's own focus look, if any, is not drawn twice
    QStyledItemDelegate::paint(painter, plain, index);
    if (!list_->hasFocus() || index.row() != framedRow()) return;
    const bool selected = option.state & QStyle::State_Selected;
    drawFocusFrame(painter, option.rect,
                   option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  }

 private:
  int framedRow() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : 0;
  }
  QListWidget* list_;
};

// An empty list has no entry to frame: the frame goes where the first would be.
class EmptyListFrame : public QObject {
 public:
  explicit EmptyListFrame(QListWidget* list) : QObject(list), list_(list) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && list_->count() == 0 && list_->hasFocus()) {
      QPainter painter(list_->viewport());
      const int height = list_->fontMetrics().height() + 2;
      drawFocusFrame(&painter, QRect(0, 0, list_->viewport()->width(), height),
                     list_->palette().color(QPalette::Text));
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QListWidget* list_;
};

}  // namespace

void showFocusFrame(QListWidget* list) {
  list->setItemDelegate(new FocusFrameDelegate(list));
  list->viewport()->installEventFilter(new EmptyListFrame(list));
}

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  showFocusFrame(this);
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
