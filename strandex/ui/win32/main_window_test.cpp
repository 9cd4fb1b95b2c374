// The Win32 front end, in-process with the real window: start-up window, controls and menu; the
// file commands through the system's file dialogs; tabs, rows and cells of the virtual list;
// Goto, Find and the Find results window; Edit String; the Edit menu; dialog controls and their
// positions in dialog units. Modal windows are answered from a timer inside their loops.
#include "strandex/ui/win32/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/testing/temp_folder.h"
#include "common/utf8.h"
#include "strandex/ui/field_text.h"
#include "strandex/ui/win32/debug_output.h"
#include "strandex/ui/win32/file_dialog.h"
#include "strandex/ui/win32/modal_dialog.h"
#include "strandex/ui/win32/win32_text.h"
#include "tdb/testing/database_fixture.h"

namespace ui {
namespace {

using std::to_wstring;
using std::wstring;
using Tabs = std::vector<wstring>;

wstring Text(HWND window) {
  wchar_t text[1024] = {0};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

wstring ClassOf(HWND window) {
  wchar_t name[64] = {0};
  ::GetClassNameW(window, name, 64);
  return name;
}

void Click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// The window style without the bits the system adds (clipping of siblings, scroll bars).
LONG Style(HWND window) {
  return ::GetWindowLongW(window, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL);
}

// "text ID" of each item of a menu, "grayed" added where it is; popups have the ID -1.
wstring MenuText(HMENU menu) {
  wstring out;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {0};
    ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
    out += (i ? L"|" : L"") + wstring(text) + L" " + to_wstring(static_cast<int>(::GetMenuItemID(menu, i))) +
           ((::GetMenuState(menu, i, MF_BYPOSITION) & (MF_GRAYED | MF_SEPARATOR)) == MF_GRAYED ? L" grayed"
                                                                                               : L"");
  }
  return out;
}

// "caption width" of each column of a list view.
wstring Columns(HWND list) {
  wstring out;
  for (int i = 0;; ++i) {
    wchar_t text[64] = {0};
    LVCOLUMNW column = {LVCF_TEXT | LVCF_WIDTH, 0, 0, text, 64, 0, 0, 0, 0, 0, 0};
    if (!::SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column))) return out;
    out += (i ? L"|" : L"") + wstring(text) + L" " + to_wstring(column.cx);
  }
}

// Answers the modal windows (dialogs, message boxes, file dialogs) that a command opens, one step
// for each in order, from a timer that runs inside their message loops. A window left without a
// step is closed after a while and the test fails.
class ModalScript {
 public:
  using Step = std::function<void(HWND)>;
  ModalScript(MainWindowClass& main, std::vector<Step> steps) : main(main), steps(std::move(steps)) {
    ::SetTimer(main.Window(), reinterpret_cast<UINT_PTR>(this), 15, Tick);
  }
  ~ModalScript() {
    if (main.Window()) ::KillTimer(main.Window(), reinterpret_cast<UINT_PTR>(this));
    EXPECT_EQ(next, steps.size()) << "modal windows answered";
  }

 private:
  // The visible, enabled dialog of the thread other than the Find results window.
  static BOOL CALLBACK Candidate(HWND window, LPARAM data) {
    auto* found = reinterpret_cast<HWND*>(data);
    if (window == *found || !::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
    if (ClassOf(window) != L"#32770") return TRUE;
    *found = window;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto* self = reinterpret_cast<ModalScript*>(id);
    HWND found = self->main.FindResultsWindow();
    ::EnumThreadWindows(::GetCurrentThreadId(), Candidate, reinterpret_cast<LPARAM>(&found));
    if (!found || found == self->main.FindResultsWindow()) return;
    if (self->next < self->steps.size()) {
      Step step = self->steps[self->next++];
      step(found);
    } else if (++self->waited > 200) {
      ADD_FAILURE() << "a modal window without a step: " << ::testing::PrintToString(Text(found));
      ::PostMessageW(found, WM_CLOSE, 0, 0);
    }
  }

  MainWindowClass& main;
  std::vector<Step> steps;
  size_t next = 0;
  int waited = 0;
};

// Sets the texts of edit controls, then clicks a button.
ModalScript::Step Fill(std::vector<std::pair<int, const wchar_t*>> texts, int button) {
  return [texts, button](HWND dialog) {
    for (const auto& [id, text] : texts) ::SetDlgItemTextW(dialog, id, text);
    Click(dialog, button);
  };
}

// Chooses path in a common file dialog (its file name field is cmb13 or edt1).
ModalScript::Step Choose(const std::string& path, wstring* initial = nullptr) {
  return [path, initial](HWND dialog) {
    HWND name = ::GetDlgItem(dialog, 0x47c) ? ::GetDlgItem(dialog, 0x47c) : ::GetDlgItem(dialog, 0x480);
    if (initial) *initial = Text(name);
    UnicodeStringClass wide;
    Utf8ToWide(path.c_str(), -1, wide);
    ::SetWindowTextW(name, reinterpret_cast<const wchar_t*>(wide.Chars()));
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
}

// Sends a key press to a control as the message loop would, with Ctrl and Shift held or not.
void Key(HWND to, WPARAM key, bool control = false, bool shift = false) {
  BYTE state[256] = {};
  state[VK_CONTROL] = control ? 0x80 : 0;
  state[VK_SHIFT] = shift ? 0x80 : 0;
  ::SetKeyboardState(state);
  ::SendMessageW(to, WM_KEYDOWN, key, 1);
  state[VK_CONTROL] = state[VK_SHIFT] = 0;
  ::SetKeyboardState(state);
}

// A click in the middle of an item of the tab row, which must be in view (not under its arrows).
void ClickTab(HWND tabs, int item) {
  RECT r, row, arrows = {};
  ASSERT_TRUE(::SendMessageW(tabs, TCM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r)));
  ::GetClientRect(tabs, &row);
  ::GetClientRect(::FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr), &arrows);
  ASSERT_TRUE(r.left >= 0 && r.right <= row.right - arrows.right) << "item " << item << " out of view";
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(tabs, WM_LBUTTONUP, 0, at);
}

