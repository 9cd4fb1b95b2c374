// Report lists with grid lines.
#include "strandex/ui/qt/report_list.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace ui {

namespace {

// Draws each cell as usual, then its right and bottom edges in the style's grid colour.
class GridLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    const QRect& cell = option.rect;
    painter->save();
    painter->setPen(QColor::fromRgba(static_cast<QRgb>(
        option.widget->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, option.widget))));
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->restore();
  }
};

}  // namespace

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
