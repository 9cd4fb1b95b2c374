// The editor logic driven through a scripted screen: the File, Search and Edit commands, the
// menu states, the dialogs' fields and what OK writes back.
#include "strandex/ui/editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "common/allocore.h"
#include "common/testing/temp_folder.h"
#include "strandex/ui/dialog_fields.h"
#include "strandex/ui/resources.h"
#include "tdb/testing/database_fixture.h"

namespace ui {
namespace {

using std::u16string;

// One step of a scripted dialog: set a field, click a control, or close the dialog.
struct Step {
  enum Kind { kSet, kClick, kClose } What;
  int Control;
  u16string Text;
};
Step Set(int control, u16string text) { return {Step::kSet, control, std::move(text)}; }
Step Click(int control) { return {Step::kClick, control, {}}; }

class FakeScreen : public EditorScreenClass {
 public:
  // Scripts: a path for each file dialog (nullopt cancels), steps for each dialog.
  std::deque<std::optional<std::string>> files;
  std::deque<std::vector<Step>> dialogs;

  // What the logic did.
  std::vector<std::string> file_dialogs;   // the name each file dialog started with
  std::map<int, u16string> opened_fields;  // the fields of the last dialog as it opened
  int opened_focus = -1;
  int dialogs_left_open = 0;  // scripts that ended without ending their dialog
  std::vector<u16string> messages, debug;
  std::vector<int> selected_rows;
  int scrolled_row = -1;
  int selection_mark = -1;
  bool find_window = false;
  int find_window_opens = 0;
  std::map<int, bool> menu_items;  // the state each item was last given
  std::map<int, bool> checked;
  int columns_changes = 0;
  std::map<int, bool> shown;
  u16string status;
  std::map<u16string, int> settings;
  u16string opened_text_label;  // the label the logic gave "Text", "-" for the template's

  bool ChooseFile(const FileDialogRequest& request, NarrowStringClass& path) override {
    file_dialogs.push_back(request.InitialName);
    EXPECT_FALSE(files.empty()) << "unexpected file dialog";
    std::optional<std::string> choice = files.empty() ? std::nullopt : files.front();
    if (!files.empty()) files.pop_front();
    if (choice) path = choice->c_str();
    return choice.has_value();
  }
  void SetTitle(const char16_t*) override {}
  void SetMenuItemEnabled(int command, bool enabled) override { menu_items[command] = enabled; }
  void SetMenuItemChecked(int command, bool on) override { checked[command] = on; }
  void ColumnsChanged() override { ++columns_changes; }
  void SetMenuItemShown(int command, bool on) override { shown[command] = on; }
  void SetStatusText(const char16_t* text) override { status = text; }
  void ShowFilterBar(bool) override {}
  void TabsChanged() override {}
  void RowsChanged() override {
    selected_rows.clear();
    selection_mark = -1;
  }
  void SelectRow(int row) override { selected_rows.push_back(row); }
  void ScrollRowNearTop(int row) override { scrolled_row = row; }
  int SelectionMark() override { return selection_mark; }
  bool IsRowSelected(int row) override {
    return std::find(selected_rows.begin(), selected_rows.end(), row) != selected_rows.end();
  }
  int RunDialog(DialogLogicClass& dialog) override {
    const DialogTemplate* layout = FindDialogTemplate(dialog.TemplateID());
    DialogFieldsClass fields;
    dialog.OnInit(fields);
    opened_fields.clear();
    for (int i = 0; i < layout->ControlCount; ++i) {
      int id = layout->Controls[i].ID;
      ControlKind kind = layout->Controls[i].Kind;
      if (id == kNoControl) continue;
      if (kind != ControlKind::RadioButton && kind != ControlKind::CheckBox) {
        opened_fields[id] = fields.Text(id);
        continue;
      }
      // A button as "checked|its label|off", each part only where it applies.
      u16string& button = opened_fields[id];
      button = fields.Checked(id) ? u"checked" : u"";
      if (fields.Label(id)) button += u"|" + u16string(fields.Label(id));
      if (!fields.Enabled(id)) button += u"|off";
    }
    opened_focus = fields.Focus;
    opened_text_label = fields.Label(kEditText) ? fields.Label(kEditText) : u"-";
    EXPECT_FALSE(dialogs.empty()) << "unexpected dialog " << dialog.TemplateID();
    if (dialogs.empty()) return 0;
    std::vector<Step> steps = dialogs.front();
    dialogs.pop_front();
    for (const Step& step : steps) {
      if (step.What == Step::kClose) return 0;
      if (step.What == Step::kSet) {
        fields.SetText(step.Control, step.Text.c_str());
        continue;
      }
      // The radio buttons after a group box exclude each other; a check box turns over.
      int group = 0, clicked_group = -1;
      for (int i = 0; i < layout->ControlCount; ++i) {
        const ControlTemplate& control = layout->Controls[i];
        group += control.Kind == ControlKind::GroupBox;
        if (control.ID == step.Control && control.Kind == ControlKind::RadioButton) clicked_group = group;
        if (control.ID == step.Control && control.Kind == ControlKind::CheckBox)
          fields.SetChecked(control.ID, !fields.Checked(control.ID));
      }
      group = 0;
      for (int i = 0; i < layout->ControlCount; ++i) {
        const ControlTemplate& control = layout->Controls[i];
        group += control.Kind == ControlKind::GroupBox;
        if (control.Kind == ControlKind::RadioButton && group == clicked_group)
          fields.SetChecked(control.ID, control.ID == step.Control);
      }
      int result = dialog.OnCommand(step.Control, fields);
      if (result != kStayOpen) return result;
    }
    ++dialogs_left_open;
    return 0;
  }
  bool OpenFindResults() override {
    ++find_window_opens;
    return find_window = true;
  }
  void CloseFindResults() override { find_window = false; }
  void FindResultsChanged() override {}
  void FocusStringList() override {}
  void ShowMessage(MessageKind, const char16_t*, const char16_t* text) override { messages.push_back(text); }
  // Questions are answered from answers (Cancel when it is empty).
  std::deque<bool> answers;
  std::vector<u16string> questions;
  bool AskOkCancel(const char16_t*, const char16_t* text) override {
    questions.push_back(text);
    bool ok = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return ok;
  }
  void DebugOutput(const char16_t* text) override { debug.push_back(text); }
  void RunLayout() override {}
  void Quit() override {}
  int ReadSetting(const char16_t* name, int fallback) override {
    auto found = settings.find(name);
    return found == settings.end() ? fallback : found->second;
  }
  void WriteSetting(const char16_t* name, int value) override { settings[name] = value; }
};

const int kFileItems[] = {kCmdSave, kCmdSaveAs, kCmdExportHeader, kCmdExportTable};

class EditorTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    TranslateDBClass::Initialize();
    editor.Start();
  }

