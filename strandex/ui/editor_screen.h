// EditorScreenClass: what the editor logic asks of the screen. The Qt and the Win32 main windows
// implement it; the tests drive the logic through a scripted fake. Texts are UTF-16; paths are
// the system's narrow form (UTF-8, on Windows too).
#pragma once

#include "common/string_class.h"

namespace ui {

class DialogLogicClass;

// A file dialog as a command asks for it. Open dialogs accept only an existing file; save
// dialogs ask before a file is overwritten and add the default extension to a bare name.
struct FileDialogRequest {
  bool Save;
  const char16_t* FilterDescription;  // "String table"
  const char16_t* FilterPattern;      // "*.tdb"
  const char* InitialName;            // path or file name to start with; "" for none
  const char16_t* DefaultExtension;   // "tdb", or null
};

enum class MessageKind { Warning, Error };

class EditorScreenClass {
 public:
  virtual ~EditorScreenClass() = default;

  // Runs a file dialog. False when the user cancels; otherwise path holds the chosen path.
  virtual bool ChooseFile(const FileDialogRequest& request, NarrowStringClass& path) = 0;
  virtual void SetTitle(const char16_t* title) = 0;
  virtual void SetMenuItemEnabled(int command, bool enabled) = 0;
  // Puts a check mark on a menu item of the View menu, or takes it away.
  virtual void SetMenuItemChecked(int command, bool checked) = 0;
  // Shows a menu item of the translators' view in its place, or hides it.
  virtual void SetMenuItemShown(int command, bool shown) = 0;
  // Shows the filter bar above the string list (an edit and the box "All categories"), moving
  // the list down by its height, or hides it and empties its edit.
  virtual void ShowFilterBar(bool shown) = 0;
  // The text of the status bar (empty unless a view of the View menu has something to say).
  virtual void SetStatusText(const char16_t* text) = 0;
  // The tabs (and the selected tab) or the rows of the string view changed: show them again.
  virtual void TabsChanged() = 0;
  virtual void RowsChanged() = 0;
  // The columns of the string list (their number or captions) changed: show them again.
  virtual void ColumnsChanged() = 0;
  // Adds row to the selection of the string list and makes it the marked row.
  virtual void SelectRow(int row) = 0;
  // Scrolls the string list so that row stands one row below the top.
  virtual void ScrollRowNearTop(int row) = 0;
  // The marked row of the string list, or -1 (after every RowsChanged until the user acts). The
  // mark is the row the user clicked last, with or without Ctrl or Shift, or moved to with the
  // keys, or that SelectRow selected: after a click on row 1 and a Shift+click on row 3 it is
  // row 3, and a Ctrl+click that deselects a row leaves the mark on that row. It is the row
  // that has the keyboard focus in the list (on Windows the focused item, not
  // LVM_GETSELECTIONMARK, which stays at the start of a Shift range).
  virtual int SelectionMark() = 0;
  // Whether row is selected in the string list. Remove String removes the marked row only while
  // it is selected, and so nothing once the user has deselected it or no row is selected.
  virtual bool IsRowSelected(int row) = 0;
  // Runs a modal dialog; returns the result it ended with (0 for the close box).
  virtual int RunDialog(DialogLogicClass& dialog) = 0;
  // Opens the Find results window if it is not open. False when it cannot be created.
  virtual bool OpenFindResults() = 0;
  virtual void CloseFindResults() = 0;
  virtual void FindResultsChanged() = 0;
  // Gives the keyboard focus to the string list.
  virtual void FocusStringList() = 0;
  virtual void ShowMessage(MessageKind kind, const char16_t* caption, const char16_t* text) = 0;
  // Asks a question with the buttons OK and Cancel: true for OK. A screen that cannot ask
  // answers Cancel.
  virtual bool AskOkCancel(const char16_t* caption, const char16_t* text) {
    (void)caption;
    (void)text;
    return false;
  }
  // A diagnostic line for developers (off unless enabled).
  virtual void DebugOutput(const char16_t* text) = 0;
  // Places the tabs and the list again (after New, Open and Import Table).
  virtual void RunLayout() = 0;
  // Ends the program (File, Exit).
  virtual void Quit() = 0;
  // The settings the editor keeps for the user (never in the database file), by name: the
  // stored value, or fallback when there is none. A screen without settings keeps none.
  virtual int ReadSetting(const char16_t* name, int fallback) {
    (void)name;
    return fallback;
  }
  virtual void WriteSetting(const char16_t* name, int value) {
    (void)name;
    (void)value;
  }
};

}  // namespace ui
