// MainWindowClass: the editor's main window in plain Win32. A window of class TDB_WND with the
// class's menu (resource 101 of the program), a row of category tabs ("SysTabControl32", one page
// of them at a time: tab_pages.h), the string list (a virtual "SysListView32" in report mode over
// the logic's rows) and a status bar. It implements the screen that the editor logic talks to,
// and passes the user's actions on to that logic.
#pragma once

#include <windows.h>

#include <functional>

#include "strandex/ui/editor.h"
#include "strandex/ui/editor_screen.h"
#include "strandex/ui/tab_pages.h"

namespace ui {

inline constexpr const wchar_t* kMainWindowClass = L"TDB_WND";

class MainWindowClass : public EditorScreenClass {
 public:
  explicit MainWindowClass(HINSTANCE instance) : instance(instance), editor(*this) {}
  ~MainWindowClass() override;
  MainWindowClass(const MainWindowClass&) = delete;
  MainWindowClass& operator=(const MainWindowClass&) = delete;

  // Registers and unregisters the window class TDB_WND of instance.
  static bool RegisterWindowClass(HINSTANCE instance);
  static void UnregisterWindowClass(HINSTANCE instance);
  // Creates the main window (800 x 600 at the default position, visible) with its controls and
  // lays it out. Null when the window or one of its controls could not be made.
  HWND Create();

  EditorClass& Editor() { return editor; }
  HWND Window() const { return window; }
  HWND Tabs() const { return tabs; }
  HWND List() const { return list; }
  HWND StatusBar() const { return status_bar; }
  HWND FilterEdit() const { return filter_edit; }
  HWND FilterAllCategories() const { return filter_all; }
  HWND FindResultsWindow() const { return find_window; }
  // The modal dialog running now, or null.
  HWND RunningDialog() const { return running_dialog; }

  // Scripted uses choose files without the common dialogs.
  using FileChooser = std::function<bool(const FileDialogRequest&, NarrowStringClass&)>;
  void SetFileChooser(FileChooser chooser) { file_chooser = std::move(chooser); }
  // Benchmarks answer dialogs without showing them.
  using DialogRunner = std::function<int(DialogLogicClass&)>;
  void SetDialogRunner(DialogRunner runner) { dialog_runner = std::move(runner); }

  // EditorScreenClass.
  bool ChooseFile(const FileDialogRequest& request, NarrowStringClass& path) override;
  void SetTitle(const char16_t* title) override;
  void SetMenuItemEnabled(int command, bool enabled) override;
  void SetMenuItemChecked(int command, bool checked) override;
  // A hidden item is taken out of its popup, and put back in its place from the menu table.
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
  // DWORD values under the user's key (HKEY_CURRENT_USER\Software\strandex).
  int ReadSetting(const char16_t* name, int fallback) override;
  void WriteSetting(const char16_t* name, int value) override;
  // Tests keep their settings under a key of their own, below HKEY_CURRENT_USER.
  void SetSettingsKey(const wchar_t* key) { settings_key = key; }

  // A Find results window tells its end, and the place it had on the screen.
  void OnFindResultsDestroyed(HWND dialog, const RECT& place);
  // Where the Find results window of this size opens: where the user last left it while the
  // program runs; at first beside or below the main window, inside the work area of its screen,
  // covering as little of the string list as the screen allows.
  POINT FindResultsPlace(SIZE size) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  bool CreateControls();
  LRESULT OnNotify(const NMHDR* header);
  // The filter bar's edit or box told a change.
  void FilterChanged();
  // The tab row and the list pass their keys and mouse messages here first.
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                      DWORD_PTR self);
  // A key pressed in the main window or one of its controls; false when the control should
  // handle it as usual.
  bool OnKey(HWND from, WPARAM key);
  // The user chose an item of the tab row, or a tab (selected only when it is another one).
  void ChooseItem(int item);
  void ChooseTab(int tab);
  // Moves the tab row's view of its items by one item towards the end (steps > 0) or the start.
  void ScrollTabs(int steps);
  // Runs a modal window (dialog or file dialog); the control that had the focus gets it back.
  template <typename Run>
  auto WithFocusKept(Run run);
  // Whether item index of the tab control has this text, item data and highlighted state.
  bool TabItemIs(int index, const UnicodeStringClass& text, int id, DWORD state);

  HINSTANCE instance;
  EditorClass editor;
  HWND window = nullptr;
  HWND tabs = nullptr;
  HWND list = nullptr;
  HWND status_bar = nullptr;
  // The filter bar, hidden until the View menu shows it.
  HWND filter_edit = nullptr;
  HWND filter_all = nullptr;
  HWND find_window = nullptr;
  // A Find results window made ahead, hidden, when the main window is idle: creating one costs
  // wine tens of milliseconds, which the first Find with hits would otherwise wait for.
  HWND spare_find_window = nullptr;
  HWND running_dialog = nullptr;
  // The control that had the focus when the window was last deactivated.
  HWND focused = nullptr;
  // The Find results window's last place on the screen, once it was closed.
  RECT find_place = {};
  bool find_place_known = false;
  // The page of tabs that the tab control holds.
  TabPageClass shown_page{0, -1};
  FileChooser file_chooser;
  DialogRunner dialog_runner;
  const wchar_t* settings_key = L"Software\\strandex";
};

}  // namespace ui