  // "1111" for Save, Save as, Export C Header, Export Table all enabled.
  std::string FileItems() {
    std::string states;
    for (int command : kFileItems) states += screen.menu_items[command] ? '1' : '0';
    return states;
  }
  // The tab names, separated by "|".
  std::string Tabs() {
    std::string names;
    for (int i = 0; i < editor.View().TabCount(); ++i) {
      u16string name = editor.View().TabText(i);
      names += (i ? "|" : "") + std::string(name.begin(), name.end());
    }
    return names;
  }
  // The title after its common start, the tabs and the File items: "- game.tdb [Default] 1111".
  std::string State() {
    u16string title = editor.Title().Chars();
    title.erase(0, std::min<size_t>(title.size(), 23));
    return std::string(title.begin(), title.end()) + "[" + Tabs() + "] " + FileItems();
  }
  // Whether the last message shown holds text.
  bool LastMessageHas(const char16_t* text) {
    return !screen.messages.empty() && screen.messages.back().find(text) != u16string::npos;
  }
  // The cells of a row, separated by "|".
  u16string Row(int row) {
    u16string cells;
    for (int column = 0; column < 4; ++column)
      cells += (column ? u"|" : u"") + u16string(editor.View().CellText(row, column).Chars());
    return cells;
  }
  std::vector<int> RowIDs() {
    std::vector<int> ids;
    for (int row = 0; row < editor.View().RowCount(); ++row)
      ids.push_back(editor.View().RowString(row)->GetID());
    return ids;
  }
  std::vector<int> ResultIDs() {
    std::vector<int> ids;
    for (int row = 0; row < editor.Results().RowCount(); ++row)
      ids.push_back(editor.Results().RowSlot(row) + 1000);
    return ids;
  }
  void Add(int id, const char* id_string, const char16_t* text = u"", int category = 1) {
    ASSERT_TRUE(TranslateDBClass::AddObject(NewString(id, id_string, text, category)));
  }
  // Shows the tabs of the database as they are now and selects tab.
  void ShowTab(int tab) {
    editor.View().RebuildTabs();
    editor.OnTabSelected(tab);
  }
  void Run(int command, std::vector<Step> steps) {
    screen.dialogs.push_back(std::move(steps));
    editor.ExecuteCommand(command);
  }
  // Runs a command whose file dialog answers path (nullopt cancels).
  void File(int command, std::optional<std::string> path) {
    screen.files.push_back(std::move(path));
    editor.ExecuteCommand(command);
  }
  // Double-clicks row and runs the Edit String dialog with steps.
  void EditRow(int row, std::vector<Step> steps) {
    screen.dialogs.push_back(std::move(steps));
    editor.OnRowDoubleClicked(row);
  }

  TempFolder folder;
  FakeScreen screen;
  EditorClass editor{screen};
};

TEST_F(EditorTest, OpenLoadsTheFileAndLeavesTheListEmptyUntilATabIsChosen) {
  Add(1000, "IDS_A", u"a");
  TranslateDBClass::AddCategoryNamed("Menus");
  Add(1001, "IDS_B", u"b", 2);
  const std::string path = folder / "game.tdb";
  // A new database is saved with Save, which asks for a name as Save as does.
  EXPECT_EQ(State(), "[Default] 1100");
  File(kCmdSave, path);
  EXPECT_EQ(State(), "- game.tdb[Default] 1100");

  File(kCmdOpen, path);
  EXPECT_EQ(State(), "- game.tdb[Default|Menus] 1111");
  EXPECT_EQ(editor.View().RowCount(), 0);
  EXPECT_EQ(editor.CurrentFileName(), path.c_str());
  EXPECT_TRUE(screen.messages.empty());
  editor.OnTabSelected(1);
  EXPECT_EQ(RowIDs(), std::vector<int>{1001});

  // New (and Close) keep the file name: Save and Save as then ask for a name, starting with it.
  editor.ExecuteCommand(kCmdClose);
  EXPECT_EQ(State(), "[Default] 1100");
  File(kCmdSave, std::nullopt);
  File(kCmdSaveAs, std::nullopt);
  EXPECT_EQ(screen.file_dialogs, (std::vector<std::string>{"", "", path, path}));
}

TEST_F(EditorTest, OpenThatFailsIsCancelledOrFindsDamageLeavesWhatItCould) {
  Add(1000, "IDS_A");
  File(kCmdOpen, std::nullopt);
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 0);
  EXPECT_EQ(State(), "[Default] 1100");
  EXPECT_TRUE(screen.messages.empty());

  TranslateDBClass::SetCurrentLanguage(3);
  File(kCmdOpen, folder / "gone.tdb");
  EXPECT_EQ(State(), "- gone.tdb[Default] 1100");
  EXPECT_EQ(TranslateDBClass::GetCurrentLanguage(), 3);
  EXPECT_EQ(screen.messages.size(), 1u);
  EXPECT_TRUE(LastMessageHas(u"gone.tdb: "));

  // A damaged file shows what could be read, and warns.
  for (int i = 0; i < 50; ++i) Add(1000 + i, "IDS_X", u"some text to make the file longer");
  const std::string path = folder / "cut.tdb";
  File(kCmdSaveAs, path);
  std::string bytes = ReadBytes(path);
  WriteBytes(path, bytes.substr(0, bytes.size() * 2 / 3));
  editor.OpenPath(path.c_str());
  EXPECT_EQ(FileItems(), "1111");
  EXPECT_GT(TranslateDBClass::GetObjectCount(), 0);
  EXPECT_EQ(screen.messages.size(), 2u);
  EXPECT_TRUE(LastMessageHas(u"damaged"));

  // One part of a kind the editor does not know is named in the singular.
  WriteBytes(path, Chunk(0x4242, "x") + bytes);
  editor.OpenPath(path.c_str());
  EXPECT_TRUE(
      LastMessageHas(u"\n1 part of the file is of a kind the editor does not know; saving leaves it out."));
}

