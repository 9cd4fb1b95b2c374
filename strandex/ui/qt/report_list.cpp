// Report lists with grid lines.
#include "strandex/ui/qt/report_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace ui {

namespace {

// Draws each cell on one line as usual, then its right and bottom edges in the style's grid
// colour, on a pixel column and row of their own beside the text, so that no line covers an
// underscore or a descender.
class GridLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(1, 1);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem inside(option);
    inside.rect.adjust(0, 0, -1, -1);
    QStyledItemDelegate::paint(painter, inside, index);
    const QRect& cell = option.rect;
    const QColor grid = QColor::fromRgba(static_cast<QRgb>(
        option.widget->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, option.widget)));
    painter->fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), grid);
    painter->fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), grid);
  }

 protected:
  // A row shows one line, as high as every other row: line breaks are shown as spaces.
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    for (QChar& c : option->text) {
      if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) c = u' ';
    }
  }
};

class ReturnKeyFilter : public QObject {
 public:
  ReturnKeyFilter(QTreeView* list, std::function<void(int)> handler)
      : QObject(list), list(list), handler(std::move(handler)) {}

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
      if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        const QModelIndex current = list->currentIndex();
        if (current.isValid() && list->selectionModel()->isRowSelected(current.row(), QModelIndex()))
          handler(current.row());
        return true;
      }
    }
    return QObject::eventFilter(object, event);
  }

 private:
  QTreeView* list;
  std::function<void(int)> handler;
};

}  // namespace

void OnReturnKey(QTreeView* list, std::function<void(int row)> handler) {
  list->installEventFilter(new ReturnKeyFilter(list, std::move(handler)));
}

QTreeView* NewReportList(QWidget* parent, QAbstractItemView::SelectionMode selection) {
  auto* list = new QTreeView(parent);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionMode(selection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setItemDelegate(new GridLineDelegate(list));
  list->header()->setSectionsClickable(false);
  list->header()->setStretchLastSection(false);
  return list;
}

}  // namespace ui
