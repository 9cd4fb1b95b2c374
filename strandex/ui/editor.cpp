// The editor: its state, the command dispatch and the menu item states, the main window's
// events, and every command of the File, Search, Edit and View menus, each starting at its
// EditorClass member below (New, Open, Save, ... Goto, Find, ... AddString, RemoveCategory,
// ChooseTranslationLanguage).
#include "strandex/ui/editor.h"

#include <cstring>
#include <new>

#include "common/platform/paths.h"
#include "common/string_functions.h"
#include "common/utf8.h"
#include "strandex/ui/editor_dialogs.h"
#include "strandex/ui/field_text.h"
#include "strandex/ui/resources.h"
#include "tdb/database_file.h"
#include "tdb/exchange/header_export.h"
#include "tdb/exchange/text_table.h"
#include "tdb/exchange/translation_check.h"
#include "tdb/translate_db.h"

namespace ui {

namespace {

constexpr const char16_t* kTranslationSetting = u"TranslationLanguage";
constexpr const char16_t* kUntranslatedSetting = u"OnlyUntranslated";
constexpr const char16_t* kFilterBarSetting = u"FilterBar";

}  // namespace

void EditorClass::Start() {
  title = kAppTitle;
  screen.SetTitle(title);
  SetFileItems(false, false);
  ShowTranslationLanguage(screen.ReadSetting(kTranslationSetting, 0));
  ShowOnlyUntranslated(screen.ReadSetting(kUntranslatedSetting, 0) == 1);
  if (screen.ReadSetting(kFilterBarSetting, 0) == 1) ShowFilterBar(true);
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
    case kCmdReplace:
      return Replace();
  }
  if (command >= kCmdTranslationNone && command <= kCmdTranslationLast)
    return ChooseTranslationLanguage(command - kCmdTranslationNone);
  if (command == kCmdOnlyUntranslated && view.TranslationLanguage() > 0) {
    ShowOnlyUntranslated(!view.OnlyUntranslated());
    screen.WriteSetting(kUntranslatedSetting, view.OnlyUntranslated() ? 1 : 0);
  }
  if (command == kCmdNextUntranslated) return NextUntranslated();
  if (command == kCmdCheckTranslations) return CheckTranslations();
  if (command == kCmdFilterBar) {
    ShowFilterBar(!filter_bar);
    screen.WriteSetting(kFilterBarSetting, filter_bar ? 1 : 0);
  }
}

void EditorClass::SetFileItems(bool saves_to_file, bool exports) {
  save_writes_file = saves_to_file;
  // There is always a database to save, so Save and Save as stay enabled.
  screen.SetMenuItemEnabled(kCmdSave, true);
  screen.SetMenuItemEnabled(kCmdSaveAs, true);
  screen.SetMenuItemEnabled(kCmdExportHeader, exports);
  screen.SetMenuItemEnabled(kCmdExportTable, exports);
}

void EditorClass::ShowTabs() {
  view.RebuildTabs();
  screen.TabsChanged();
  // The untranslated strings of every category show without a tab being chosen.
  if (view.OnlyUntranslated()) ShowRows(view.SelectedTab());
}

bool EditorClass::ShowRows(int tab) {
  if (!view.FillList(tab)) return false;
  screen.RowsChanged();
  if (view.ShortOfMemory()) Message(u"Filter", u"Out of memory: the list shows no strings.");
  if (view.OnlyUntranslated()) {
    screen.SetStatusText(UnicodeStringClass::Formatted(u"%d of %d untranslated in language %d",
                                                       view.UntranslatedCount(), view.TranslatableCount(),
                                                       view.TranslationLanguage()));
  }
  return true;
}

void EditorClass::OnTabSelected(int tab) {
  view.SetSelectedTab(tab);
  ShowRows(tab);
}

void EditorClass::RefillSelectedTab() { ShowRows(view.SelectedTab()); }

void EditorClass::OnRowDoubleClicked(int row) {
  TDBStringClass* s = view.RowString(row);
  if (!s) return;
  EditStringDialogClass dialog(s, screen, view.TranslationLanguage());
  int result = screen.RunDialog(dialog);
  if (result == 1) RefillSelectedTab();
  // The string was chosen in the list, which holds it still, so the focus goes back there, even
  // when a Find results window is open.
  screen.FocusStringList();
}