TEST_F(EditorTest, SaveWritesTheCurrentFileAndAFailedSaveKeepsTheOldOne) {
  Add(1000, "IDS_A", u"first");
  File(kCmdSave, std::nullopt);  // no file name yet: Save as, cancelled
  EXPECT_EQ(screen.file_dialogs.size(), 1u);

  const std::string path = folder / "strings.tdb";
  File(kCmdSaveAs, path);
  const std::string first = ReadBytes(path);
  TranslateDBClass::GetObject(0)->SetText(0, u"second");
  editor.ExecuteCommand(kCmdSave);
  EXPECT_NE(ReadBytes(path), first);

  // A symbolic ID too long for the file: the save is refused, the file stays.
  const std::string second = ReadBytes(path);
  TranslateDBClass::ChangeObjectIDString(TranslateDBClass::GetObject(0), std::string(300, 'x').c_str());
  editor.ExecuteCommand(kCmdSave);
  EXPECT_EQ(ReadBytes(path), second);
  EXPECT_EQ(screen.messages.size(), 1u);
  EXPECT_TRUE(LastMessageHas(u"strings.tdb"));

  // Save as into a folder that does not exist: the title and name follow, Save stays as it was.
  const std::string nowhere = folder / "no/such/folder/x.tdb";
  File(kCmdSaveAs, nowhere);
  EXPECT_EQ(editor.CurrentFileName(), nowhere.c_str());
  EXPECT_EQ(screen.messages.size(), 2u);
}

TEST_F(EditorTest, ExportsStartWithTheirNamesAndImportTableNamesTheDatabaseStringsTdb) {
  Add(1000, "IDS_A", u"a");
  TranslateDBClass::AddCategoryNamed("Menus");
  Add(1001, "IDS_B", u"b", 2);
  const std::string table = folder / "table.txt";
  File(kCmdExportHeader, folder / "ids.h");
  File(kCmdExportTable, table);
  EXPECT_EQ(screen.file_dialogs, (std::vector<std::string>{"string_ids.h", "string_table.txt"}));
  EXPECT_NE(ReadBytes(folder / "ids.h").find("#define IDS_A"), std::string::npos);
  EXPECT_NE(ReadBytes(table).find("IDS_B"), std::string::npos);
  EXPECT_EQ(editor.CurrentFileName(), "");  // exports do not change the file name
  File(kCmdExportHeader, folder / "missing/x.h");
  File(kCmdExportTable, folder / "missing/x.txt");
  EXPECT_EQ(screen.messages.size(), 2u);

  File(kCmdImportTable, std::nullopt);
  EXPECT_EQ(editor.CurrentFileName(), "strings.tdb");
  EXPECT_EQ(State(), "[Default] 1100");
  File(kCmdImportTable, table);
  EXPECT_EQ(State(), "[Default|Menus] 1111");
  // Save asks for the name, starting with "strings.tdb", as Save as does.
  File(kCmdSave, std::nullopt);
  EXPECT_EQ(screen.file_dialogs.back(), "strings.tdb");
  EXPECT_TRUE(screen.files.empty());

  // A table that cannot be read: an empty database without tabs, and a message.
  File(kCmdImportTable, folder / "gone.txt");
  EXPECT_EQ(State(), "[] 1111");
  EXPECT_EQ(screen.messages.size(), 3u);
  editor.ExecuteCommand(kCmdAddString);  // no tab: nothing happens
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 0);
}

TEST_F(EditorTest, ListShowsTheCategoryHighestIDFirstWithItsCells) {
  Add(1000, "IDS_A", u"a");
  Add(1005, std::string(300, 'L').c_str(), u"e");
  Add(1002, "IDS_C", u"c");
  Add(1001, "IDS_OTHER", u"o", 2);
  TranslateDBClass::AddCategoryNamed("Other");
  TranslateDBClass::GetObject(2)->SetSoundID(0);
  ShowTab(0);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1005, 1002, 1000}));
  EXPECT_EQ(Row(0), u16string(255, u'L') + u"|1005||e");  // sound -1 shows empty
  EXPECT_EQ(Row(1), u"IDS_C|1002|0|c");
  editor.OnTabSelected(1);
  EXPECT_EQ(RowIDs(), std::vector<int>{1001});
  editor.OnTabSelected(5);  // no such tab: the list stays
  EXPECT_EQ(RowIDs(), std::vector<int>{1001});
}

TEST_F(EditorTest, EditStringShowsEscapedFieldsAndWritesThemBackInOrder) {
  Add(1000, "IDS_A");
  TDBStringClass* s = TranslateDBClass::GetObject(0);
  s->SetEnglishText("Line1\nLine2\tend");
  ShowTab(0);
  EditRow(0, {Click(kIDOk)});
  EXPECT_EQ(screen.opened_fields[kEditEnglish] + u"/" + screen.opened_fields[kEditText] + u"/" +
                screen.opened_fields[kEditSound] + u"/" + screen.opened_fields[kEditNumericID],
            u"Line1\\nLine2\\tend/Line1\\nLine2\\tend/-1/1000");
  EXPECT_EQ(s->GetEnglishText(), "Line1\nLine2\tend");  // unchanged by OK

  // "Text" wins over "Eng. string" in language 0; a backslash-t becomes a tab.
  EditRow(0, {Set(kEditEnglish, u"ignored"), Set(kEditText, u"C:\\temp\r\nx\\y"), Set(kEditSound, u" 42 "),
              Click(kIDOk)});
  EXPECT_EQ(s->GetEnglishText(), "C:\temp\r\nx\\y");
  EXPECT_EQ(s->GetSoundID(), 42);

  // An empty "Text" leaves English as typed and text 0 empty; an empty sound keeps the sound.
  EditRow(0, {Set(kEditEnglish, u"Eng"), Set(kEditText, u""), Set(kEditSound, u""), Click(kIDOk)});
  EXPECT_EQ(s->GetEnglishText(), "Eng");
  EXPECT_EQ(s->GetText(0), u"");
  EXPECT_EQ(s->GetSoundID(), 42);
  EditRow(0, {Set(kEditSound, u"-1"), Click(kIDOk)});
  EXPECT_EQ(s->GetSoundID(), -1);

  // Typed text is cut at 999 characters. OK alone keeps what was there, even a long text or
  // a backslash and "t", which typed would become a tab.
  EditRow(0, {Set(kEditText, u16string(1200, u'a')), Click(kIDOk)});
  EXPECT_EQ(s->GetText(0).Length(), 999);
  s->SetText(0, u16string(1200, u'b').c_str());
  EditRow(0, {Click(kIDOk)});
  EXPECT_EQ(s->GetText(0).Length(), 1200);
  s->SetText(0, u"C:\\temp");
  EditRow(0, {Click(kIDOk)});
  EXPECT_EQ(s->GetEnglishText(), "C:\\temp");

  // Cancel changes nothing.
  EditRow(0, {Set(kEditIDString, u"NEW"), Click(kIDCancel)});
  EXPECT_EQ(s->GetIDString(), "IDS_A");

  // In another language "Text" shows (and falls back to) text 0 and writes that language.
  s->SetText(0, u"english");
  TranslateDBClass::SetCurrentLanguage(2);
  EditRow(0, {Click(kIDOk)});
  EXPECT_EQ(screen.opened_fields[kEditText], u"english");
  EditRow(0, {Set(kEditText, u"deutsch"), Click(kIDOk)});
  EXPECT_EQ(s->GetText(2), u"deutsch");
  EXPECT_EQ(s->GetEnglishText(), "english");
}

