// Fuzz target: text typed into the editor's dialogs. The input is read as UTF-16 units, split
// at zero units into the fields of the Edit String dialog. Checked each time:
// - unescaping an escaped text without backslashes gives the text back, narrow and wide;
// - a number field reads as valid only within its range;
// - OK in Edit String either refuses (nothing changed) or writes a string that stays where its
//   numeric ID says and is found by its symbolic ID;
// - replacing the first field by the second in the third, as language 1's text: a text counted
//   without a match is left as it was, and a replacement by the same text changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "strandex/ui/editor_dialogs.h"
#include "strandex/ui/editor_screen.h"
#include "strandex/ui/field_text.h"
#include "strandex/ui/resources.h"
#include "strandex/ui/text_replace.h"
#include "tdb/translate_db.h"

namespace {

class SilentScreen : public ui::EditorScreenClass {
 public:
  bool ChooseFile(const ui::FileDialogRequest&, NarrowStringClass&) override { return false; }
  void SetTitle(const char16_t*) override {}
  void SetMenuItemEnabled(int, bool) override {}
  void SetMenuItemChecked(int, bool) override {}
  void ColumnsChanged() override {}
  void SetMenuItemShown(int, bool) override {}
  void SetStatusText(const char16_t*) override {}
  void ShowFilterBar(bool) override {}
  void TabsChanged() override {}
  void RowsChanged() override {}
  void SelectRow(int) override {}
  void ScrollRowNearTop(int) override {}
  int SelectionMark() override { return -1; }
  bool IsRowSelected(int) override { return false; }
  int RunDialog(ui::DialogLogicClass&) override { return 0; }
  bool OpenFindResults() override { return false; }
  void CloseFindResults() override {}
  void FindResultsChanged() override {}
  void FocusStringList() override {}
  void ShowMessage(ui::MessageKind, const char16_t*, const char16_t*) override { ++messages; }
  void DebugOutput(const char16_t*) override {}
  void RunLayout() override {}
  void Quit() override {}
  int messages = 0;
};

void CheckEscapes(std::u16string text) {
  for (char16_t& c : text) c = c == u'\\' ? u'/' : c;
  if (std::u16string(ui::Unescape(ui::Escape(text.c_str()).Chars()).Chars()) != text) __builtin_trap();
  std::string narrow;
  for (char16_t c : text) {
    char b = static_cast<char>(c);
    narrow.push_back(b == '\\' ? '/' : b == 0 ? '\1' : b);
  }
  if (std::string(ui::Unescape(ui::Escape(narrow.c_str()).Chars()).Chars()) != narrow) __builtin_trap();
}

void CheckReplace(const std::u16string& find, const std::u16string& with, const std::u16string& text) {
  for (bool match_case : {false, true}) {
    TDBStringClass s;
    if (!s.SetText(1, text.c_str())) return;
    ui::ReplaceRequest request;
    request.Find = find.c_str();
    request.With = (match_case ? find : with).c_str();
    request.Language = 1;
    request.MatchCase = match_case;
    ui::TextReplacementClass replacement(request);
    if (!replacement.Consider(&s)) return;
    const bool kept = replacement.StringCount() == 0 || match_case;
    if ((replacement.StringCount() == 0) != (replacement.MatchCount() == 0)) __builtin_trap();
    if (!replacement.Apply()) return;
    if (kept && std::u16string(s.GetText(1).Chars()) != text) __builtin_trap();
  }
}

void CheckNumber(const std::u16string& text) {
  int64_t value = 0;
  if (ui::ParseFieldNumber(text.c_str(), false, &value) && (value < 0 || value > 4294967295LL))
    __builtin_trap();
  if (ui::ParseFieldNumber(text.c_str(), true, &value) && (value < INT32_MIN || value > INT32_MAX))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
  const int kFields[] = {ui::kEditIDString, ui::kEditNumericID, ui::kEditEnglish, ui::kEditText,
                         ui::kEditSound};
  std::u16string pieces[5];
  size_t start = 0;
  for (int i = 0; i < 5 && start <= units.size(); ++i) {
    size_t end = units.find(u'\0', start);
    if (end == std::u16string::npos) end = units.size();
    pieces[i] = units.substr(start, end - start);
    start = end + 1;
  }
  for (const std::u16string& piece : pieces) {
    CheckEscapes(piece);
    CheckNumber(piece);
  }
  CheckReplace(pieces[0], pieces[1], pieces[2]);

  TranslateDBClass::ClearDatabase();
  TDBStringClass* a = new TDBStringClass;
  a->SetID(1000);
  a->SetIDString("IDS_A");
  TDBStringClass* b = new TDBStringClass;
  b->SetID(1001);
  TranslateDBClass::AddObject(a);
  TranslateDBClass::AddObject(b);
  SilentScreen screen;
  ui::EditStringDialogClass dialog(a, screen);
  ui::DialogFieldsClass fields;
  dialog.OnInit(fields);
  for (int i = 0; i < 5; ++i) fields.SetText(kFields[i], pieces[i].c_str());
  int result = dialog.OnCommand(ui::kIDOk, fields);
  if (result == ui::kStayOpen) {
    if (screen.messages != 1 || a->GetID() != 1000 || std::strcmp(a->GetIDString(), "IDS_A") != 0)
      __builtin_trap();
  } else {
    const int slot = a->GetID() - TranslateDBClass::kFirstID;
    if (result != 1 || TranslateDBClass::GetObject(slot) != a || TranslateDBClass::GetObject(1) != b)
      __builtin_trap();
    if (!TranslateDBClass::FindObjectByIDString(a->GetIDString()) && a->GetIDString()[0]) __builtin_trap();
  }
  TranslateDBClass::ClearDatabase();
  return 0;
}