// Whether a label shows its whole text on one line at its font.
bool ShowsWholeText(HWND label) {
  RECT place, line = {};
  ::GetClientRect(label, &place);
  HDC dc = ::GetDC(label);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
  ::DrawTextW(dc, Text(label).c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(label, dc);
  return line.right <= place.right;
}

// Presses a button of a message box and keeps the texts of its statics.
ModalScript::Step Press(int id, wstring* text = nullptr) {
  return [id, text](HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); text && child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) == L"Static") *text += Text(child);
    }
    ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  };
}

class Win32EditorTest : public DatabaseTest {
 protected:
  static constexpr const wchar_t* kSettingsKey = L"Software\\strandex-test";
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0x2F};
    ::InitCommonControlsEx(&controls);
    ASSERT_TRUE(MainWindowClass::RegisterWindowClass(::GetModuleHandleW(nullptr)));
  }
  static void TearDownTestSuite() { MainWindowClass::UnregisterWindowClass(::GetModuleHandleW(nullptr)); }

  void SetUp() override {
    DatabaseTest::SetUp();
    TranslateDBClass::Initialize();
    // The user's settings start empty in every test.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    main = new MainWindowClass(::GetModuleHandleW(nullptr));
    main->SetSettingsKey(kSettingsKey);
    ASSERT_NE(main->Create(), nullptr);
  }
  void TearDown() override {
    delete main;
    // The destroyed window posted WM_QUIT, which would end the next test's dialogs.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    DatabaseTest::TearDown();
  }

  void Command(int id, std::vector<ModalScript::Step> steps = {}) {
    ModalScript script(*main, std::move(steps));
    ::SendMessageW(main->Window(), WM_COMMAND, id, 0);
  }
  // "1" for each of Save, Save as, Export C Header and Export Table that is enabled.
  std::string FileItems() {
    std::string states;
    for (int id : {40023, 40024, 40046, 40055})
      states += ::GetMenuState(::GetMenu(main->Window()), id, MF_BYCOMMAND) & MF_GRAYED ? '0' : '1';
    return states;
  }
  // "name/category ID" of each tab.
  Tabs TabTexts() {
    Tabs names;
    for (int i = 0; i < ::SendMessageW(main->Tabs(), TCM_GETITEMCOUNT, 0, 0); ++i) {
      wchar_t name[64] = {0};
      TCITEMW item = {TCIF_TEXT | TCIF_PARAM, 0, 0, name, 64, 0, 0};
      ::SendMessageW(main->Tabs(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      names.push_back(wstring(name) + L"/" + to_wstring(item.lParam));
    }
    return names;
  }
  int SelectedTab() { return static_cast<int>(::SendMessageW(main->Tabs(), TCM_GETCURSEL, 0, 0)); }
  // Selects a tab as a click does: the selection, then TCN_SELCHANGE.
  void SelectTab(int tab) {
    ::SendMessageW(main->Tabs(), TCM_SETCURSEL, tab, 0);
    NMHDR header = {main->Tabs(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(main->Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }
  void DoubleClick(HWND list, int row, std::vector<ModalScript::Step> steps = {}) {
    ModalScript script(*main, std::move(steps));
    NMITEMACTIVATE activate = {};
    activate.hdr = {list, static_cast<UINT_PTR>(::GetDlgCtrlID(list)), static_cast<UINT>(NM_DBLCLK)};
    activate.iItem = row;
    ::SendMessageW(::GetParent(list), WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
  }

  static int Rows(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
  // The cells of a row, separated by "|".
  static wstring Row(HWND list, int row, int columns = 4) {
    wstring cells;
    for (int column = 0; column < columns; ++column) {
      wchar_t text[300] = {0};
      LVITEMW item = {0, 0, column, 0, 0, text, 300, 0, 0, 0, 0, 0, nullptr, nullptr, 0};
      ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
      cells += (column ? L"|" : L"") + wstring(text);
    }
    return cells;
  }
  static bool Selected(HWND list, int row) {
    return ::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
  }

  // Opens, through the Open dialog, a file with the categories Default (1000 IDS_OK, 1002
  // BOOK_TITLE) and Menus (1001 IDS_QUIT, 1005 IDS_NEW).
  void OpenSample() {
    TranslateDBClass::AddCategoryNamed("Menus");
    const int sounds[] = {7, -1, 0, -1};
    const char* names[] = {"IDS_OK", "IDS_QUIT", "BOOK_TITLE", "IDS_NEW"};
    const char16_t* texts[] = {u"OK", u"Quit", u"Line1\nLine2", u"New game"};
    for (int i = 0; i < 4; ++i) {
      TDBStringClass* s = NewString(i == 3 ? 1005 : 1000 + i, names[i], texts[i], i % 2 + 1);
      s->SetSoundID(sounds[i]);
      ASSERT_TRUE(TranslateDBClass::AddObject(s));
    }
    ASSERT_TRUE(SaveDatabaseFile((folder / "sample.tdb").c_str(), nullptr));
    Command(40021, {Choose(folder / "sample.tdb")});
    ASSERT_EQ(TabTexts(), (Tabs{L"Default/1", L"Menus/2"}));
  }

  TempFolder folder;
  MainWindowClass* main = nullptr;
};

TEST_F(Win32EditorTest, StartsWithTheWindowControlsAndMenuOfTheEditor) {
  HWND window = main->Window();
  EXPECT_EQ(ClassOf(window) + L" " + Text(window), L"TDB_WND Advanced string editor");
  RECT r;
  ::GetWindowRect(window, &r);
  EXPECT_EQ(to_wstring(r.right - r.left) + L"x" + to_wstring(r.bottom - r.top), L"800x600");
  EXPECT_EQ(Style(window) & 0x10CF0000, 0x10CF0000);
  EXPECT_EQ(ClassOf(main->Tabs()), L"SysTabControl32");
  EXPECT_EQ(Style(main->Tabs()), 0x50000108);
  EXPECT_EQ(ClassOf(main->List()), L"SysListView32");
  EXPECT_EQ(Style(main->List()), 0x50001009);
  EXPECT_EQ(::SendMessageW(main->List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
  EXPECT_EQ(Columns(main->List()), L"ID (string) 200|ID (numeric) 100|Sound ID 100|English text 450");
  EXPECT_EQ(ClassOf(main->StatusBar()), L"msctls_statusbar32");
  EXPECT_EQ(TabTexts(), (Tabs{L"Default/1"}));
  EXPECT_EQ(Rows(main->List()), 0);
  // What the window prepares once it is idle (a hidden Find results window) takes neither the
  // activation nor the focus.
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  EXPECT_EQ(::GetActiveWindow(), window);
  EXPECT_EQ(::GetFocus(), main->List());

  HMENU bar = ::GetMenu(window);
  EXPECT_EQ(MenuText(bar), L"File -1|Search -1|Edit -1|View -1");
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 0)),
            L"New 40020|Open 40021|Close 40038|Save 40023|Save as 40024|Export C Header 40046 "
            L"grayed|Import Table 40056|Export Table 40055 grayed| 0|Exit 40025");
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 1)),
            L"Goto 40026|Find by ID 40031|Find by string 40030|Find by english string 40029");
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 2)),
            L"Add String 40051|Remove String 40052|Add Category 40053|Remove Category 40054| 0|Replace\u2026 "
            L"40114");
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 3)),
            L"Translation language: None 40100|Translation language: 1 40101|Translation language: 2 "
            L"40102|Translation language: 3 40103|Translation language: 4 40104|Translation language: 5 "
            L"40105|Translation language: 6 40106| 0|Only untranslated 40110 grayed|Filter bar 40112");

  // Layout: the tab row on top, the list below it down to the status bar.
  RECT client, tabs, list, status;
  ::GetClientRect(window, &client);
  for (auto [control, rect] :
       {std::pair{main->Tabs(), &tabs}, {main->List(), &list}, {main->StatusBar(), &status}}) {
    ::GetWindowRect(control, rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(rect), 2);
  }
  EXPECT_EQ(
      (std::vector<LONG>{tabs.left, tabs.top, tabs.right, list.top, list.right, list.bottom, status.bottom}),
      (std::vector<LONG>{0, 0, client.right, tabs.bottom, client.right, status.top, client.bottom}));
  // A window lower than the tab strip and the status bar still lays out.
  ::SetWindowPos(window, nullptr, 0, 0, 120, 40, SWP_NOMOVE | SWP_NOZORDER);
  ::GetClientRect(main->List(), &list);
  EXPECT_EQ(list.bottom, 0);

  // The close box destroys the window and ends the message loop.
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Win32EditorTest, FileCommandsGoThroughTheCommonDialogs) {
  FileDialogSetup setup;
  PrepareFileDialog({false, u"String table", u"*.tdb", "", nullptr}, main->Window(), setup);
  EXPECT_EQ(wstring(setup.Dialog.lpstrFilter, 21), wstring(L"String table\0*.tdb\0", 20) + L'\0');
  EXPECT_EQ(setup.Dialog.Flags, 0x1004u);  // the read-only box hidden
  UnicodeStringClass error = SystemErrorLine(2);
  EXPECT_EQ(wstring(error.Chars(), error.Chars() + 9), L"ERROR 2: ");

  OpenSample();
  EXPECT_EQ(Text(main->Window()), L"Advanced string editor - sample.tdb");
  EXPECT_EQ(FileItems(), "1111");
  // Save as adds the default extension; it starts with the current file name.
  wstring initial;
  Command(40024, {Choose(folder / "copy", &initial)});
  EXPECT_NE(initial.find(L"sample.tdb"), wstring::npos);
  EXPECT_EQ(Text(main->Window()), L"Advanced string editor - copy.tdb");
  EXPECT_EQ(ReadBytes(folder / "copy.tdb"), ReadBytes(folder / "sample.tdb"));
  // Export C Header starts with its name; an existing file is replaced only when confirmed.
  Command(40046, {Choose(folder / "ids", &initial)});
  EXPECT_EQ(initial, L"string_ids.h");
  EXPECT_NE(ReadBytes(folder / "ids.h").find("IDS_QUIT"), std::string::npos);
  WriteBytes(folder / "ids.h", "keep");
  Command(40046, {Choose(folder / "ids.h"), Press(IDNO), Press(IDCANCEL)});
  EXPECT_EQ(ReadBytes(folder / "ids.h"), "keep");
  Command(40055, {Choose(folder / "table", &initial)});
  EXPECT_EQ(initial, L"string_table.txt");
  EXPECT_NE(ReadBytes(folder / "table.txt").find("IDS_NEW"), std::string::npos);
}

