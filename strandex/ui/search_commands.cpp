// The Search menu: Goto, the three Find commands, the Find results window, and Show string,
// which brings one string into view.
#include "common/string_functions.h"
#include "strandex/db/translate_db.h"
#include "strandex/ui/dialogs.h"
#include "strandex/ui/editor.h"
#include "strandex/ui/field_text.h"
#include "strandex/ui/resources.h"

namespace ui {

void EditorClass::Goto() {
  GotoDialogClass dialog(goto_mode, screen);
  if (screen.RunDialog(dialog) != 1) return;
  if (goto_mode == 1) return ShowString(static_cast<int>(dialog.Number));
  // The string with ID n can only be in slot n - 1000.
  if (dialog.Number < TranslateDBClass::kFirstID || dialog.Number > TranslateDBClass::kLastID) return;
  int slot = static_cast<int>(dialog.Number) - TranslateDBClass::kFirstID;
  TDBStringClass* s = TranslateDBClass::GetObject(slot);
  if (s && static_cast<uint32_t>(s->GetID()) == dialog.Number) ShowString(slot);
}

void EditorClass::Find(int template_id) {
  FindDialogClass dialog(template_id);
  if (screen.RunDialog(dialog) != 1) return;
  if (template_id == kFindEnglishDialog)
    screen.DebugOutput(UnicodeStringClass::Formatted(u"%s\n", dialog.Text.Chars()));
  Search(dialog.Text, template_id);
}

void EditorClass::Search(const char16_t* text, int template_id) {
  if (results.IsOpen()) {
    results.Clear();
    screen.FindResultsChanged();
  }
  const bool wide = template_id == kFindStringDialog;
  // The narrow fields cannot hold a character above U+00FF, so such a text matches none of them.
  NarrowStringClass narrow;
  if (!wide && !NarrowFromField(text, 255, narrow)) return;
  const int language = TranslateDBClass::GetCurrentLanguage();
  const int count = TranslateDBClass::GetObjectCount();
  bool added = false;
  for (int slot = 0; slot < count; ++slot) {
    TDBStringClass* s = TranslateDBClass::GetObject(slot);
    if (!s) continue;
    bool match = false;
    if (wide) {
      match = FindNoCase(s->GetText(language).Chars(), text) != nullptr;
    } else {
      const char* field =
          template_id == kFindIDDialog ? s->GetIDString().Chars() : s->GetEnglishText().Chars();
      match = FindNoCase(field, narrow.Chars()) != nullptr;
    }
    if (!match) continue;
    if (!results.IsOpen()) results.SetOpen(screen.OpenFindResults());
    if (results.IsOpen()) added = results.Add(slot) || added;
  }
  if (added) screen.FindResultsChanged();
}

void EditorClass::ShowString(int slot) {
  TDBStringClass* s = TranslateDBClass::GetObject(slot);
  if (!s) return;
  int tab = view.TabOfCategory(s->GetCategoryID());
  if (tab < 0) return;
  view.SetSelectedTab(tab);
  screen.TabsChanged();
  if (!view.FillList(tab)) return;
  screen.RowsChanged();
  int row = view.RowOfID(s->GetID());
  if (row < 0) return;
  screen.SelectRow(row);
  screen.ScrollRowNearTop(row);
}

void EditorClass::OnFindResultActivated(int row) {
  int slot = results.RowSlot(row);
  if (slot >= 0) ShowString(slot);
}

void EditorClass::OnFindResultsClear() {
  results.Clear();
  screen.FindResultsChanged();
}

void EditorClass::OnFindResultsCloseButton() {
  OnFindResultsClear();
  screen.CloseFindResults();
  OnFindResultsClosed();
}

void EditorClass::OnFindResultsKeyUp(int key, int flags) {
  screen.DebugOutput(UnicodeStringClass::Formatted(u"-- %d- %d\n", key, flags));
}

void EditorClass::OnFindResultsClosed() {
  results.Clear();
  results.SetOpen(false);
}

}  // namespace ui
