// The Edit menu: Add String and Remove String in the selected category, Add Category and
// Remove Category. None of them asks for confirmation.
#include "strandex/db/translate_db.h"
#include "strandex/ui/dialogs.h"
#include "strandex/ui/editor.h"

namespace ui {

void EditorClass::AddString() {
  int category = 0;
  if (!view.TabCategoryID(view.SelectedTab(), &category)) return;
  TDBStringClass* s = new TDBStringClass;
  s->SetCategoryID(category);
  if (!s->SetText(0, u"") || !TranslateDBClass::AddObject(s)) {
    delete s;
    Message(u"Add String", u"Out of memory: the string was not added.");
    return;
  }
  RefillSelectedTab();
}

void EditorClass::RemoveString() {
  TDBStringClass* s = view.RowString(screen.SelectionMark());
  if (!s) return;
  TranslateDBClass::RemoveObject(s->GetID() - TranslateDBClass::kFirstID);
  RefillSelectedTab();
}

void EditorClass::AddCategory() {
  CategoryNameDialogClass dialog(pending_category_name, screen);
  screen.RunDialog(dialog);
  if (pending_category_name.IsEmpty()) return;
  if (!TranslateDBClass::AddCategoryNamed(pending_category_name)) {
    Message(u"Add Category", u"The category could not be added: no category ID is left, or memory ran out.");
    return;
  }
  // The tabs are rebuilt but the tab the list shows stays selected.
  int selected = view.SelectedTab();
  view.RebuildTabs();
  view.SetSelectedTab(selected);
  screen.TabsChanged();
}

void EditorClass::RemoveCategory() {
  int id = 0;
  if (!view.TabCategoryID(view.SelectedTab(), &id)) return;
  if (TranslateDBClass::GetCategoryCount() < 2) return;
  for (int i = 0; i < TranslateDBClass::GetCategoryCount(); ++i) {
    if (TranslateDBClass::GetCategory(i)->ID != id) continue;
    // The database moves the category's strings to the first remaining category.
    TranslateDBClass::RemoveCategory(i);
    ShowTabs();
    RefillSelectedTab();
    return;
  }
}

}  // namespace ui