TEST_F(Win32EditorTest, GotoAndFindShowTheStringAndListTheHits) {
  OpenSample();
  // Goto by ID: "ID" is checked at first; an empty number keeps the dialog open.
  bool checked = false, stayed = false;
  Command(40026, {[&](HWND dialog) {
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, 1004));
            checked = ::IsDlgButtonChecked(dialog, 1014) == BST_CHECKED;
            Click(dialog, 1006);
            stayed = ::IsWindowVisible(dialog);
            Fill({{1004, L"1005"}}, 1006)(dialog);
          }});
  EXPECT_TRUE(checked && stayed);
  EXPECT_EQ(SelectedTab(), 1);
  EXPECT_TRUE(Selected(main->List(), 0));
  EXPECT_EQ(::SendMessageW(main->List(), LVM_GETSELECTIONMARK, 0, 0), 0);

  // Find by ID "ok": IDS_OK and BOOK_TITLE, in slot order, in the Find results window.
  Command(40031, {Fill({{1005, L"ok"}}, 1006)});
  HWND results = main->FindResultsWindow();
  ASSERT_NE(results, nullptr);
  HWND hits = ::GetDlgItem(results, 1011);
  EXPECT_EQ(::SendMessageW(hits, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
  EXPECT_EQ(Columns(hits), L"ID (string) 200|ID (numeric) 100|English text 600");
  EXPECT_EQ(::GetFocus(), hits);
  ASSERT_EQ(Rows(hits), 2);
  EXPECT_EQ(Row(hits, 0, 3) + L"/" + Row(hits, 1, 3), L"IDS_OK|1000|OK/BOOK_TITLE|1002|Line1\nLine2");
  // A double-click on a hit shows its string.
  SelectTab(1);
  DoubleClick(hits, 1);
  EXPECT_EQ(SelectedTab(), 0);
  EXPECT_TRUE(Selected(main->List(), 0));

  // The window's list follows a second search; its Clear and Close buttons work.
  Command(40029, {[](HWND dialog) { Click(dialog, 1006); }});
  EXPECT_EQ(Rows(hits), 4);
  Click(results, 1009);
  EXPECT_EQ(Rows(hits), 0);
  Click(results, 1010);
  EXPECT_FALSE(::IsWindow(results));
  // The next hit opens a fresh window; the close box closes it.
  Command(40031, {Fill({{1005, L"IDS"}}, 1006)});
  ASSERT_NE(main->FindResultsWindow(), nullptr);
  ::SendMessageW(main->FindResultsWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(main->FindResultsWindow(), nullptr);
  EXPECT_FALSE(main->Editor().Results().IsOpen());
}

TEST_F(Win32EditorTest, EditStringShowsTheFieldsAndWritesThemBack) {
  OpenSample();
  SelectTab(0);
  wstring refusal;
  DoubleClick(main->List(), 0,
              {[](HWND dialog) {
                 // The fields as the logic fills them (the template is resource_script_test.cpp's).
                 wstring fields;
                 for (int id : {1012, 1016, 1013, 1014, 1015, 1001})
                   fields += Text(::GetDlgItem(dialog, id)) + L"|";
                 EXPECT_EQ(fields, L"BOOK_TITLE|1002||0|Line1\\nLine2|Line1\\nLine2|");
                 // A numeric ID that another string has is refused, and the dialog stays.
                 Fill({{1016, L"1001"}}, 1)(dialog);
                 EXPECT_TRUE(::IsWindowVisible(dialog));
                 Fill({{1016, L"1002"}, {1014, L"-1"}, {1001, L"One\r\nTwo\\tend"}}, 1)(dialog);
               },
               Press(IDOK, &refusal)});
  EXPECT_NE(refusal.find(L"1001"), wstring::npos);
  ASSERT_EQ(Rows(main->List()), 2);
  EXPECT_EQ(Row(main->List(), 0), L"BOOK_TITLE|1002||One\r\nTwo\tend");
}

TEST_F(Win32EditorTest, TabsShowTheirStringsAndTheEditMenuChangesThem) {
  OpenSample();
  SelectTab(1);
  EXPECT_EQ(Row(main->List(), 0) + L"/" + Row(main->List(), 1),
            L"IDS_NEW|1005||New game/IDS_QUIT|1001||Quit");
  SelectTab(0);
  EXPECT_EQ(Row(main->List(), 0) + L"/" + Row(main->List(), 1),
            L"BOOK_TITLE|1002|0|Line1\nLine2/IDS_OK|1000|7|OK");
  // Add Category: a new last tab that is not selected; the close box adds none.
  Command(40053, {[](HWND dialog) {
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, 1015));
            Fill({{1015, L"Items"}}, 1006)(dialog);
          }});
  EXPECT_EQ(TabTexts(), (Tabs{L"Default/1", L"Menus/2", L"Items/3"}));
  EXPECT_EQ(SelectedTab(), 0);
  Command(40053, {[](HWND dialog) {
            ::SetDlgItemTextW(dialog, 1015, L"Never");
            ::SendMessageW(dialog, WM_CLOSE, 0, 0);
          }});
  EXPECT_EQ(TabTexts().size(), 3u);

  // A category of 100,000 strings shows at once.
  Command(40020);
  for (int i = 0; i < 100000; ++i) ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1000 + i, "", u"")));
  SelectTab(0);
  EXPECT_EQ(Row(main->List(), 0, 2) + L"/" + Row(main->List(), 99999, 2) + to_wstring(Rows(main->List())),
            L"|100999/|1000100000");
}

