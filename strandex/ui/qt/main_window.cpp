// The editor's main window.
#include "strandex/ui/qt/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTreeView>

#include "strandex/ui/qt/cell_table_model.h"
#include "strandex/ui/qt/find_results_window.h"
#include "strandex/ui/qt/report_list.h"
#include "strandex/ui/qt/template_dialog.h"
#include "strandex/ui/resources.h"

Q_LOGGING_CATEGORY(lcEditor, "strandex.debug", QtWarningMsg)

namespace ui {

namespace {

// The central area: the tab row on top, the string list below it, laid out by the main window.
class CentralArea : public QWidget {
 public:
  explicit CentralArea(MainWindow* window) : QWidget(window), window(window) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    window->RunLayout();
  }

 private:
  MainWindow* window;
};

// Qt takes the patterns from the parentheses that end a filter: a description that already
// names its pattern that way is used as it is.
QString NameFilter(const FileDialogRequest& request) {
  const QString description = ToQString(request.FilterDescription);
  const QString pattern = ToQString(request.FilterPattern);
  if (description.endsWith(QStringLiteral("(%1)").arg(pattern))) return description;
  return QStringLiteral("%1 (%2)").arg(description, pattern);
}

}  // namespace

MainWindow::MainWindow() : editor(*this) {
  setWindowIcon(QIcon(QStringLiteral(":/strandex/strandex.png")));
  resize(kMainWidth, kMainHeight);
  BuildMenu();
  auto* central = new CentralArea(this);
  setCentralWidget(central);
  setStatusBar(new QStatusBar(this));

  tabs = new TabRow(central);
  tabs->setAccessibleName(QStringLiteral("Categories"));
  // A click on the tab that is already selected chooses it too, so that a database with one
  // category can show its list after Open.
  tabs->SetChosenHandler([this](int tab) { editor.OnTabSelected(tab); });

  BuildFilterBar(central);
  list = NewReportList(central, QAbstractItemView::ExtendedSelection);
  list->setAccessibleName(QStringLiteral("Strings"));
  StringListClass& view = editor.View();
  model = new CellTableModel(
      view.Columns(), view.ColumnCount(), [&view] { return view.RowCount(); },
      [&view](int row, int column) { return view.CellText(row, column); }, this);
  list->setModel(model);
  for (int i = 0; i < 4; ++i) list->header()->resizeSection(i, kListColumns[i].Width);
  connect(list, &QTreeView::doubleClicked, this,
          [this](const QModelIndex& index) { editor.OnRowDoubleClicked(index.row()); });
  OnReturnKey(list, [this](int row) { editor.OnRowDoubleClicked(row); });
  // Ctrl+Tab and Ctrl+Shift+Tab choose the next and the previous tab, from anywhere in the
  // window, going round at either end.
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, this, [this] { StepTab(1); });
  auto* previous = new QShortcut(this);
  previous->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
  connect(previous, &QShortcut::activated, this, [this] { StepTab(-1); });
  // Qt selects a row before it makes it current when the keyboard moves, and after when the
  // mouse clicks, so the mark follows both signals.
  connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { TrackSelectionMark(true); });
  connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { TrackSelectionMark(false); });

  editor.Start();
  RunLayout();
}

MainWindow::~MainWindow() {
  // The models read the editor, which goes before the widgets that Qt deletes after this body;
  // closed Find results windows may still wait for their deletion.
  qDeleteAll(findChildren<FindResultsWindow*>(Qt::FindDirectChildrenOnly));
  list->setModel(nullptr);
  delete model;
}

void MainWindow::BuildMenu() {
  QMenu* menu = nullptr;
  const char16_t* popup = nullptr;
  for (int i = 0; i < kMenuItemCount; ++i) {
    const MenuItemTemplate& item = kMenuItems[i];
    if (!popup || QString::fromUtf16(popup) != QString::fromUtf16(item.Popup)) {
      popup = item.Popup;
      menu = menuBar()->addMenu(ToQString(popup));
    }
    if (!item.Text) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(ToQString(item.Text));
    action->setProperty(kCommandIdProperty, item.Command);
    action->setEnabled(!item.StartsGrayed);
    if (item.Command == kCmdNextUntranslated) action->setShortcut(QKeySequence(Qt::Key_F8));
    const int command = item.Command;
    connect(action, &QAction::triggered, this, [this, command] { editor.ExecuteCommand(command); });
  }
}