void EditorClass::Message(const char16_t* caption, const char16_t* text) {
  screen.ShowMessage(MessageKind::Error, caption, text);
}

void EditorClass::Warning(const char16_t* caption, const char16_t* text) {
  screen.ShowMessage(MessageKind::Warning, caption, text);
}

// The File menu: New (and Close), Open, Save, Save as, Export C Header, Import Table and Export
// Table. Every file goes through the database and exchange code that tdbtool uses; a command
// that fails says so in a message naming the file and the reason.

namespace {

const FileDialogRequest kOpenDatabase = {false, u"String table", u"*.tdb", "", nullptr};
const FileDialogRequest kOpenTable = {false, u"Text Files (*.txt)", u"*.txt", "", nullptr};
const FileDialogRequest kSaveHeader = {true, u"C Header Files (*.h)", u"*.h", "string_ids.h", u"h"};
const FileDialogRequest kSaveTable = {true, u"Text Files (*.txt)", u"*.txt", "string_table.txt", u"txt"};

// Titles hold at most 259 characters.
constexpr int kTitleUnits = 259;
// Messages list at most this many lines of a longer list.
constexpr int kListedLines = 12;

// Appends up to kListedLines lines of list to text, and a count of the rest.
void AppendLines(UnicodeStringClass& text, const DynamicArrayClass<NarrowStringClass>& lines) {
  for (int i = 0; i < lines.Count() && i < kListedLines; ++i) {
    text.Append(u"\n");
    text.Append(WideFromUtf8(lines[i]));
  }
  if (lines.Count() > kListedLines)
    text.Append(UnicodeStringClass::Formatted(u"\n... and %d more.", lines.Count() - kListedLines));
}

// A lead sentence, an empty line and a "path: reason" text.
UnicodeStringClass Compose(const char16_t* lead, const char* detail) {
  UnicodeStringClass text(lead);
  text.Append(u"\n\n");
  text.Append(WideFromUtf8(detail));
  return text;
}

}  // namespace

void EditorClass::New() {
  title = kAppTitle;
  screen.SetTitle(title);
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::AddCategoryNamed("Default");
  view.ClearRows();
  screen.RowsChanged();
  ShowTabs();
  SetFileItems(false, false);
  screen.RunLayout();
}

void EditorClass::SetTitleFromPath(const char* path) {
  UnicodeStringClass full = UnicodeStringClass::Formatted(u"%s - %s", kAppTitle,
                                                          WideFromUtf8(platform::FileNamePart(path)).Chars());
  if (full.Length() > kTitleUnits) full.Chars()[kTitleUnits] = 0;
  title = full.Chars();
  screen.SetTitle(title);
}

void EditorClass::Open() {
  New();
  NarrowStringClass path;
  if (!screen.ChooseFile(kOpenDatabase, path)) return;
  LoadChosen(path);
}

void EditorClass::OpenPath(const char* path) {
  New();
  LoadChosen(path);
}

void EditorClass::LoadChosen(const char* path) {
  SetTitleFromPath(path);
  current_file_name = path;
  DatabaseLoadReport report;
  NarrowStringClass error;
  if (!LoadDatabaseFile(path, &report, &error, LoadedParts::kTextsOnDemand)) {
    // The database is as New left it.
    ShowTabs();
    screen.RunLayout();
    Message(u"Open", Compose(u"The database could not be opened.", error));
    return;
  }
  SetFileItems(true, true);
  ShowTabs();
  screen.RunLayout();

  UnicodeStringClass warning;
  if (report.Damaged) {
    warning.Append(UnicodeStringClass::Formatted(
        u"The file is damaged (%s). The editor shows what could be read; saving keeps only that.",
        WideFromUtf8(report.Damage).Chars()));
  } else if (!report.HasDatabase) {
    warning.Append(u"The file holds no string database.");
  }
  if (report.PassedChunkCount > 0) {
    warning.Append(UnicodeStringClass::Formatted(
        report.PassedChunkCount == 1
            ? u"\n\n%d part of the file is of a kind the editor does not know; saving leaves it out."
            : u"\n\n%d parts of the file are of a kind the editor does not know; saving leaves them out.",
        report.PassedChunkCount));
  }
  if (report.IDChanges.Count() > 0) {
    warning.Append(
        UnicodeStringClass::Formatted(u"\n\n%d numeric IDs had to change:", report.IDChanges.Count()));
    AppendLines(warning, report.IDChanges);
  }
  if (warning.IsEmpty()) return;
  UnicodeStringClass text = WideFromUtf8(path);
  text.Append(u"\n\n");
  text.Append(warning);
  Warning(u"Open", text);
}