TEST_F(Win32EditorTest, ManyCategoriesShowAPageOfTabsWithItemsLeadingToTheOthers) {
  // From 101 categories on, items lead to the pages before and after.
  for (int c = 2; c <= 200; ++c) TranslateDBClass::AddCategoryNamed(("C" + std::to_string(c)).c_str());
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1000, "IN_101", u"", 101)));
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1001, "IN_201", u"", 201)));
  Command(40053, {Fill({{1015, L"C201"}}, 1006)});
  Tabs first = TabTexts();
  ASSERT_EQ(first.size(), 101u);
  EXPECT_EQ(first[0] + first[1] + first[100], L"101\u2013200 \u00bb/0Default/1C100/100");
  // Both items leading to other pages stand at the start of the row, in view beside a page's
  // first tab: one click each reaches the next or previous page and selects its first tab.
  ClickTab(main->Tabs(), 0);
  Tabs middle = TabTexts();
  ASSERT_EQ(middle.size(), 102u);
  EXPECT_EQ(middle[0] + middle[1] + middle[2] + middle[101],
            L"\u00ab 1\u2013100/0201 \u00bb/0C101/101C200/200");
  EXPECT_EQ(SelectedTab(), 2);
  ClickTab(main->Tabs(), 1);
  EXPECT_EQ(TabTexts(), (Tabs{L"\u00ab 101\u2013200/0", L"C201/201"}));
  ClickTab(main->Tabs(), 0);
  EXPECT_EQ(TabTexts().size(), 102u);
  EXPECT_EQ(SelectedTab(), 2);
  EXPECT_EQ(Row(main->List(), 0, 1) + to_wstring(Rows(main->List())), L"IN_1011");
  // They are drawn highlighted, unlike the categories.
  std::vector<int> highlighted;
  for (int item = 0; item < 102; ++item) {
    TCITEMW state = {TCIF_STATE, 0, TCIS_HIGHLIGHTED, nullptr, 0, 0, 0};
    if (::SendMessageW(main->Tabs(), TCM_GETITEMW, item, reinterpret_cast<LPARAM>(&state)) && state.dwState)
      highlighted.push_back(item);
  }
  EXPECT_EQ(highlighted, (std::vector<int>{0, 1}));
  // The wheel over the row scrolls it a tab at a time (its arrows show the first item in view).
  RECT row;
  ::GetWindowRect(main->Tabs(), &row);
  HWND arrows = ::FindWindowExW(main->Tabs(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  const LPARAM over = MAKELPARAM(row.left + 40, row.top + 8);
  for (int delta : {-WHEEL_DELTA, -WHEEL_DELTA, WHEEL_DELTA})
    ::SendMessageW(main->Tabs(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), over);
  EXPECT_EQ(::SendMessageW(arrows, UDM_GETPOS32, 0, 0), 1);
  ::SendMessageW(main->Tabs(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), over);
  EXPECT_EQ(SelectedTab(), 2);
  // The previous page, from its first tab.
  ClickTab(main->Tabs(), 0);
  EXPECT_EQ(TabTexts().size(), 101u);
  EXPECT_EQ(SelectedTab(), 1);
  EXPECT_EQ(Rows(main->List()), 0);
}

TEST_F(Win32EditorTest, AClickOnTheSelectedTabFillsTheListAndNamesAndLabelsShowWhole) {
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::AddCategoryNamed("Tom & Jerry");
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1000, "IDS_OK", u"OK", 1)));
  ASSERT_TRUE(SaveDatabaseFile((folder / "one.tdb").c_str(), nullptr));
  Command(40021, {Choose(folder / "one.tdb")});
  // A single '&' would mark a mnemonic: "Tom _Jerry".
  EXPECT_EQ(TabTexts(), (Tabs{L"Tom && Jerry/1"}));
  EXPECT_EQ(Rows(main->List()), 0);
  ClickTab(main->Tabs(), 0);
  EXPECT_EQ(Rows(main->List()), 1);
  // Each label shows its whole text on one line, '&' as it is; the Edit String layout test
  // shows that the fields stay.
  for (int command : {40026, 40031, 40030, 40029}) {
    Command(command, {[&](HWND dialog) {
              for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
                   child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (ClassOf(child) != L"Static") continue;
                EXPECT_TRUE(ShowsWholeText(child)) << Text(dialog) << ": " << Text(child);
                EXPECT_TRUE(::GetWindowLongW(child, GWL_STYLE) & SS_NOPREFIX);
              }
              Click(dialog, 1007);
            }});
  }
}