void MainWindow::BuildFilterBar(QWidget* parent) {
  filter_bar = new QWidget(parent);
  auto* row = new QHBoxLayout(filter_bar);
  row->setContentsMargins(2, 2, 2, 2);
  filter_edit = new QLineEdit(filter_bar);
  filter_edit->setProperty(kResourceIdProperty, kFilterText);
  filter_edit->setAccessibleName(QStringLiteral("Filter"));
  filter_all = new QCheckBox(ToQString(kFilterAllCategoriesText), filter_bar);
  filter_all->setProperty(kResourceIdProperty, kFilterAllCategories);
  row->addWidget(filter_edit, 1);
  row->addWidget(filter_all);
  filter_bar->hide();
  connect(filter_edit, &QLineEdit::textChanged, this, [this] { FilterChanged(); });
  connect(filter_all, &QCheckBox::toggled, this, [this] { FilterChanged(); });
  // Escape empties the filter.
  auto* clear =
      new QShortcut(QKeySequence(Qt::Key_Escape), filter_edit, nullptr, nullptr, Qt::WidgetShortcut);
  connect(clear, &QShortcut::activated, filter_edit, &QLineEdit::clear);
}

void MainWindow::FilterChanged() {
  const QString text = filter_edit->text();
  editor.OnFilterChanged(reinterpret_cast<const char16_t*>(text.utf16()), filter_all->isChecked());
}

void MainWindow::ShowFilterBar(bool shown) {
  filter_bar->setVisible(shown);
  if (!shown) filter_edit->clear();
  RunLayout();
  if (shown) filter_edit->setFocus();
}

QAction* MainWindow::Action(int command) const {
  for (QAction* action : menuBar()->findChildren<QAction*>()) {
    if (action->property(kCommandIdProperty).toInt() == command) return action;
  }
  return nullptr;
}

bool MainWindow::ChooseFile(const FileDialogRequest& request, NarrowStringClass& path) {
  return file_chooser ? file_chooser(request, path) : ChooseWithDialog(request, path);
}

