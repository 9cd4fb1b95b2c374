// The Find results window.
#include "strandex/ui/qt/find_results_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QHeaderView>
#include <QTreeView>

#include "strandex/ui/editor.h"
#include "strandex/ui/qt/cell_table_model.h"
#include "strandex/ui/qt/resource_dialog.h"
#include "strandex/ui/wide_text.h"

namespace ui {

FindResultsWindow::FindResultsWindow(EditorClass& editor, QWidget* parent) : QDialog(parent), editor(editor) {
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  BuildDialog(this, *FindDialogTemplate(kFindResultsDialog));
  list = static_cast<QTreeView*>(FindControl(this, kResultsList));
  FindResultsClass& results = editor.Results();
  model = new CellTableModel(
      kResultColumns, 3, [&results] { return results.RowCount(); },
      [&results](int row, int column) { return results.CellText(row, column); }, this);
  list->setModel(model);
  for (int i = 0; i < 3; ++i) list->header()->resizeSection(i, kResultColumns[i].Width);
  list->setFocus();
  connect(list, &QTreeView::doubleClicked, this,
          [this](const QModelIndex& index) { this->editor.OnFindResultActivated(index.row()); });
  auto* clear = static_cast<QAbstractButton*>(FindControl(this, kResultsClear));
  auto* close = static_cast<QAbstractButton*>(FindControl(this, kResultsClose));
  connect(clear, &QAbstractButton::clicked, this, [this] { this->editor.OnFindResultsClear(); });
  connect(close, &QAbstractButton::clicked, this, [this] { this->editor.OnFindResultsCloseButton(); });
}

void FindResultsWindow::RowsChanged() { model->Reset(); }

void FindResultsWindow::closeEvent(QCloseEvent* event) {
  editor.OnFindResultsClosed();
  QDialog::closeEvent(event);
}

void FindResultsWindow::reject() { close(); }

}  // namespace ui