TEST_F(Win32EditorTest, KeysChooseTabsMoveTheFocusAndOpenRows) {
  OpenSample();
  ::SetFocus(main->Tabs());
  std::vector<int> chosen;
  for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_LEFT, VK_END, VK_HOME}) {
    Key(main->Tabs(), key);
    chosen.push_back(SelectedTab() * 10 + Rows(main->List()));
  }
  EXPECT_EQ(chosen, (std::vector<int>{12, 12, 2, 12, 2}));
  // Tab goes between the tab row and the list; Ctrl+Tab and Ctrl+Shift+Tab choose tabs.
  Key(main->Tabs(), VK_TAB);
  EXPECT_EQ(::GetFocus(), main->List());
  Key(main->List(), VK_TAB, true);
  EXPECT_EQ(SelectedTab(), 1);
  Key(main->List(), VK_TAB, true, true);
  Key(main->List(), VK_TAB, true, true);
  EXPECT_EQ(SelectedTab(), 1);  // round the start
  EXPECT_EQ(::GetFocus(), main->List());
  Key(main->List(), VK_TAB);
  EXPECT_EQ(::GetFocus(), main->Tabs());

  // Return on a row opens Edit String; the focus comes back to the list after it.
  LVITEMW item = {};
  item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(main->List(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
  ::SetFocus(main->List());
  wstring edited;
  {
    ModalScript script(*main, {[&](HWND dialog) {
      edited = Text(::GetDlgItem(dialog, 1012));
      Click(dialog, 2);
    }});
    Key(main->List(), VK_RETURN);
  }
  EXPECT_EQ(edited, L"IDS_QUIT");
  EXPECT_EQ(::GetFocus(), main->List());
  ::SetFocus(main->Tabs());
  Command(40053, {[](HWND dialog) { ::SendMessageW(dialog, WM_CLOSE, 0, 0); }});
  EXPECT_EQ(::GetFocus(), main->Tabs());

  // Find results open beside the list, inside the work area. Return shows the selected hit, in
  // the list, which gets the focus so that its selection shows; Escape closes the window.
  RECT work, list, place, both;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(main->Window(), nullptr, work.left, work.top, 400, 300, SWP_NOZORDER);
  Command(40031, {Fill({{1005, L"IDS"}}, 1006)});
  ::GetWindowRect(main->FindResultsWindow(), &place);
  ::GetWindowRect(main->List(), &list);
  EXPECT_FALSE(::IntersectRect(&both, &place, &list));
  EXPECT_TRUE(::IntersectRect(&both, &place, &work) && ::EqualRect(&both, &place));
  HWND hits = ::GetDlgItem(main->FindResultsWindow(), 1011);
  ASSERT_EQ(Rows(hits), 3);
  item.stateMask = item.state = LVIS_SELECTED;
  ::SendMessageW(hits, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
  Key(hits, VK_RETURN);
  EXPECT_EQ(SelectedTab(), 1);
  EXPECT_EQ(::SendMessageW(main->List(), LVM_GETITEMSTATE, 0, LVIS_SELECTED | LVIS_FOCUSED),
            LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(::GetFocus(), main->List());
  // Edit String on that row gives the focus back to the list that holds it, not to the hits.
  {
    ModalScript script(*main, {[](HWND dialog) { Click(dialog, 1); }});
    Key(main->List(), VK_RETURN);
  }
  EXPECT_EQ(::GetFocus(), main->List());
  // Where the user moved it, it opens again.
  ::SetWindowPos(main->FindResultsWindow(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Key(hits, VK_ESCAPE);
  EXPECT_EQ(main->FindResultsWindow(), nullptr);
  Command(40031, {Fill({{1005, L"IDS"}}, 1006)});
  ::GetWindowRect(main->FindResultsWindow(), &place);
  EXPECT_EQ(std::vector<LONG>({place.left, place.top}), std::vector<LONG>({30, 40}));
}

TEST_F(Win32EditorTest, OkAloneKeepsEveryText) {
  // Code units as the first, a middle and the last unit of the texts of the fields (the narrow
  // fields hold units up to U+00FF): the control characters, and the units a toolkit may treat
  // apart (format characters, separators, noncharacters, byte-order marks, surrogates). Each text
  // costs wine's edit control tens of milliseconds, so the other units are not swept here.
  TranslateDBClass::SetCurrentLanguage(1);
  TDBStringClass* s = NewString(1000, "IDS_X", u"", 1);
  ASSERT_TRUE(TranslateDBClass::AddObject(s));
  const int ranges[] = {0x01,   0x20,   0x7F,   0xA0,   0xAD,   0xAD,   0x200B, 0x200F, 0x2028,
                        0x202E, 0x2060, 0x2064, 0x240D, 0x240D, 0xD800, 0xD801, 0xDBFF, 0xDC01,
                        0xDFFF, 0xDFFF, 0xFDD0, 0xFDEF, 0xFEFF, 0xFEFF, 0xFFF0, 0xFFFF};
  SelectTab(0);
  std::vector<int> changed;
  auto sweep = [&](HWND dialog) {
    // The calls that show a field and read it back (WriteFields, ReadFields), on each field.
    auto check = [&](int id, const std::u16string& text, int unit) {
      HWND field = ::GetDlgItem(dialog, id);
      ::SetWindowTextW(field, W(text.c_str()));
      if (std::u16string(WindowText(field).Chars()) != text) changed.push_back(id * 0x100000 + unit);
    };
    for (size_t range = 0; range < std::size(ranges); range += 2) {
      for (int unit = ranges[range]; unit <= ranges[range + 1]; ++unit) {
        const char16_t u = static_cast<char16_t>(unit);
        for (int id : {1001, 1015, 1012}) {
          if (id == 1001 || unit <= 0xFF) check(id, {u, u'a', u, u'b', u}, unit);
        }
      }
    }
    check(1001, u"\U0001F600a\U0010FFFFb\U00010000", 0x10000);
    Click(dialog, 2);
  };
  DoubleClick(main->List(), 0, {sweep});
  EXPECT_EQ(changed, std::vector<int>{});
  // OK alone through the dialog keeps a text that starts with U+FEFF and ends with U+FFFE, and
  // one that starts with U+FFFE.
  for (const char16_t* text : {u"\ufeffHello\ufffe", u"\ufffeHello"}) {
    s->SetText(1, text);
    SelectTab(0);
    DoubleClick(main->List(), 0, {[](HWND dialog) { Click(dialog, 1); }});
    EXPECT_EQ(std::u16string(s->GetText(1).Chars()), text);
  }
}

TEST_F(Win32EditorTest, RemoveStringRemovesTheRowClickedLastWhileItIsSelected) {
  OpenSample();
  SelectTab(0);
  Command(40051);
  Command(40051);
  ASSERT_EQ(Rows(main->List()), 4);  // 1004, 1003, 1002, 1000
  // A click on a row of the list, with Ctrl or Shift held (the list follows the mouse until the
  // button is released).
  auto click = [&](int row, WPARAM keys = 0) {
    RECT r = {LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(::SendMessageW(main->List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
    ::PostMessageW(main->List(), WM_LBUTTONUP, keys, at);
    ::SendMessageW(main->List(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    MSG message;
    while (::PeekMessageW(&message, main->List(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
      ::DispatchMessageW(&message);
    }
  };
  auto ids = [&] {
    wstring out;
    for (int row = 0; row < Rows(main->List()); ++row) out += Row(main->List(), row, 2) + L" ";
    return out;
  };
  click(1);
  click(1, MK_CONTROL);  // nothing selected
  Command(40052);
  EXPECT_EQ(ids(), L"|1004 |1003 BOOK_TITLE|1002 IDS_OK|1000 ");
  click(0);
  click(2, MK_CONTROL);
  click(2, MK_CONTROL);  // row 0 selected, the row clicked last not
  Command(40052);
  EXPECT_EQ(ids(), L"|1004 |1003 BOOK_TITLE|1002 IDS_OK|1000 ");
  click(1);
  click(3, MK_SHIFT);
  Command(40052);
  EXPECT_EQ(ids(), L"|1004 |1003 BOOK_TITLE|1002 ");
}

// The View menu: the translation column and the label of "Text", Only untranslated with its
// status text and F8, the filter bar, and the settings that a new window starts with.
TEST_F(Win32EditorTest, ViewMenuShowsTranslationsWhatIsLeftAndTheFilterBar) {
  TranslateDBClass::AddCategoryNamed("Menus");
  TDBStringClass* done = NewString(1000, "IDS_DONE", u"Hello", 1);
  ASSERT_TRUE(done->SetText(1, u"Hello") && TranslateDBClass::AddObject(done));
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1001, "IDS_LEFT", u"Bye", 2)));
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1002, "IDS_ALSO", u"Quit", 1)));
  ASSERT_TRUE(SaveDatabaseFile((folder / "three.tdb").c_str(), nullptr));
  Command(40021, {Choose(folder / "three.tdb")});
  SelectTab(0);
  HMENU bar = ::GetMenu(main->Window());
  const wstring search = L"Goto 40026|Find by ID 40031|Find by string 40030|Find by english string 40029";
  Command(40101);
  EXPECT_TRUE(::GetMenuState(bar, 40101, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(bar, 40100, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 1)),
            search + L"|Next untranslated\tF8 40111|Check translations 40113");
  EXPECT_EQ(Columns(main->List()),
            L"ID (string) 200|ID (numeric) 100|Sound ID 100|English text 450|Text (1) 450");
  EXPECT_EQ(Row(main->List(), 1, 5), L"IDS_DONE|1000||Hello|= Hello");

  wstring label;
  DoubleClick(
      main->List(), 1, {[&label](HWND dialog) {
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
          if (ClassOf(child) == L"Static" && Text(child).rfind(L"Text", 0) == 0 && ShowsWholeText(child))
            label = Text(child);
        }
        Fill({{1001, L"Hallo"}}, IDOK)(dialog);
      }});
  EXPECT_EQ(label, L"Text (1)");
  EXPECT_EQ(Row(main->List(), 1, 5), L"IDS_DONE|1000||Hello|Hallo");

  Command(40110);
  EXPECT_TRUE(::GetMenuState(bar, 40110, MF_BYCOMMAND) & MF_CHECKED);
  ASSERT_EQ(Rows(main->List()), 2);
  EXPECT_EQ(Row(main->List(), 0, 1) + L"|" + Row(main->List(), 1, 1), L"IDS_ALSO|IDS_LEFT");
  EXPECT_EQ(Text(main->StatusBar()), L"2 of 3 untranslated in language 1");
  Key(main->List(), VK_F8);
  Key(main->List(), VK_F8);
  EXPECT_EQ(main->SelectionMark(), 1);
  EXPECT_FALSE(Selected(main->List(), 0));
  {
    MainWindowClass started(::GetModuleHandleW(nullptr));  // with the settings kept
    started.SetSettingsKey(kSettingsKey);
    ASSERT_NE(started.Create(), nullptr);
    EXPECT_EQ(Columns(started.List()).substr(63), L"Text (1) 450");
    EXPECT_TRUE(::GetMenuState(::GetMenu(started.Window()), 40110, MF_BYCOMMAND) & MF_CHECKED);
  }
  Command(40110);
  EXPECT_EQ(Text(main->StatusBar()), L"");
  Command(40113);
  ASSERT_NE(main->FindResultsWindow(), nullptr);
  HWND results = ::GetDlgItem(main->FindResultsWindow(), kResultsList);
  EXPECT_EQ(Columns(results), L"ID (string) 200|ID (numeric) 100|English text 400|Problem 300");
  EXPECT_EQ(Row(results, 0, 4), L"IDS_LEFT|1001|Bye|no translation (empty)");
  ::DestroyWindow(main->FindResultsWindow());

  auto place = [this](HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, main->Window(), reinterpret_cast<POINT*>(&r), 2);
    return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
  };
  const std::vector<LONG> tabs = place(main->Tabs()), list = place(main->List());
  Command(40112);
  EXPECT_EQ(Text(main->FilterAllCategories()), L"All categories");
  const std::vector<LONG> edit = place(main->FilterEdit()), moved = place(main->List());
  EXPECT_EQ(edit[1] - 2, list[1]);
  EXPECT_EQ(moved, (std::vector<LONG>{list[0], edit[3] + 2, list[2], list[3]}));
  EXPECT_EQ(place(main->Tabs()), tabs);
  // A wider window moves the box: it must be painted anew at its place, not moved as pixels the
  // main window then paints over.
  RECT frame;
  ::GetWindowRect(main->Window(), &frame);
  ::UpdateWindow(main->Window());
  ::SetWindowPos(main->Window(), nullptr, 0, 0, frame.right - frame.left + 120, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(::GetUpdateRect(main->FilterAllCategories(), nullptr, FALSE));
  ::SetWindowPos(main->Window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
  ::SetWindowTextW(main->FilterEdit(), L"e");
  EXPECT_EQ(Rows(main->List()), 1);
  ::SendMessageW(main->FilterAllCategories(), BM_CLICK, 0, 0);
  EXPECT_EQ(Rows(main->List()), 2);
  Key(main->FilterEdit(), VK_ESCAPE);
  EXPECT_EQ(Text(main->FilterEdit()) + to_wstring(Rows(main->List())), L"2");
  Command(40112);
  EXPECT_FALSE(::IsWindowVisible(main->FilterEdit()));
  EXPECT_EQ(place(main->List()), list);
  Command(40100);
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 1)), search);
}

// Edit, Replace through the real dialog: its two radio groups, the grayed translation choice
// without a translation language, the check box, and the question's Cancel and OK.
TEST_F(Win32EditorTest, ReplaceAsksBeforeItChangesTheEnglishTexts) {
  OpenSample();
  SelectTab(0);
  wstring question;
  Command(40114, {[](HWND dialog) {
                    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, 1023)));
                    Fill({{1020, L"line"}, {1021, L"Row"}}, 1025)(dialog);
                    wstring checked;
                    for (int id : {1022, 1023, 1024, 1025, 1026})
                      checked += ::IsDlgButtonChecked(dialog, id) == BST_CHECKED ? L'1' : L'0';
                    EXPECT_EQ(checked, L"10010");
                    Click(dialog, 1006);
                  },
                  Press(IDCANCEL, &question)});
  EXPECT_NE(question.find(L"in the English texts of all strings.\n\n1 string changes (2 occurrences)."),
            wstring::npos);
  EXPECT_EQ(Row(main->List(), 0), L"BOOK_TITLE|1002|0|Line1\nLine2");
  Command(40114, {[](HWND dialog) {
                    Fill({{1020, L"Line"}}, 1026)(dialog);
                    Click(dialog, 1006);
                  },
                  Press(IDOK)});
  EXPECT_EQ(Row(main->List(), 0), L"BOOK_TITLE|1002|0|Row1\nRow2");
}

}  // namespace
}  // namespace ui