bool EditorClass::SaveTo(const char* path) {
  NarrowStringClass error;
  if (SaveDatabaseFile(path, &error)) return true;
  Message(u"Save", Compose(u"The database could not be saved; the file on disk is as it was.", error));
  return false;
}

void EditorClass::Save() {
  if (!save_writes_file || current_file_name.IsEmpty()) return SaveAs();
  SaveTo(current_file_name);
}

void EditorClass::SaveAs() {
  FileDialogRequest request = {true, u"String table", u"*.tdb", current_file_name.Chars(), u"tdb"};
  NarrowStringClass path;
  if (!screen.ChooseFile(request, path)) return;
  SetTitleFromPath(path);
  current_file_name = path;
  if (SaveTo(current_file_name)) save_writes_file = true;
}

void EditorClass::Export(const FileDialogRequest& request, bool (*write)(const char*, NarrowStringClass*),
                         const char16_t* caption, const char16_t* failure) {
  NarrowStringClass path;
  if (!screen.ChooseFile(request, path)) return;
  NarrowStringClass error;
  if (!write(path, &error)) Message(caption, Compose(failure, error));
}

void EditorClass::ExportHeader() {
  Export(
      kSaveHeader, [](const char* path, NarrowStringClass* error) { return ExportCHeader(path, error); },
      u"Export C Header", u"The header could not be written.");
}

void EditorClass::ExportTable() {
  Export(
      kSaveTable, [](const char* path, NarrowStringClass* error) { return ExportTextTable(path, error); },
      u"Export Table", u"The table could not be written.");
}

void EditorClass::ImportTable() {
  New();
  current_file_name = "strings.tdb";
  NarrowStringClass path;
  if (!screen.ChooseFile(kOpenTable, path)) return;
  TranslateDBClass::ClearDatabase();
  DynamicArrayClass<NarrowStringClass> warnings;
  NarrowStringClass error;
  bool read = ImportTextTable(path, &warnings, &error);
  SetFileItems(false, true);
  ShowTabs();
  screen.RunLayout();
  if (!read) {
    Message(u"Import Table", Compose(u"The table could not be read.", error));
  } else if (warnings.Count() > 0) {
    UnicodeStringClass text =
        UnicodeStringClass::Formatted(u"The table was read with %d warnings:", warnings.Count());
    AppendLines(text, warnings);
    Warning(u"Import Table", text);
  }
}

// The Search menu: Goto, the three Find commands, the Find results window, and Show string,
// which brings one string into view.

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

void EditorClass::ClearResults(bool problems) {
  results.ShowProblems(problems);
  if (!results.IsOpen()) return;
  results.Clear();
  screen.FindResultsChanged();
}

void EditorClass::CheckTranslations() {
  if (view.TranslationLanguage() <= 0) return;
  ClearResults(true);
  // The checks of tdbtool check --translations, one row per problem.
  struct Rows : TranslationFaultHandler {
    Rows(FindResultsClass& results, EditorScreenClass& screen) : results(results), screen(screen) {}
    void OnFault(TDBStringClass* s, int, TranslationFault fault) override {
      if (!results.IsOpen()) results.SetOpen(screen.OpenFindResults());
      if (results.IsOpen())
        added = results.AddProblem(s->GetID() - TranslateDBClass::kFirstID, static_cast<int>(fault)) || added;
    }
    FindResultsClass& results;
    EditorScreenClass& screen;
    bool added = false;
  } rows(results, screen);
  TranslationCheckOptions options;
  options.Language = view.TranslationLanguage();
  ::CheckTranslations(options, rows);
  if (rows.added) screen.FindResultsChanged();
}

