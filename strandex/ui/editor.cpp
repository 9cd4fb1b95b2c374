// The editor's state, the command dispatch, the menu item states and the main window's events.
#include "strandex/ui/editor.h"

#include "strandex/ui/dialogs.h"
#include "strandex/ui/resources.h"

namespace ui {

void EditorClass::Start() {
  title = kAppTitle;
  screen.SetTitle(title);
  SetFileItems(false, false, false);
  ShowTabs();
}

void EditorClass::ExecuteCommand(int command) {
  switch (command) {
    case kCmdNew:
    case kCmdClose:
      return New();
    case kCmdOpen:
      return Open();
    case kCmdSave:
      return Save();
    case kCmdSaveAs:
      return SaveAs();
    case kCmdExportHeader:
      return ExportHeader();
    case kCmdImportTable:
      return ImportTable();
    case kCmdExportTable:
      return ExportTable();
    case kCmdExit:
      return screen.Quit();
    case kCmdGoto:
      return Goto();
    case kCmdFindID:
      return Find(kFindIDDialog);
    case kCmdFindString:
      return Find(kFindStringDialog);
    case kCmdFindEnglish:
      return Find(kFindEnglishDialog);
    case kCmdAddString:
      return AddString();
    case kCmdRemoveString:
      return RemoveString();
    case kCmdAddCategory:
      return AddCategory();
    case kCmdRemoveCategory:
      return RemoveCategory();
  }
}

bool EditorClass::IsMenuItemEnabled(int command) const {
  switch (command) {
    case kCmdSave:
      return save_enabled;
    case kCmdSaveAs:
      return save_as_enabled;
    case kCmdExportHeader:
      return header_enabled;
    case kCmdExportTable:
      return table_enabled;
  }
  for (int i = 0; i < kMenuItemCount; ++i) {
    if (kMenuItems[i].Command == command) return true;
  }
  return false;
}

void EditorClass::SetMenuItem(int command, bool enabled) {
  switch (command) {
    case kCmdSave:
      save_enabled = enabled;
      break;
    case kCmdSaveAs:
      save_as_enabled = enabled;
      break;
    case kCmdExportHeader:
      header_enabled = enabled;
      break;
    case kCmdExportTable:
      table_enabled = enabled;
      break;
  }
  screen.SetMenuItemEnabled(command, enabled);
}

void EditorClass::SetFileItems(bool save, bool save_as, bool exports) {
  SetMenuItem(kCmdSave, save);
  SetMenuItem(kCmdSaveAs, save_as);
  SetMenuItem(kCmdExportHeader, exports);
  SetMenuItem(kCmdExportTable, exports);
}

void EditorClass::ShowTabs() {
  view.RebuildTabs();
  screen.TabsChanged();
}

void EditorClass::OnTabSelected(int tab) {
  view.SetSelectedTab(tab);
  if (view.FillList(tab)) screen.RowsChanged();
}

void EditorClass::RefillSelectedTab() {
  if (view.FillList(view.SelectedTab())) screen.RowsChanged();
}

void EditorClass::OnRowDoubleClicked(int row) {
  TDBStringClass* s = view.RowString(row);
  if (!s) return;
  EditStringDialogClass dialog(s, screen);
  int result = screen.RunDialog(dialog);
  screen.FocusFindResults();
  if (result == 1) RefillSelectedTab();
}

void EditorClass::Message(const char16_t* caption, const char16_t* text) {
  screen.ShowMessage(MessageKind::Error, caption, text);
}

void EditorClass::Warning(const char16_t* caption, const char16_t* text) {
  screen.ShowMessage(MessageKind::Warning, caption, text);
}

}  // namespace ui
