// The report lists of the editor (the string list and the Find results list): rows of cells
// under fixed column captions, whole rows selected, grid lines between the cells, no sorting.
#pragma once

#include <QAbstractItemView>

class QTreeView;
class QWidget;

namespace ui {

QTreeView* NewReportList(QWidget* parent, QAbstractItemView::SelectionMode selection);

}  // namespace ui