TEST_F(EditorTest, EditStringKeepsTheDatabaseConsistent) {
  Add(1000, "IDS_A", u"a");
  Add(1001, "IDS_B", u"b");
  ShowTab(0);  // rows: 1001, 1000
  TDBStringClass* a = TranslateDBClass::GetObject(0);

  // Refused: the dialog stays open, nothing is written, a message says why.
  const u16string refused[] = {u"999", u"1001", u"10000000", u"4294967295"};
  for (const u16string& id : refused) {
    EditRow(1, {Set(kEditIDString, u"CHANGED"), Set(kEditNumericID, id), Click(kIDOk)});
    EXPECT_EQ(std::string(a->GetIDString()), "IDS_A") << std::string(id.begin(), id.end());
  }
  EditRow(1, {Set(kEditIDString, u16string(255, u'x')), Click(kIDOk)});
  EditRow(1, {Set(kEditIDString, u"\u0416"), Click(kIDOk)});
  EditRow(1, {Set(kEditEnglish, u"\u0416"), Click(kIDOk)});
  EXPECT_EQ(screen.dialogs_left_open, 7);
  EXPECT_EQ(screen.messages.size(), 7u);
  EXPECT_EQ(a->GetID(), 1000);

  // A new numeric ID moves the string; a new symbolic ID is found by the index.
  EditRow(1, {Set(kEditIDString, u"IDS_MOVED"), Set(kEditNumericID, u"1500"), Click(kIDOk)});
  EXPECT_EQ(TranslateDBClass::GetObject(0), nullptr);
  EXPECT_EQ(TranslateDBClass::GetObject(500), a);
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("ids_moved"), a);
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("IDS_A"), nullptr);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1500, 1001}));
  // Not a number: the ID stays.
  EditRow(0, {Set(kEditNumericID, u"12x"), Click(kIDOk)});
  EXPECT_EQ(a->GetID(), 1500);
}

TEST_F(EditorTest, GotoShowsTheStringByIDOrIndexAndKeepsItsMode) {
  TranslateDBClass::AddCategoryNamed("Second");
  TranslateDBClass::AddCategoryNamed("Third");
  for (int i = 0; i < 40; ++i) Add(1000 + i, "S", u"", i == 5 ? 3 : 1);
  ShowTab(0);

  Run(kCmdGoto, {Set(kGotoNumber, u"1005"), Click(kButtonOk)});
  EXPECT_EQ(screen.opened_fields[kGotoIDRadio], u"checked");
  EXPECT_EQ(screen.opened_focus, kGotoNumber);
  EXPECT_EQ(editor.View().SelectedTab(), 2);
  EXPECT_EQ(RowIDs(), std::vector<int>{1005});
  EXPECT_EQ(screen.selected_rows, std::vector<int>{0});
  EXPECT_EQ(screen.debug.back(), u"res == 1005\n");

  // Index mode: slot 30 is ID 1030, row 9 of the first tab (1039 ... 1000).
  Run(kCmdGoto, {Click(kGotoIndexRadio), Set(kGotoNumber, u"30"), Click(kButtonOk)});
  EXPECT_EQ(editor.GotoMode(), 1);
  EXPECT_EQ(editor.View().SelectedTab(), 0);
  EXPECT_EQ(screen.selected_rows, std::vector<int>{9});
  EXPECT_EQ(screen.scrolled_row, 9);

  // The mode is kept; an empty or bad number keeps the dialog open; a missing ID shows nothing.
  Run(kCmdGoto, {Set(kGotoNumber, u""), Click(kButtonOk), Set(kGotoNumber, u"-3"), Click(kButtonOk)});
  EXPECT_EQ(screen.opened_fields[kGotoIndexRadio], u"checked");
  EXPECT_EQ(screen.dialogs_left_open, 1);
  Run(kCmdGoto, {Click(kGotoIDRadio), Set(kGotoNumber, u"5000"), Click(kButtonOk)});
  EXPECT_EQ(editor.GotoMode(), 0);
  EXPECT_EQ(screen.selected_rows, std::vector<int>{9});
}