void EditorClass::Search(const char16_t* text, int template_id) {
  ClearResults(false);
  const bool wide = template_id == kFindStringDialog;
  // The narrow fields cannot hold a character above U+00FF, so such a text matches none of them;
  // in them a text is looked for over the characters its narrow form keeps, which are the first
  // units of the text itself.
  NarrowStringClass narrow;
  if (!wide && !NarrowFromField(text, 255, narrow)) return;
  const size_t length = wide ? static_cast<size_t>(WideLength(text)) : static_cast<size_t>(narrow.Length());
  const int language = TranslateDBClass::GetCurrentLanguage();
  const int count = TranslateDBClass::GetObjectCount();
  bool added = false;
  // Texts still in the loaded file are looked at where they stand, without being kept.
  UnicodeStringClass wide_text;
  NarrowStringClass english;
  // The texts of a loaded file lie far apart in its bytes: each is asked for a few strings ahead.
  constexpr int kAhead = 16;
  const bool texts = template_id != kFindIDDialog;
  for (int slot = 0; slot < count; ++slot) {
    TDBStringClass* ahead = texts ? TranslateDBClass::GetObject(slot + kAhead) : nullptr;
    if (ahead) ahead->PrefetchSpan(!wide);
    TDBStringClass* s = TranslateDBClass::GetObject(slot);
    if (!s) continue;
    TextSpan field;
    if (wide) {
      field = s->PeekTextSpan(language, wide_text);
    } else if (template_id == kFindIDDialog) {
      field = TextSpan{TextSpan::kNarrow, s->GetIDString().Chars(), TextSpan::kToTheEnd};
    } else {
      field = s->PeekEnglishSpan(english);
    }
    if (!field.ContainsNoCase(text, length)) continue;
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
  if (!ShowRows(tab)) return;
  int row = view.RowOfID(s->GetID());
  if (row < 0) {
    // The string exists, but the filter or Only untranslated keeps it out of the list.
    if (view.Filtering() || view.OnlyUntranslated())
      Message(u"Show string",
              UnicodeStringClass::Formatted(u"%hs is hidden by the filter or by Only untranslated.",
                                            s->GetIDString().Chars()));
    return;
  }
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

// The Edit menu: Add String and Remove String in the selected category, Add Category and
// Remove Category, none of which asks for confirmation, and Replace, which does.

void EditorClass::AddString() {
  int category = 0;
  if (!view.TabCategoryID(view.SelectedTab(), &category)) return;
  TDBStringClass* s = new (std::nothrow) TDBStringClass;
  if (s) s->SetCategoryID(category);
  if (!s || !s->SetText(0, u"") || !TranslateDBClass::AddObject(s)) {
    delete s;
    Message(u"Add String", u"Out of memory: the string was not added.");
    return;
  }
  RefillSelectedTab();
}

void EditorClass::RemoveString() {
  // The marked row, and only while it is selected: a row the user deselected stays.
  const int row = screen.SelectionMark();
  if (row < 0 || !screen.IsRowSelected(row)) return;
  TDBStringClass* s = view.RowString(row);
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

namespace {

// "1 string" or "2 strings".
UnicodeStringClass Counted(int count, const char16_t* one, const char16_t* many) {
  return UnicodeStringClass::Formatted(u"%d %s", count, count == 1 ? one : many);
}

}  // namespace

void EditorClass::Replace() {
  ReplaceDialogClass dialog(replace_choices, view.TranslationLanguage(), screen);
  if (screen.RunDialog(dialog) != 1) return;
  const ReplaceRequest& request = replace_choices.Request;
  TextReplacementClass replacement(request);
  bool looked = true;
  if (replace_choices.AllStrings) {
    const int count = TranslateDBClass::GetObjectCount();
    for (int slot = 0; slot < count && looked; ++slot)
      looked = replacement.Consider(TranslateDBClass::GetObject(slot));
  } else {
    for (int row = 0; row < view.RowCount() && looked; ++row)
      looked = replacement.Consider(view.RowString(row));
  }
  if (!looked) return Message(u"Replace", u"Out of memory: nothing was replaced.");
  UnicodeStringClass where =
      request.Language == 0 ? UnicodeStringClass(u"the English texts")
                            : UnicodeStringClass::Formatted(u"the texts of language %d", request.Language);
  where.Append(replace_choices.AllStrings ? u" of all strings" : u" of the strings the list shows");
  UnicodeStringClass text(u"\u201c");
  text.Append(request.Find);
  if (replacement.StringCount() == 0) {
    text.Append(u"\u201d stands in none of ");
    text.Append(where);
    text.Append(u"; nothing was replaced.");
    return Warning(u"Replace", text);
  }
  text.Append(u"\u201d becomes \u201c");
  text.Append(request.With);
  text.Append(u"\u201d in ");
  text.Append(where);
  text.Append(u".\n\n");
  text.Append(Counted(replacement.StringCount(), u"string changes", u"strings change"));
  text.Append(u" (");
  text.Append(Counted(replacement.MatchCount(), u"occurrence", u"occurrences"));
  text.Append(u"). The file changes only when it is saved.");
  if (!screen.AskOkCancel(u"Replace", text)) return;
  const bool applied = replacement.Apply();
  RefillSelectedTab();
  if (results.IsOpen()) screen.FindResultsChanged();
  if (!applied) Message(u"Replace", u"Out of memory: the strings were changed only in part.");
}

}  // namespace ui

namespace ui {

// The View menu: what the string list shows beside English. Nothing here changes the database.

void EditorClass::ShowTranslationLanguage(int language) {
  const int before = view.TranslationLanguage();
  const bool was_untranslated = view.OnlyUntranslated();
  view.SetTranslationLanguage(language);
  const int chosen = view.TranslationLanguage();
  for (int k = 0; k <= StringListClass::kLastLanguage; ++k)
    screen.SetMenuItemChecked(kCmdTranslationNone + k, k == chosen);
  screen.SetMenuItemEnabled(kCmdOnlyUntranslated, chosen > 0);
  screen.SetMenuItemChecked(kCmdOnlyUntranslated, view.OnlyUntranslated());
  screen.SetMenuItemShown(kCmdNextUntranslated, chosen > 0);
  screen.SetMenuItemShown(kCmdCheckTranslations, chosen > 0);
  if (chosen == before) return;
  screen.ColumnsChanged();
  // The list shows other strings when they are filtered by the shown translation.
  if (was_untranslated || view.OnlyUntranslated() || view.Filtering()) RefillView();
}

void EditorClass::ShowOnlyUntranslated(bool only) {
  const bool before = view.OnlyUntranslated();
  view.SetOnlyUntranslated(only);
  screen.SetMenuItemChecked(kCmdOnlyUntranslated, view.OnlyUntranslated());
  if (view.OnlyUntranslated() != before) RefillView();
}

void EditorClass::RefillView() {
  // Back to the selected tab's strings, and an empty status bar, when the view ends.
  if (!view.OnlyUntranslated()) screen.SetStatusText(u"");
  ShowRows(view.SelectedTab());
}

void EditorClass::ShowFilterBar(bool shown) {
  filter_bar = shown;
  screen.SetMenuItemChecked(kCmdFilterBar, shown);
  screen.ShowFilterBar(shown);
  // A hidden bar filters nothing.
  if (!shown) OnFilterChanged(u"", false);
}

void EditorClass::OnFilterChanged(const char16_t* text, bool all_categories) {
  if (view.SetFilter(filter_bar ? text : u"", all_categories)) ShowRows(view.SelectedTab());
}

void EditorClass::NextUntranslated() {
  const int language = view.TranslationLanguage();
  const int count = view.RowCount();
  if (language <= 0 || count == 0) return;
  // The first untranslated row after the marked one, going round to the top.
  const int mark = screen.SelectionMark();
  UnicodeStringClass scratch;
  NarrowStringClass english;
  for (int step = 1; step <= count; ++step) {
    const int row = ((mark < 0 ? -1 : mark) + step) % count;
    if (!PeekTranslation(view.RowString(row), language, scratch, english).Untranslated()) continue;
    // Only that row stays selected.
    screen.RowsChanged();
    screen.SelectRow(row);
    screen.ScrollRowNearTop(row);
    return;
  }
}

void EditorClass::ChooseTranslationLanguage(int language) {
  ShowTranslationLanguage(language);
  screen.WriteSetting(kTranslationSetting, view.TranslationLanguage());
}

}  // namespace ui
