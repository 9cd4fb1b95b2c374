// The report lists of the editor (the string list and the Find results list): rows of cells
// under fixed column captions, whole rows selected, grid lines between the cells, no sorting.
#pragma once

#include <QAbstractItemView>
#include <functional>

class QTreeView;
class QWidget;

namespace ui {

QTreeView* NewReportList(QWidget* parent, QAbstractItemView::SelectionMode selection);

// Return (or Enter) on a selected row of list calls handler with the row, as a double-click on it
// does; the key goes no further (not to a dialog's default button).
void OnReturnKey(QTreeView* list, std::function<void(int row)> handler);

}  // namespace ui