TEST_F(EditorTest, FindListsEveryHitInTheResultsWindow) {
  Add(1000, "IDS_OK", u"Yes");
  Add(1001, "BOOK_TITLE", u"");
  Add(1002, "IDS_O_K", u"Maybe");
  Run(kCmdFindID, {Set(kFindText, u"ok"), Click(kButtonOk)});
  EXPECT_EQ(screen.opened_focus, kFindText);
  EXPECT_EQ(ResultIDs(), (std::vector<int>{1000, 1001}));
  EXPECT_EQ(screen.find_window_opens, 1);
  EXPECT_EQ(editor.Results().CellText(0, 2), u"Yes");

  // A second search replaces the rows; an empty text lists every non-empty English text.
  Run(kCmdFindEnglish, {Click(kButtonOk)});
  EXPECT_EQ(ResultIDs(), (std::vector<int>{1000, 1002}));
  EXPECT_EQ(screen.find_window_opens, 1);
  Run(kCmdFindString, {Set(kFindText, u"MAY"), Click(kButtonOk)});
  EXPECT_EQ(ResultIDs(), std::vector<int>{1002});
  Run(kCmdFindString, {Set(kFindText, u"\u0416"), Click(kButtonOk)});  // no hit: no rows
  EXPECT_EQ(ResultIDs(), std::vector<int>{});

  // Closing forgets the window; the next hit opens a new one. A row whose string was removed
  // leads nowhere.
  editor.OnFindResultsCloseButton();
  EXPECT_FALSE(screen.find_window);
  Run(kCmdFindID, {Set(kFindText, u"IDS"), Click(kButtonOk)});
  EXPECT_EQ(screen.find_window_opens, 2);
  TranslateDBClass::RemoveObject(0);
  editor.OnFindResultActivated(0);
  EXPECT_TRUE(screen.selected_rows.empty());
  EXPECT_EQ(editor.Results().CellText(0, 0).Length(), 0);
  editor.OnFindResultActivated(1);
  EXPECT_EQ(screen.selected_rows, std::vector<int>{0});
  editor.OnFindResultsClear();
  EXPECT_EQ(editor.Results().RowCount(), 0);
}

// The Finds give the same hits in slot order whether the texts still wait in the opened file or
// have been read: only A to Z fold (not é/É, ü/Ü or Greek), and a string without the current
// language is searched in its text 0.
TEST_F(EditorTest, FindsFoldOnlyAToZInWaitingAndReadTexts) {
  TDBStringClass* door = NewString(1000, "IDS_Door", u"Open The DOOR");
  door->SetText(1, u"T\u00fcr \u00f6ffnen");
  TDBStringClass* cafe = NewString(1001, "ids_cafe", u"Caf\u00e9 \u00c9t\u00e9");
  cafe->SetText(1, u"STRASSE");
  for (TDBStringClass* s :
       {door, NewString(1002, "IDS_NONE"), cafe, NewString(1003, "GREEK", u"\u0391\u03b1")})
    ASSERT_TRUE(TranslateDBClass::AddObject(s));
  TranslateDBClass::SetCurrentLanguage(1);
  const std::string path = folder / "find.tdb";
  ASSERT_TRUE(SaveDatabaseFile(path.c_str(), nullptr));
  TranslateDBClass::SetCurrentLanguage(0);
  editor.OpenPath(path.c_str());
  ASSERT_EQ(TranslateDBClass::GetCurrentLanguage(), 1);
  const struct {
    int command;
    const char16_t* text;
    std::vector<int> ids;
  } finds[] = {{kCmdFindEnglish, u"door", {1000}},
               {kCmdFindEnglish, u"CAF\u00e9 \u00c9T", {1001}},
               {kCmdFindEnglish, u"caf\u00c9", {}},
               {kCmdFindEnglish, u"", {1000, 1001}},
               {kCmdFindEnglish, u"\u03b1", {}},
               {kCmdFindString, u"strasse", {1001}},
               {kCmdFindString, u"T\u00fcR \u00f6", {1000}},
               {kCmdFindString, u"t\u00dcr", {}},
               {kCmdFindString, u"\u03b1", {1003}},
               {kCmdFindString, u"\u0391\u0391", {}},
               {kCmdFindID, u"s_", {1000, 1001, 1002}},
               {kCmdFindID, u"", {1000, 1001, 1002, 1003}}};
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& find : finds) {
      Run(find.command, {Set(kFindText, find.text), Click(kButtonOk)});
      EXPECT_EQ(ResultIDs(), find.ids) << pass << " " << find.command;
    }
    // The second pass on texts read into the strings.
    for (int slot = 0; slot < TranslateDBClass::GetObjectCount(); ++slot)
      TranslateDBClass::GetObject(slot)->GetText(0);
  }
}

TEST_F(EditorTest, AddAndRemoveStringUseTheLowestFreeID) {
  Add(1000, "A");
  Add(1001, "B");
  Add(1003, "D");
  ShowTab(0);
  editor.ExecuteCommand(kCmdAddString);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1003, 1002, 1001, 1000}));
  EXPECT_EQ(Row(1), u"|1002||");
  EXPECT_EQ(TranslateDBClass::GetObject(2)->GetTextCount(), 1);

  editor.ExecuteCommand(kCmdRemoveString);  // nothing selected
  EXPECT_EQ(editor.View().RowCount(), 4);
  // The marked row goes only while it is selected.
  screen.selection_mark = 2;  // 1001
  screen.selected_rows = {0};
  editor.ExecuteCommand(kCmdRemoveString);
  EXPECT_EQ(editor.View().RowCount(), 4);
  screen.selected_rows = {0, 2};
  editor.ExecuteCommand(kCmdRemoveString);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1003, 1002, 1000}));
  editor.ExecuteCommand(kCmdAddString);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1003, 1002, 1001, 1000}));
  // Out of memory for the new string: a message, and the database as it was.
  allocore::FailAfter(1);
  editor.ExecuteCommand(kCmdAddString);
  allocore::FailAfter(0);
  EXPECT_EQ(screen.messages, std::vector<u16string>{u"Out of memory: the string was not added."});
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 4);
}

TEST_F(EditorTest, CategoriesAreAddedAtTheEndAndRemovedWithoutLosingStrings) {
  TranslateDBClass::AddCategoryNamed("Four");
  Add(1000, "IN_FOUR", u"", 2);
  ShowTab(0);
  Run(kCmdAddCategory, {Click(kButtonOk)});                                      // empty name
  Run(kCmdAddCategory, {Set(kCategoryName, u"Closed"), {Step::kClose, 0, {}}});  // close box
  Run(kCmdAddCategory, {Set(kCategoryName, u16string(255, u'n')), Click(kButtonOk)});
  EXPECT_EQ(screen.messages.size(), 1u);
  EXPECT_EQ(Tabs(), "Default|Four");

  Run(kCmdAddCategory, {Set(kCategoryName, u"Menus"), Click(kButtonOk)});
  EXPECT_EQ(Tabs(), "Default|Four|Menus");
  EXPECT_EQ(editor.View().SelectedTab(), 0);
  EXPECT_EQ(std::string(editor.PendingCategoryName()), "Menus");

  // Removing "Four" moves its string to the first category, which the list then shows.
  editor.OnTabSelected(1);
  editor.ExecuteCommand(kCmdRemoveCategory);
  EXPECT_EQ(Tabs(), "Default|Menus");
  EXPECT_EQ(RowIDs(), std::vector<int>{1000});
  editor.ExecuteCommand(kCmdRemoveCategory);
  editor.ExecuteCommand(kCmdRemoveCategory);  // the last category stays
  EXPECT_EQ(Tabs(), "Menus");
  EXPECT_EQ(RowIDs(), std::vector<int>{1000});
}