bool MainWindow::ChooseWithDialog(const FileDialogRequest& request, NarrowStringClass& path) {
  QFileDialog dialog(this);
  dialog.setNameFilter(NameFilter(request));
  if (request.Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (request.DefaultExtension) dialog.setDefaultSuffix(ToQString(request.DefaultExtension));
  if (request.InitialName && request.InitialName[0])
    dialog.selectFile(QFile::decodeName(request.InitialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = QFile::encodeName(dialog.selectedFiles().first()).constData();
  return true;
}

void MainWindow::SetTitle(const char16_t* title) { setWindowTitle(ToQString(title)); }

void MainWindow::SetMenuItemEnabled(int command, bool enabled) {
  if (QAction* action = Action(command)) action->setEnabled(enabled);
}

void MainWindow::SetMenuItemChecked(int command, bool checked) {
  QAction* action = Action(command);
  if (!action) return;
  action->setCheckable(true);
  action->setChecked(checked);
}

void MainWindow::SetMenuItemShown(int command, bool shown) {
  if (QAction* action = Action(command)) action->setVisible(shown);
}

void MainWindow::SetStatusText(const char16_t* text) { statusBar()->showMessage(ToQString(text)); }

void MainWindow::ColumnsChanged() {
  const StringListClass& view = editor.View();
  model->SetColumns(view.Columns(), view.ColumnCount());
  for (int i = 0; i < view.ColumnCount(); ++i) list->header()->resizeSection(i, view.Columns()[i].Width);
  selection_mark = -1;
}

void MainWindow::TabsChanged() {
  const StringListClass& view = editor.View();
  QStringList labels;
  labels.reserve(view.TabCount());
  for (int i = 0; i < view.TabCount(); ++i) labels.append(ToQString(view.TabText(i)));
  tabs->SetTabs(labels, view.SelectedTab());
}

void MainWindow::RowsChanged() {
  model->Reset();
  selection_mark = -1;
}

void MainWindow::TrackSelectionMark(bool selection_changed) {
  QModelIndex current = list->selectionModel()->currentIndex();
  if (current.isValid() && (selection_changed || IsRowSelected(current.row())))
    selection_mark = current.row();
}

void MainWindow::SelectRow(int row) {
  QModelIndex index = model->index(row, 0);
  list->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
  list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  selection_mark = row;
}

void MainWindow::ScrollRowNearTop(int row) {
  list->scrollTo(model->index(row > 0 ? row - 1 : 0, 0), QAbstractItemView::PositionAtTop);
}

int MainWindow::SelectionMark() { return selection_mark; }

bool MainWindow::IsRowSelected(int row) {
  return row >= 0 && list->selectionModel()->isRowSelected(row, QModelIndex());
}

int MainWindow::RunDialog(DialogLogicClass& dialog) {
  if (dialog_runner) return dialog_runner(dialog);
  TemplateDialog window(dialog, this);
  return window.Run();
}

bool MainWindow::OpenFindResults() {
  if (find_window) find_window->close();
  find_window = new FindResultsWindow(editor, this);
  find_window->show();
  return true;
}

void MainWindow::CloseFindResults() {
  if (find_window) find_window->close();
  find_window = nullptr;
}

void MainWindow::FindResultsChanged() {
  if (find_window) find_window->RowsChanged();
}

void MainWindow::FocusStringList() {
  // After a dialog the main window is active again, whichever window the system chose.
  activateWindow();
  list->setFocus();
}

void MainWindow::ShowMessage(MessageKind kind, const char16_t* caption, const char16_t* text) {
  QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Warning,
                  ToQString(caption), ToQString(text), QMessageBox::Ok, this);
  box.exec();
}

bool MainWindow::AskOkCancel(const char16_t* caption, const char16_t* text) {
  QMessageBox box(QMessageBox::Question, ToQString(caption), ToQString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, this);
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

void MainWindow::DebugOutput(const char16_t* text) { qCDebug(lcEditor).noquote() << ToQString(text); }

void MainWindow::RunLayout() {
  QWidget* area = centralWidget();
  if (!area || !tabs || !list) return;
  // The tab row is as high as its strip plus 10 pixels; the list takes the rest (the central
  // area already ends above the status bar), and may shrink to nothing.
  const int strip = tabs->sizeHint().height();
  const int width = area->width();
  tabs->setGeometry(0, 0, width, strip + 10);
  // The filter bar, when shown, stands between them and moves the list down by its height.
  const int bar = filter_bar && filter_bar->isVisibleTo(this) ? filter_bar->sizeHint().height() : 0;
  if (bar) filter_bar->setGeometry(0, strip + 10, width, bar);
  const int height = area->height() - strip - 10 - bar;
  list->setGeometry(0, strip + 10 + bar, width, height > 0 ? height : 0);
}

void MainWindow::StepTab(int step) {
  const int count = tabs->count();
  if (count > 0) tabs->setCurrentIndex((tabs->currentIndex() + step + count) % count);
}

void MainWindow::Quit() { close(); }

int MainWindow::ReadSetting(const char16_t* name, int fallback) {
  QSettings settings(QStringLiteral("strandex"), QStringLiteral("strandex"));
  bool ok = false;
  const int value = settings.value(ToQString(name)).toInt(&ok);
  return ok ? value : fallback;
}

void MainWindow::WriteSetting(const char16_t* name, int value) {
  QSettings settings(QStringLiteral("strandex"), QStringLiteral("strandex"));
  settings.setValue(ToQString(name), value);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (find_window) find_window->close();
  QMainWindow::closeEvent(event);
}

}  // namespace ui
