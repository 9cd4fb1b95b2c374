// MainWindow: the editor's main window in Qt 6 Widgets. The menu of the resource table (each
// action carries its command ID in the property "commandId"), a row of category tabs, the
// string list (a QTreeView over the logic's rows) and a status bar. It implements the screen
// that the editor logic talks to, and passes the user's actions on to that logic.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "strandex/ui/editor.h"
#include "strandex/ui/editor_screen.h"
#include "strandex/ui/qt/find_results_window.h"
#include "strandex/ui/qt/tab_row.h"

class QCheckBox;
class QLineEdit;
class QTreeView;

namespace ui {

class CellTableModel;

inline constexpr const char* kCommandIdProperty = "commandId";

class MainWindow : public QMainWindow, public EditorScreenClass {
 public:
  MainWindow();
  ~MainWindow() override;

  EditorClass& Editor() { return editor; }
  TabRow* Tabs() const { return tabs; }
  QTreeView* List() const { return list; }
  FindResultsWindow* FindResults() const { return find_window; }
  QWidget* FilterBar() const { return filter_bar; }
  QLineEdit* FilterEdit() const { return filter_edit; }
  QCheckBox* FilterAllCategories() const { return filter_all; }
  QAction* Action(int command) const;

  // Tests choose files without a dialog.
  using FileChooser = std::function<bool(const FileDialogRequest&, NarrowStringClass&)>;
  void SetFileChooser(FileChooser chooser) { file_chooser = chooser; }
  // Benchmarks answer dialogs without showing them.
  using DialogRunner = std::function<int(DialogLogicClass&)>;
  void SetDialogRunner(DialogRunner runner) { dialog_runner = runner; }

  // EditorScreenClass.
  bool ChooseFile(const FileDialogRequest& request, NarrowStringClass& path) override;
  void SetTitle(const char16_t* title) override;
  void SetMenuItemEnabled(int command, bool enabled) override;
  void SetMenuItemChecked(int command, bool checked) override;
  void SetMenuItemShown(int command, bool shown) override;
  void SetStatusText(const char16_t* text) override;
  void ShowFilterBar(bool shown) override;
  void TabsChanged() override;
  void RowsChanged() override;
  void ColumnsChanged() override;
  void SelectRow(int row) override;
  void ScrollRowNearTop(int row) override;
  int SelectionMark() override;
  bool IsRowSelected(int row) override;
  int RunDialog(DialogLogicClass& dialog) override;
  bool OpenFindResults() override;
  void CloseFindResults() override;
  void FindResultsChanged() override;
  void FocusStringList() override;
  void ShowMessage(MessageKind kind, const char16_t* caption, const char16_t* text) override;
  bool AskOkCancel(const char16_t* caption, const char16_t* text) override;
  void DebugOutput(const char16_t* text) override;
  void RunLayout() override;
  void Quit() override;
  // QSettings of the organization and application "strandex".
  int ReadSetting(const char16_t* name, int fallback) override;
  void WriteSetting(const char16_t* name, int value) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  // The filter bar, hidden until the View menu shows it.
  void BuildFilterBar(QWidget* parent);
  void FilterChanged();
  // The current row becomes the mark when the user has just selected or deselected it, or
  // (selected) made it current.
  void TrackSelectionMark(bool selection_changed);
  bool ChooseWithDialog(const FileDialogRequest& request, NarrowStringClass& path);
  // Chooses the tab step places after the selected one, going round.
  void StepTab(int step);

  EditorClass editor;
  TabRow* tabs = nullptr;
  QTreeView* list = nullptr;
  QWidget* filter_bar = nullptr;
  QLineEdit* filter_edit = nullptr;
  QCheckBox* filter_all = nullptr;
  CellTableModel* model = nullptr;
  QPointer<FindResultsWindow> find_window;
  FileChooser file_chooser;
  DialogRunner dialog_runner;
  // The row the user clicked or moved to last (or Show string selected), -1 after every refill.
  // Qt's current index is not it: Qt moves that to row 0 when the list gets the focus back.
  int selection_mark = -1;
};

}  // namespace ui
