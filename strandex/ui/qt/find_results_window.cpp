// The Find results window.
#include "strandex/ui/qt/find_results_window.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeView>

#include "strandex/ui/editor.h"
#include "strandex/ui/qt/cell_table_model.h"
#include "strandex/ui/qt/report_list.h"
#include "strandex/ui/qt/template_dialog.h"

namespace ui {

FindResultsWindow::FindResultsWindow(EditorClass& editor, QWidget* parent) : QDialog(parent), editor(editor) {
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  BuildDialog(this, *FindDialogTemplate(kFindResultsDialog));
  list = static_cast<QTreeView*>(FindControl(this, kResultsList));
  FindResultsClass& results = editor.Results();
  model = new CellTableModel(
      results.Columns(), results.ColumnCount(), [&results] { return results.RowCount(); },
      [&results](int row, int column) { return results.CellText(row, column); }, this);
  list->setModel(model);
  RowsChanged();
  list->setFocus();
  connect(list, &QTreeView::doubleClicked, this,
          [this](const QModelIndex& index) { this->editor.OnFindResultActivated(index.row()); });
  // Return shows the selected hit (the window's default button would close it); Escape closes.
  OnReturnKey(list, [this](int row) { this->editor.OnFindResultActivated(row); });
  auto* clear = static_cast<QAbstractButton*>(FindControl(this, kResultsClear));
  auto* close = static_cast<QAbstractButton*>(FindControl(this, kResultsClose));
  connect(clear, &QAbstractButton::clicked, this, [this] { this->editor.OnFindResultsClear(); });
  connect(close, &QAbstractButton::clicked, this, [this] { this->editor.OnFindResultsCloseButton(); });
}

void FindResultsWindow::RowsChanged() {
  // Check translations adds the problem column, a search takes it away again.
  const FindResultsClass& results = editor.Results();
  model->SetColumns(results.Columns(), results.ColumnCount());
  for (int i = 0; i < results.ColumnCount(); ++i)
    list->header()->resizeSection(i, results.Columns()[i].Width);
}

void FindResultsWindow::done(int result) {
  editor.OnFindResultsClosed();
  QDialog::done(result);
}

void FindResultsWindow::keyReleaseEvent(QKeyEvent* event) {
  // The two parameters of the key-up message a Windows list sends: the virtual key, and the
  // repeat count 1 with the scan code and the released-key bits.
  const uint32_t scan = event->nativeScanCode() & 0xFF;
  const uint32_t flags = 1u | (scan << 16) | 0xC0000000u;
  editor.OnFindResultsKeyUp(static_cast<int>(event->nativeVirtualKey()), static_cast<int>(flags));
  QDialog::keyReleaseEvent(event);
}

}  // namespace ui
