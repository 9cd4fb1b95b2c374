// EditorClass: the editor's logic, free of any toolkit. It holds the editor's state (current
// file name, Goto mode, pending category name, menu item states, title, the string view and
// the Find results), runs the commands of the File, Search, Edit and View menus, and reacts to what
// the user does in the main window. It reaches the screen only through EditorScreenClass.
//
// The commands are in editor.cpp, each in the member that runs it.
#pragma once

#include <cstdint>

#include "common/string_class.h"
#include "strandex/ui/editor_dialogs.h"
#include "strandex/ui/editor_screen.h"
#include "strandex/ui/find_results.h"
#include "strandex/ui/string_list.h"

namespace ui {

class EditorClass {
 public:
  explicit EditorClass(EditorScreenClass& screen) : screen(screen) {}
  EditorClass(const EditorClass&) = delete;
  EditorClass& operator=(const EditorClass&) = delete;

  // The window exists: show the tabs of the database and the starting menu states and title.
  void Start();
  // Runs a menu command; unknown IDs are ignored.
  void ExecuteCommand(int command);
  // Opens path as File, Open does once the path is chosen (the program's argument).
  void OpenPath(const char* path);

  // What the user does in the main window.
  void OnTabSelected(int tab);
  void OnRowDoubleClicked(int row);
  void OnFindResultActivated(int row);
  void OnFindResultsClear();
  void OnFindResultsCloseButton();
  void OnFindResultsClosed();
  // The text of the filter bar, or its box "All categories", changed.
  void OnFilterChanged(const char16_t* text, bool all_categories);
  // A key was released in the Find results window: a diagnostic line with the key message's
  // two parameters.
  void OnFindResultsKeyUp(int key, int flags);

  // State, for the screen and the tests.
  StringListClass& View() { return view; }
  FindResultsClass& Results() { return results; }
  const UnicodeStringClass& Title() const { return title; }
  // Empty while there is none.
  const NarrowStringClass& CurrentFileName() const { return current_file_name; }
  const NarrowStringClass& PendingCategoryName() const { return pending_category_name; }
  uint8_t GotoMode() const { return goto_mode; }

 private:
  // File commands.
  void New();
  void Open();
  void Save();
  void SaveAs();
  void ExportHeader();
  void ExportTable();
  void Export(const FileDialogRequest& request, bool (*write)(const char*, NarrowStringClass*),
              const char16_t* caption, const char16_t* failure);
  void ImportTable();
  void LoadChosen(const char* path);
  bool SaveTo(const char* path);
  void SetTitleFromPath(const char* path);
  // Save and Save as are always enabled; saves_to_file says whether Save writes the current file
  // (after Open, or Save as, wrote or read it) or asks for a name as Save as does.
  void SetFileItems(bool saves_to_file, bool exports);
  void ShowTabs();

  // Search commands.
  void Goto();
  void Find(int template_id);
  void Search(const char16_t* text, int template_id);
  void ShowString(int slot);
  // Lists in the Find results every problem of the translation language's texts.
  void CheckTranslations();
  // Empties the Find results window, if it is open, for the rows of another search.
  void ClearResults(bool problems);

  // Edit commands.
  void AddString();
  void RemoveString();
  void AddCategory();
  void RemoveCategory();
  void RefillSelectedTab();
  // Replaces a text in the English or the translation language's texts of the listed or of all
  // strings, after a question that says how much changes.
  void Replace();

  // View commands. The choices are the user's settings, kept by the screen.
  void ChooseTranslationLanguage(int language);
  // Shows the list with language's column (0 for none, as is an unknown one) and checks its item.
  void ShowTranslationLanguage(int language);
  void ShowOnlyUntranslated(bool only);
  // The list (and the status text) after the untranslated view began or ended or changed language.
  void RefillView();
  void NextUntranslated();
  void ShowFilterBar(bool shown);
  // Fills the rows for tab and shows them with the status text; false when there is no such tab.
  bool ShowRows(int tab);

  void Message(const char16_t* caption, const char16_t* text);
  void Warning(const char16_t* caption, const char16_t* text);

  EditorScreenClass& screen;
  StringListClass view;
  FindResultsClass results;
  UnicodeStringClass title;
  NarrowStringClass current_file_name;
  NarrowStringClass pending_category_name;
  uint8_t goto_mode = 0;
  ReplaceChoices replace_choices;
  // Whether Save writes the current file without asking.
  bool save_writes_file = false;
  // Whether the filter bar is shown.
  bool filter_bar = false;
};

}  // namespace ui
