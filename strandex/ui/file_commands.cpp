// The File menu: New (and Close), Open, Save, Save as, Export C Header, Import Table and Export
// Table. Every file goes through the database and exchange code that tdbtool uses; a command
// that fails says so in a message naming the file and the reason.
#include <cstring>

#include "common/utf8.h"
#include "strandex/db/database_file.h"
#include "strandex/db/translate_db.h"
#include "strandex/exchange/header_export.h"
#include "strandex/exchange/text_table.h"
#include "strandex/ui/editor.h"
#include "strandex/ui/resources.h"

namespace ui {

namespace {

const FileDialogRequest kOpenDatabase = {false, u"String table", u"*.tdb", "", nullptr};
const FileDialogRequest kOpenTable = {false, u"Text Files (*.txt)", u"*.txt", "", nullptr};
const FileDialogRequest kSaveHeader = {true, u"C Header Files (*.h)", u"*.h", "string_ids.h", u"h"};
const FileDialogRequest kSaveTable = {true, u"Text Files (*.txt)", u"*.txt", "string_table.txt", u"txt"};

// Titles hold at most 259 characters.
constexpr int kTitleUnits = 259;
// Messages list at most this many lines of a longer list.
constexpr int kListedLines = 12;

const char* FileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p) {
#ifdef _WIN32
    if (*p == '\\' || *p == ':') name = p + 1;
#endif
    if (*p == '/') name = p + 1;
  }
  return name;
}

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
  SetFileItems(false, false, false);
  screen.RunLayout();
}

void EditorClass::SetTitleFromPath(const char* path) {
  UnicodeStringClass full =
      UnicodeStringClass::Formatted(u"%s - %s", kAppTitle, WideFromUtf8(FileNamePart(path)).Chars());
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
  if (!LoadDatabaseFile(path, &report, &error)) {
    // The database is as New left it.
    ShowTabs();
    screen.RunLayout();
    Message(u"Open", Compose(u"The database could not be opened.", error));
    return;
  }
  SetFileItems(true, true, true);
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
        u"\n\n%d parts of the file are of a kind the editor does not know; saving leaves them out.",
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
  if (current_file_name.IsEmpty()) return SaveAs();
  SaveTo(current_file_name);
}

void EditorClass::SaveAs() {
  FileDialogRequest request = {true, u"String table", u"*.tdb", current_file_name.Chars(), u"tdb"};
  NarrowStringClass path;
  if (!screen.ChooseFile(request, path)) return;
  SetTitleFromPath(path);
  current_file_name = path;
  if (SaveTo(current_file_name)) SetMenuItem(kCmdSave, true);
}

void EditorClass::Export(const FileDialogRequest& request, bool (*write)(const char*, NarrowStringClass*),
                         const char16_t* caption, const char16_t* failure) {
  NarrowStringClass path;
  if (!screen.ChooseFile(request, path)) return;
  NarrowStringClass error;
  if (!write(path, &error)) Message(caption, Compose(failure, error));
}

void EditorClass::ExportHeader() {
  Export(kSaveHeader, ExportCHeader, u"Export C Header", u"The header could not be written.");
}

void EditorClass::ExportTable() {
  Export(kSaveTable, ExportTextTable, u"Export Table", u"The table could not be written.");
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
  SetFileItems(false, true, true);
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

}  // namespace ui