TEST_F(EditorTest, TranslationLanguageShowsAndEditsLanguageKAndIsKeptForTheUser) {
  Add(1000, "IDS_SAME", u"Hello");
  Add(1001, "IDS_ONLY_ENGLISH", u"Bye");
  TDBStringClass* same = TranslateDBClass::GetObject(0);
  ASSERT_TRUE(same->SetText(1, u"Hallo") && same->SetText(2, u"Hello"));
  const int current = TranslateDBClass::GetCurrentLanguage();
  ShowTab(0);
  editor.ExecuteCommand(kCmdTranslationFirst + 1);
  EXPECT_EQ(screen.settings[u"TranslationLanguage"], 2);
  EXPECT_EQ(u16string(editor.View().Columns()[4].Caption), u"Text (2)");
  // Row 0 is 1001, which has no text 2: empty, not its English text.
  EXPECT_EQ(u16string(editor.View().CellText(0, 4).Chars()) + u"|" + editor.View().CellText(1, 4).Chars(),
            u"|= Hello");
  EditRow(0, {Click(kIDCancel)});
  EXPECT_EQ(screen.opened_fields[kEditText] + u"|" + screen.opened_text_label, u"|Text (2)");
  EditRow(1, {Set(kEditText, u"Hej"), Click(kIDOk)});
  EXPECT_EQ(u16string(same->GetText(2).Chars()) + u"|" + same->GetText(1).Chars(), u"Hej|Hallo");
  EXPECT_EQ(TranslateDBClass::GetCurrentLanguage(), current);

  // A start with an unknown language shows none (the front-end tests start with a kept one).
  screen.settings[u"TranslationLanguage"] = 7;
  EditorClass unknown(screen);
  unknown.Start();
  EXPECT_EQ(unknown.View().ColumnCount(), 4);
  editor.ExecuteCommand(kCmdTranslationNone);
  EditRow(1, {Click(kIDCancel)});
  EXPECT_EQ(screen.opened_text_label, u"-");
}

TEST_F(EditorTest, OnlyUntranslatedListsWhatIsLeftInEveryCategoryAndNextUntranslatedFindsIt) {
  TranslateDBClass::AddCategoryNamed("Menus");
  Add(1000, "IDS_DONE", u"Hello");
  Add(1001, "IDS_SAME", u"Hello", 2);
  Add(1002, "IDS_EMPTY", u"Bye");
  Add(1003, "IDS_NUMBER", u"42");
  Add(1004, "IDS_ACCENT", u"\u00e9", 2);
  ASSERT_TRUE(TranslateDBClass::GetObject(0)->SetText(1, u"Hallo"));
  ASSERT_TRUE(TranslateDBClass::GetObject(1)->SetText(1, u"Hello"));
  ShowTab(0);
  editor.ExecuteCommand(kCmdOnlyUntranslated);  // grayed without a translation language
  EXPECT_EQ(RowIDs(), (std::vector<int>{1003, 1002, 1000}));
  EXPECT_EQ(screen.status, u"");

  editor.ExecuteCommand(kCmdTranslationFirst);
  // Without the view: the next untranslated row of the category, past the one without letters.
  editor.ExecuteCommand(kCmdNextUntranslated);
  EXPECT_EQ(screen.selected_rows, (std::vector<int>{1}));

  editor.ExecuteCommand(kCmdOnlyUntranslated);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1004, 1002, 1001}));
  EXPECT_EQ(screen.status, u"3 of 4 untranslated in language 1");
  screen.selection_mark = 2;
  editor.ExecuteCommand(kCmdNextUntranslated);  // round to the top
  EXPECT_EQ(screen.selected_rows, (std::vector<int>{0}));

  EditRow(2, {Set(kEditText, u"Hallo"), Click(kIDOk)});
  EXPECT_EQ(RowIDs(), (std::vector<int>{1004, 1002}));
  EXPECT_EQ(screen.status, u"2 of 4 untranslated in language 1");
}

TEST_F(EditorTest, FilterBarKeepsStringsWithTheTextInAnIDEnglishOrTheTranslation) {
  TranslateDBClass::AddCategoryNamed("Menus");
  Add(1000, "IDS_OPEN", u"Open file");
  Add(1001, "IDS_SAVE", u"Save", 2);
  Add(1002, "IDS_BIG", u"\u00c9norme");
  Add(1234, "IDS_QUIT", u"Quit");
  ASSERT_TRUE(TranslateDBClass::GetObject(0)->SetText(1, u"Datei \u00f6ffnen"));
  // Texts of an opened file are looked at where they wait in its bytes.
  ASSERT_TRUE(SaveDatabaseFile((folder / "filter.tdb").c_str(), nullptr));
  editor.OpenPath((folder / "filter.tdb").c_str());
  editor.OnTabSelected(0);
  editor.ExecuteCommand(kCmdFilterBar);
  const std::vector<std::pair<const char16_t*, std::vector<int>>> cases = {
      {u"oPEN", {1000}}, {u"23", {1234}},     {u"ids_", {1234, 1002, 1000}},
      {u"\u00e9", {}},   {u"\u00c9", {1002}}, {u"\u00d6FFNEN", {}},
      {u"save", {}}};
  for (const auto& [text, ids] : cases) {
    editor.OnFilterChanged(text, false);
    EXPECT_EQ(RowIDs(), ids) << std::string(text, text + 2);
  }
  editor.OnFilterChanged(u"save", true);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1001}));
  Run(kCmdGoto, {Set(kGotoNumber, u"1000"), Click(kButtonOk)});  // a string the filter hides
  EXPECT_TRUE(LastMessageHas(u"IDS_OPEN is hidden by the filter"));
  editor.ExecuteCommand(kCmdTranslationFirst);
  editor.OnFilterChanged(u"\u00f6FFNEN", true);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1000}));
  editor.ExecuteCommand(kCmdTranslationNone);  // the translation no longer counts
  EXPECT_EQ(RowIDs(), (std::vector<int>{}));
  editor.ExecuteCommand(kCmdTranslationFirst);
  editor.OnFilterChanged(u"\u00f6", true);
  editor.OnFilterChanged(u"\u00f6F", true);  // typed on: narrows what the text before kept
  EXPECT_EQ(RowIDs(), (std::vector<int>{1000}));
}

