// The modeless Find results window: a list of the strings a search found (symbolic ID, numeric
// ID, English text), "Clear" and "Close". A double-click on a row brings its string into view in
// the main window.
#pragma once

#include <QDialog>

class QTreeView;

namespace ui {

class CellTableModel;
class EditorClass;

class FindResultsWindow : public QDialog {
 public:
  FindResultsWindow(EditorClass& editor, QWidget* parent);
  void RowsChanged();
  QTreeView* List() const { return list; }

 protected:
  // Every way the window closes (its close box, "Close", Escape) ends here.
  void done(int result) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  EditorClass& editor;
  QTreeView* list = nullptr;
  CellTableModel* model = nullptr;
};

}  // namespace ui