// Typing on looks through the rows of a text before, deleting takes back the rows of a kept
// text; neither may show other rows than the same text typed afresh.
TEST_F(EditorTest, FilterStepsShowWhatTheTextTypedAfreshShows) {
  TranslateDBClass::AddCategoryNamed("Menus");
  Add(1000, "IDS_A", u"Open");
  Add(1001, "IDS_COPY", u"Copy");
  Add(1002, "IDS_TOP", u"Top", 2);
  Add(1003, "IDS_NEW", u"New");
  ShowTab(0);
  editor.ExecuteCommand(kCmdFilterBar);
  const std::vector<std::tuple<const char16_t*, bool, std::vector<int>>> steps = {
      {u"o", false, {1001, 1000}},       {u"oP", false, {1001, 1000}},
      {u"ope", false, {1000}},           {u"op", false, {1001, 1000}},
      {u"op", true, {1002, 1001, 1000}}, {u"opy", true, {1001}},
      {u"op", true, {1002, 1001, 1000}}, {u"op", false, {1001, 1000}},
      {u"", false, {1003, 1001, 1000}},  {u"100", false, {1003, 1001, 1000}},
      {u"1001", false, {1001}},          {u"o", false, {1001, 1000}},
      {u"", false, {1003, 1001, 1000}},  {u"", true, {1003, 1001, 1000}},
      {u"o", true, {1002, 1001, 1000}}};
  for (const auto& [text, all, ids] : steps) {
    editor.OnFilterChanged(text, all);
    EXPECT_EQ(RowIDs(), ids) << std::string(text, text + WideLength(text)) << all;
  }
  editor.OnFilterChanged(u"op", false);
  editor.OnTabSelected(1);
  EXPECT_EQ(RowIDs(), std::vector<int>{1002});
  editor.OnFilterChanged(u"o", false);
  EXPECT_EQ(RowIDs(), std::vector<int>{1002});
  editor.OnTabSelected(0);
  editor.OnFilterChanged(u"op", false);
  // An edit while filtered: the kept rows of "o" no longer hold.
  EditRow(1, {Set(kEditText, u"Shut"), Click(kIDOk)});
  EXPECT_EQ(RowIDs(), std::vector<int>{1001});
  editor.OnFilterChanged(u"o", false);
  EXPECT_EQ(RowIDs(), std::vector<int>{1001});
}

// The filter and the untranslated view look through an index of the texts, which every change
// of the database must bring up to date before the next fill.
TEST_F(EditorTest, FilterAndUntranslatedViewFollowEveryChangeOfTheDatabase) {
  Add(1000, "IDS_A", u"Open");
  Add(1001, "IDS_B", u"Close");
  ASSERT_TRUE(SaveDatabaseFile((folder / "two.tdb").c_str(), nullptr));
  ShowTab(0);
  editor.ExecuteCommand(kCmdTranslationFirst);
  editor.ExecuteCommand(kCmdFilterBar);
  editor.OnFilterChanged(u"zz", true);
  EXPECT_EQ(RowIDs(), std::vector<int>{});
  screen.answers.push_back(true);
  Run(kCmdReplace,
      {Set(kReplaceFind, u"open"), Set(kReplaceWith, u"zz"), Click(kReplaceAll), Click(kButtonOk)});
  EXPECT_EQ(RowIDs(), std::vector<int>{1000});
  editor.ExecuteCommand(kCmdOnlyUntranslated);
  EXPECT_EQ(RowIDs(), std::vector<int>{1000});
  EditRow(0, {Set(kEditText, u"Zzz"), Set(kEditNumericID, u"1005"), Click(kIDOk)});
  EXPECT_EQ(RowIDs(), std::vector<int>{});
  editor.ExecuteCommand(kCmdOnlyUntranslated);
  EXPECT_EQ(RowIDs(), std::vector<int>{1005});
  editor.ExecuteCommand(kCmdAddString);
  editor.OnFilterChanged(u"100", true);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1005, 1001, 1000}));
  screen.selection_mark = 0;
  screen.selected_rows = {0};
  editor.ExecuteCommand(kCmdRemoveString);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1001, 1000}));
  editor.OpenPath((folder / "two.tdb").c_str());
  editor.OnFilterChanged(u"zz", true);
  EXPECT_EQ(RowIDs(), std::vector<int>{});
  // A text longer than the index's pieces of memory, between short ones.
  Add(1002, "IDS_LONG", (u16string(3 << 20, u'x') + u"Needle").c_str());
  Add(1003, "IDS_AFTER", u"needles");
  editor.OnFilterChanged(u"needle", true);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1003, 1002}));
  // No memory to build the index again: a message and no rows, which are not kept as the text's.
  ASSERT_TRUE(TranslateDBClass::GetObject(1)->SetEnglishText("needle"));
  allocore::FailAfter(1);
  editor.OnFilterChanged(u"needl", true);
  allocore::FailAfter(0);
  EXPECT_TRUE(LastMessageHas(u"Out of memory: the list shows no strings."));
  EXPECT_EQ(RowIDs(), std::vector<int>{});
  editor.OnFilterChanged(u"needle", true);
  EXPECT_EQ(RowIDs(), (std::vector<int>{1003, 1002, 1001}));
}

TEST_F(EditorTest, CheckTranslationsListsEachProblemOfLanguageKInTheFindResults) {
  Add(1000, "IDS_FMT", u"%d files");
  Add(1001, "IDS_OK", u"OK");
  Add(1002, "IDS_LEFT", u"Bye");
  ASSERT_TRUE(TranslateDBClass::GetObject(0)->SetText(1, u"%s Dateien"));
  ASSERT_TRUE(TranslateDBClass::GetObject(1)->SetText(1, u"Gut"));
  ShowTab(0);
  editor.ExecuteCommand(kCmdTranslationFirst);
  editor.ExecuteCommand(kCmdCheckTranslations);
  ASSERT_EQ(ResultIDs(), (std::vector<int>{1000, 1002}));
  ASSERT_EQ(editor.Results().ColumnCount(), 4);
  EXPECT_EQ(
      u16string(editor.Results().CellText(0, 3).Chars()) + u"|" + editor.Results().CellText(1, 3).Chars(),
      u"the printf conversions differ from the English text's|no translation (empty)");
  editor.OnFindResultActivated(1);
  EXPECT_EQ(screen.selected_rows, (std::vector<int>{0}));
  Run(kCmdFindID, {Set(kFindText, u"IDS_OK"), Click(kButtonOk)});
  EXPECT_EQ(editor.Results().ColumnCount(), 3);
}

// Replace: what the question says, Cancel, OK over the listed or all strings, in English or
// in the translation language, with A to Z folded or matched; refused and unmatched texts.
TEST_F(EditorTest, ReplaceChangesOnlyTheStringsThatHoldTheTextAfterTheQuestion) {
  TranslateDBClass::AddCategoryNamed("Menus");
  Add(1000, "IDS_OPEN", u"Open the file");
  Add(1001, "IDS_TWICE", u"open OPEN aaaa");
  Add(1002, "IDS_REOPEN", u"Reopen", 2);
  ASSERT_TRUE(TranslateDBClass::GetObject(0)->SetText(1, u"Datei \u00f6ffnen"));
  TranslateDBClass::SetCurrentLanguage(2);
  // Texts of an opened file wait in its bytes until a replacement changes them.
  ASSERT_TRUE(SaveDatabaseFile((folder / "replace.tdb").c_str(), nullptr));
  editor.OpenPath((folder / "replace.tdb").c_str());
  editor.OnTabSelected(0);
  auto english = [](int slot) {
    return std::string(TranslateDBClass::GetObject(slot)->GetEnglishText().Chars());
  };
  auto replace = [&](std::vector<Step> steps, bool ok) {
    screen.answers.push_back(ok);
    steps.push_back(Click(kButtonOk));
    Run(kCmdReplace, steps);
  };

  replace({Set(kReplaceFind, u"open"), Set(kReplaceWith, u"shut")}, false);
  EXPECT_EQ(screen.opened_fields[kReplaceTranslation] + u"," + screen.opened_fields[kReplaceShown],
            u"|off,checked");
  ASSERT_EQ(screen.questions.size(), 1u);
  EXPECT_EQ(
      screen.questions[0],
      u"\u201copen\u201d becomes \u201cshut\u201d in the English texts of the strings the list shows.\n\n"
      u"2 strings change (3 occurrences). The file changes only when it is saved.");
  EXPECT_EQ(english(0) + "|" + english(1), "Open the file|open OPEN aaaa");

  // OK: the choices are kept for the next time.
  replace({}, true);
  EXPECT_EQ(screen.opened_fields[kReplaceFind], u"open");
  EXPECT_EQ(english(0) + "|" + english(1) + "|" + english(2), "shut the file|shut shut aaaa|Reopen");
  EXPECT_EQ(std::u16string(TranslateDBClass::GetObject(1)->GetText(0).Chars()), u"shut shut aaaa");
  EXPECT_EQ(std::u16string(editor.View().CellText(0, 3).Chars()), u"shut shut aaaa");
  EXPECT_EQ(TranslateDBClass::GetCurrentLanguage(), 2);

  // All strings with case matched; matches do not overlap.
  replace(
      {Set(kReplaceFind, u"reopen"), Set(kReplaceWith, u"x"), Click(kReplaceAll), Click(kReplaceMatchCase)},
      true);
  EXPECT_TRUE(LastMessageHas(u"\u201creopen\u201d stands in none of the English texts of all strings;"));
  replace({Set(kReplaceFind, u"Reopen")}, true);
  replace({Set(kReplaceFind, u"aa"), Set(kReplaceWith, u"b")}, true);
  EXPECT_EQ(english(1) + "|" + english(2), "shut shut bb|x");
  ASSERT_EQ(screen.questions.size(), 4u);
  EXPECT_TRUE(screen.questions[3].find(u"1 string changes (2 occurrences)") != u16string::npos);

  // English takes no character outside Latin-1, nor does an empty text find anything.
  const size_t messages = screen.messages.size();
  Run(kCmdReplace, {Set(kReplaceWith, u"\u0151"), Click(kButtonOk), Set(kReplaceFind, u""), Click(kButtonOk),
                    Click(kButtonCancel)});
  ASSERT_EQ(screen.messages.size(), messages + 2);
  EXPECT_TRUE(screen.messages[messages].find(u"outside Western European (Latin-1)") != u16string::npos);

  // Language 1: only A to Z fold, and a string without a text 1 gets none.
  editor.ExecuteCommand(kCmdTranslationFirst);
  replace({Set(kReplaceFind, u"\u00d6ffnen"), Click(kReplaceTranslation), Click(kReplaceMatchCase)}, true);
  EXPECT_EQ(screen.opened_fields[kReplaceTranslation], u"|Texts of language 1");
  EXPECT_TRUE(LastMessageHas(u"stands in none of the texts of language 1 of all strings"));
  replace({Set(kReplaceFind, u"shut")}, true);  // in text 0 only
  EXPECT_TRUE(LastMessageHas(u"\u201cshut\u201d stands in none"));
  replace({Set(kReplaceFind, u"\u00f6FFNEN"), Set(kReplaceWith, u"\u0151")}, true);
  EXPECT_EQ(screen.questions.size(), 5u);
  EXPECT_EQ(std::u16string(TranslateDBClass::GetObject(0)->GetText(1).Chars()), u"Datei \u0151");
  EXPECT_EQ(english(0), "shut the file");
  EXPECT_EQ(TranslateDBClass::GetObject(1)->GetTextCount(), 1);
}

}  // namespace
}  // namespace ui
