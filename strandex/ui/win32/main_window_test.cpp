// The Win32 front end, in-process with the real window: start-up window, controls and menu; the
// file commands through the system's file dialogs; tabs, rows and cells of the virtual list;
// Goto, Find and the Find results window; Edit String; the Edit menu; each dialog's controls
// and positions in dialog units. Modal windows are answered from a timer in their own loops.
#include "strandex/ui/win32/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/testing/database_fixture.h"
#include "common/testing/temp_folder.h"
#include "strandex/ui/win32/debug_output.h"
#include "strandex/ui/win32/file_dialog.h"

namespace ui {
namespace {

using std::wstring;

wstring Text(HWND window) {
  wchar_t buffer[1024] = {0};
  ::GetWindowTextW(window, buffer, 1024);
  return buffer;
}

wstring ClassOf(HWND window) {
  wchar_t buffer[64] = {0};
  ::GetClassNameW(window, buffer, 64);
  return buffer;
}

wstring Widen(const std::string& utf8) {
  wstring out(utf8.size() + 1, L'\0');
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? n - 1 : 0);
  return out;
}

void Click(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  ASSERT_NE(button, nullptr) << id;
  ::SendMessageW(button, BM_CLICK, 0, 0);
}

// The texts of the statics of a message box.
wstring MessageText(HWND box) {
  wstring text;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static") text += Text(child);
  }
  return text;
}

// The window style without the bits the system adds (clipping of siblings, scroll bars).
LONG Style(HWND window) {
  return ::GetWindowLongW(window, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL);
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
  struct Search {
    HWND skip;
    HWND found;
  };
  static BOOL CALLBACK Candidate(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (window == search->skip || !::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
    if (ClassOf(window) != L"#32770") return TRUE;
    search->found = window;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto* self = reinterpret_cast<ModalScript*>(id);
    Search search{self->main.FindResultsWindow(), nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), Candidate, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    if (self->next < self->steps.size()) {
      self->waited = 0;
      Step step = self->steps[self->next++];
      step(search.found);
    } else if (++self->waited > 200) {
      ADD_FAILURE() << "a modal window without a step: "
                    << std::string(Text(search.found).begin(), Text(search.found).end());
      ::PostMessageW(search.found, WM_CLOSE, 0, 0);
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
    HWND name = ::GetDlgItem(dialog, 0x47c);
    if (!name) name = ::GetDlgItem(dialog, 0x480);
    ASSERT_NE(name, nullptr);
    if (initial) *initial = Text(name);
    ::SetWindowTextW(name, Widen(path).c_str());
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  };
}

ModalScript::Step Press(int id, wstring* text = nullptr) {
  return [id, text](HWND box) {
    if (text) *text = MessageText(box);
    ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  };
}

// One control of a dialog as the user sees it: class, ID, text and place in dialog units.
struct Placed {
  const wchar_t* Class;
  int ID;
  const wchar_t* Text;
  int X, Y, Width, Height;
};

// Checks the dialog's caption, size and controls (in creation order) against the literals.
void ExpectDialog(HWND dialog, const wchar_t* caption, int width, int height, std::vector<Placed> controls) {
  EXPECT_EQ(Text(dialog), caption);
  RECT size = {0, 0, width, height};
  ::MapDialogRect(dialog, &size);
  RECT client;
  ::GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, size.right) << "width of " << width;
  EXPECT_EQ(client.bottom, size.bottom) << "height of " << height;
  HWND child = ::GetWindow(dialog, GW_CHILD);
  for (const Placed& expected : controls) {
    ASSERT_NE(child, nullptr) << expected.ID;
    EXPECT_EQ(ClassOf(child), expected.Class) << expected.ID;
    EXPECT_EQ(static_cast<short>(::GetDlgCtrlID(child)), expected.ID);
    EXPECT_EQ(Text(child), expected.Text) << expected.ID;
    // The dialog manager converts the position and the size each on its own.
    RECT want = {expected.X, expected.Y, expected.Width, expected.Height};
    ::MapDialogRect(dialog, &want);
    RECT got;
    ::GetWindowRect(child, &got);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(got.left, want.left) << expected.ID;
    EXPECT_EQ(got.top, want.top) << expected.ID;
    EXPECT_EQ(got.right - got.left, want.right) << expected.ID;
    EXPECT_EQ(got.bottom - got.top, want.bottom) << expected.ID;
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more controls";
}

class Win32EditorTest : public DatabaseTest {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0x2F};
    ::InitCommonControlsEx(&controls);
    ASSERT_TRUE(MainWindowClass::RegisterWindowClass(::GetModuleHandleW(nullptr)));
  }
  static void TearDownTestSuite() { MainWindowClass::UnregisterWindowClass(::GetModuleHandleW(nullptr)); }

  void SetUp() override {
    DatabaseTest::SetUp();
    TranslateDBClass::Initialize();
    main = new MainWindowClass(::GetModuleHandleW(nullptr));
    ASSERT_NE(main->Create(), nullptr);
  }
  void TearDown() override {
    delete main;
    // The destroyed window posted WM_QUIT, which would end the next test's dialogs.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    DatabaseTest::TearDown();
  }

  void Command(int id, std::vector<ModalScript::Step> steps = {}) {
    ModalScript script(*main, std::move(steps));
    ::SendMessageW(main->Window(), WM_COMMAND, id, 0);
  }
  // The menu state bits of a command (MF_GRAYED is 1).
  UINT MenuState(int id) { return ::GetMenuState(::GetMenu(main->Window()), id, MF_BYCOMMAND); }
  std::string FileItems() {
    std::string states;
    for (int id : {40023, 40024, 40046, 40055}) states += MenuState(id) & MF_GRAYED ? '0' : '1';
    return states;
  }

  std::vector<wstring> Tabs() {
    std::vector<wstring> names;
    int count = static_cast<int>(::SendMessageW(main->Tabs(), TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t name[64] = {0};
      TCITEMW item = {};
      item.mask = TCIF_TEXT | TCIF_PARAM;
      item.pszText = name;
      item.cchTextMax = 64;
      ::SendMessageW(main->Tabs(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      names.push_back(wstring(name) + L"/" + std::to_wstring(item.lParam));
    }
    return names;
  }
  int SelectedTab() { return static_cast<int>(::SendMessageW(main->Tabs(), TCM_GETCURSEL, 0, 0)); }
  void SelectTab(int tab, std::vector<ModalScript::Step> steps = {}) {
    ModalScript script(*main, std::move(steps));
    ::SendMessageW(main->Tabs(), TCM_SETCURSEL, tab, 0);
    NMHDR header = {main->Tabs(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(main->Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }
  void DoubleClick(HWND list, HWND parent, int row, std::vector<ModalScript::Step> steps = {}) {
    ModalScript script(*main, std::move(steps));
    NMITEMACTIVATE activate = {};
    activate.hdr = {list, static_cast<UINT_PTR>(::GetDlgCtrlID(list)), static_cast<UINT>(NM_DBLCLK)};
    activate.iItem = row;
    ::SendMessageW(parent, WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
  }

  static int Rows(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
  static wstring Cell(HWND list, int row, int column) {
    wchar_t text[300] = {0};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 300;
    ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  static wstring Row(HWND list, int row, int columns = 4) {
    wstring cells;
    for (int column = 0; column < columns; ++column) cells += (column ? L"|" : L"") + Cell(list, row, column);
    return cells;
  }
  static bool Selected(HWND list, int row) {
    return ::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
  }

  void Add(int id, const char* id_string, const char16_t* text, int category = 1, int sound = -1) {
    TDBStringClass* s = NewString(id, id_string, text, category);
    s->SetSoundID(sound);
    ASSERT_TRUE(TranslateDBClass::AddObject(s));
  }
  // A database file with two categories: Default (1000 IDS_OK, 1002 BOOK_TITLE) and Menus
  // (1001 IDS_QUIT, 1005 IDS_NEW).
  std::string SampleFile() {
    TranslateDBClass::AddCategoryNamed("Menus");
    Add(1000, "IDS_OK", u"OK", 1, 7);
    Add(1001, "IDS_QUIT", u"Quit", 2);
    Add(1002, "BOOK_TITLE", u"Line1\nLine2", 1, 0);
    Add(1005, "IDS_NEW", u"New game", 2);
    std::string path = folder / "sample.tdb";
    NarrowStringClass error;
    EXPECT_TRUE(SaveDatabaseFile(path.c_str(), &error)) << error.Chars();
    return path;
  }
  void OpenSample() {
    std::string path = SampleFile();
    Command(40021, {Choose(path)});
    ASSERT_EQ(Tabs(), (std::vector<wstring>{L"Default/1", L"Menus/2"}));
  }

  TempFolder folder;
  MainWindowClass* main = nullptr;
};

TEST_F(Win32EditorTest, StartsWithTheWindowControlsAndMenuOfTheEditor) {
  HWND window = main->Window();
  EXPECT_EQ(ClassOf(window), L"TDB_WND");
  EXPECT_EQ(Text(window), L"Advanced string editor");
  RECT frame;
  ::GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 800);
  EXPECT_EQ(frame.bottom - frame.top, 600);
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & 0x10CF0000, 0x10CF0000);

  EXPECT_EQ(ClassOf(main->Tabs()), L"SysTabControl32");
  EXPECT_EQ(Style(main->Tabs()), 0x50000108);
  EXPECT_EQ(ClassOf(main->List()), L"SysListView32");
  EXPECT_EQ(Style(main->List()), 0x50001009);
  EXPECT_EQ(::SendMessageW(main->List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
  EXPECT_EQ(ClassOf(main->StatusBar()), L"msctls_statusbar32");
  EXPECT_EQ(::GetWindowLongW(main->StatusBar(), GWL_STYLE) & 0xF0000000, 0x50000000);
  const wchar_t* captions[] = {L"ID (string)", L"ID (numeric)", L"Sound ID", L"English text"};
  const int widths[] = {200, 100, 100, 450};
  for (int i = 0; i < 4; ++i) {
    wchar_t caption[32] = {0};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption;
    column.cchTextMax = 32;
    ASSERT_TRUE(::SendMessageW(main->List(), LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(caption, captions[i]);
    EXPECT_EQ(column.cx, widths[i]);
  }
  EXPECT_EQ(Tabs(), (std::vector<wstring>{L"Default/1"}));
  EXPECT_EQ(Rows(main->List()), 0);

  // Menu: three popups, each item's ID and state.
  HMENU bar = ::GetMenu(window);
  ASSERT_EQ(::GetMenuItemCount(bar), 3);
  struct Item {
    int Popup, Position, ID;
    const wchar_t* Text;
  };
  const Item items[] = {{0, 0, 40020, L"New"},
                        {0, 1, 40021, L"Open"},
                        {0, 2, 40038, L"Close"},
                        {0, 3, 40023, L"Save"},
                        {0, 4, 40024, L"Save as"},
                        {0, 5, 40046, L"Export C Header"},
                        {0, 6, 40056, L"Import Table"},
                        {0, 7, 40055, L"Export Table"},
                        {0, 8, 0, L""},
                        {0, 9, 40025, L"Exit"},
                        {1, 0, 40026, L"Goto"},
                        {1, 1, 40031, L"Find by ID"},
                        {1, 2, 40030, L"Find by string"},
                        {1, 3, 40029, L"Find by english string"},
                        {2, 0, 40051, L"Add String"},
                        {2, 1, 40052, L"Remove String"},
                        {2, 2, 40053, L"Add Category"},
                        {2, 3, 40054, L"Remove Category"}};
  const wchar_t* popups[] = {L"File", L"Search", L"Edit"};
  const int counts[] = {10, 4, 4};
  for (int p = 0; p < 3; ++p) {
    wchar_t name[32] = {0};
    ::GetMenuStringW(bar, p, name, 32, MF_BYPOSITION);
    EXPECT_STREQ(name, popups[p]);
    EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(bar, p)), counts[p]);
  }
  for (const Item& item : items) {
    HMENU popup = ::GetSubMenu(bar, item.Popup);
    EXPECT_EQ(static_cast<int>(::GetMenuItemID(popup, item.Position)), item.ID);
    wchar_t name[64] = {0};
    ::GetMenuStringW(popup, item.Position, name, 64, MF_BYPOSITION);
    EXPECT_STREQ(name, item.Text);
  }
  EXPECT_EQ(FileItems(), "0000");
  EXPECT_EQ(MenuState(40020) & MF_GRAYED, 0u);

  // Layout: the tab row on top, the list down to the status bar.
  RECT client, tabs, list, status;
  ::GetClientRect(window, &client);
  auto placed = [window](HWND control, RECT& rect) {
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  };
  placed(main->Tabs(), tabs);
  placed(main->List(), list);
  placed(main->StatusBar(), status);
  EXPECT_EQ(tabs.left, 0);
  EXPECT_EQ(tabs.top, 0);
  EXPECT_EQ(tabs.right, client.right);
  EXPECT_GT(tabs.bottom, 10);
  EXPECT_EQ(list.top, tabs.bottom);
  EXPECT_EQ(list.right, client.right);
  EXPECT_EQ(list.bottom, status.top);
  EXPECT_EQ(status.bottom, client.bottom);

  // A window smaller than the tab strip and the status bar still lays out.
  ::SetWindowPos(window, nullptr, 0, 0, 120, 40, SWP_NOMOVE | SWP_NOZORDER);
  ::GetClientRect(main->List(), &list);
  EXPECT_EQ(list.bottom, 0);

  // The close box destroys the window and ends the message loop.
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(window));
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(Win32EditorTest, FileDialogsGetTheFilterFlagsNameAndExtensionOfTheirCommand) {
  FileDialogSetup setup;
  PrepareFileDialog({false, u"String table", u"*.tdb", "", nullptr}, main->Window(), setup);
  EXPECT_EQ(wstring(setup.Dialog.lpstrFilter, 22), wstring(L"String table\0*.tdb\0\0", 21) + L'\0');
  EXPECT_EQ(setup.Dialog.Flags, 0x1000u);
  EXPECT_EQ(setup.Dialog.nFilterIndex, 1u);
  EXPECT_EQ(setup.Dialog.nMaxFile, 260u);
  EXPECT_EQ(setup.Dialog.hwndOwner, main->Window());
  EXPECT_EQ(setup.Dialog.lpstrDefExt, nullptr);
  EXPECT_EQ(setup.Dialog.lpstrFileTitle, nullptr);
  EXPECT_EQ(setup.Dialog.lpstrInitialDir, nullptr);
  EXPECT_EQ(setup.Dialog.lpstrTitle, nullptr);
  EXPECT_EQ(setup.Dialog.lpfnHook, nullptr);
  EXPECT_STREQ(setup.File, L"");
  PrepareFileDialog({true, u"C Header Files (*.h)", u"*.h", "string_ids.h", u"h"}, main->Window(), setup);
  EXPECT_EQ(setup.Dialog.Flags, 2u);
  EXPECT_STREQ(setup.Dialog.lpstrDefExt, L"h");
  EXPECT_STREQ(setup.File, L"string_ids.h");
  EXPECT_EQ(SystemErrorLine(2).Chars()[0], u'E');
  EXPECT_EQ(wstring(reinterpret_cast<const wchar_t*>(SystemErrorLine(2).Chars())).substr(0, 9), L"ERROR 2: ");
}

TEST_F(Win32EditorTest, OpenSaveAndExportGoThroughTheCommonDialogs) {
  OpenSample();
  EXPECT_EQ(Text(main->Window()), L"Advanced string editor - sample.tdb");
  EXPECT_EQ(FileItems(), "1111");
  EXPECT_EQ(Rows(main->List()), 0);

  // Save as, with the default extension added to a bare name, then Save writes there too.
  wstring initial;
  Command(40024, {Choose(folder / "copy", &initial)});
  EXPECT_NE(initial.find(L"sample.tdb"), wstring::npos);
  EXPECT_EQ(Text(main->Window()), L"Advanced string editor - copy.tdb");
  std::string saved = ReadBytes(folder / "copy.tdb");
  EXPECT_EQ(saved, ReadBytes(folder / "sample.tdb"));

  // Export C Header starts with its name; an existing file is overwritten only when confirmed.
  Command(40046, {Choose(folder / "ids.h", &initial)});
  EXPECT_EQ(initial, L"string_ids.h");
  EXPECT_NE(ReadBytes(folder / "ids.h").find("IDS_QUIT"), std::string::npos);
  WriteBytes(folder / "ids.h", "keep");
  wstring question;
  Command(40046, {Choose(folder / "ids.h"), Press(IDNO, &question), Press(IDCANCEL)});
  EXPECT_EQ(ReadBytes(folder / "ids.h"), "keep");
  EXPECT_FALSE(question.empty());

  Command(40055, {Choose(folder / "table", &initial)});
  EXPECT_EQ(initial, L"string_table.txt");
  EXPECT_NE(ReadBytes(folder / "table.txt").find("IDS_NEW"), std::string::npos);

  // A file that is no database: a message names it.
  WriteBytes(folder / "bad.tdb", "no database");
  wstring message;
  Command(40021, {Choose(folder / "bad.tdb"), Press(IDOK, &message)});
  EXPECT_NE(message.find(L"bad.tdb"), wstring::npos);
  EXPECT_EQ(Text(main->Window()), L"Advanced string editor - bad.tdb");

  // Close is New: one tab, the four items grayed, the plain title.
  Command(40038);
  EXPECT_EQ(Tabs(), (std::vector<wstring>{L"Default/1"}));
  EXPECT_EQ(FileItems(), "0000");
  EXPECT_EQ(Text(main->Window()), L"Advanced string editor");
}

TEST_F(Win32EditorTest, TabsFillTheVirtualListHighestIDFirst) {
  OpenSample();
  SelectTab(0);
  ASSERT_EQ(Rows(main->List()), 2);
  EXPECT_EQ(Row(main->List(), 0), L"BOOK_TITLE|1002|0|Line1\nLine2");
  EXPECT_EQ(Row(main->List(), 1), L"IDS_OK|1000|7|OK");
  SelectTab(1);
  ASSERT_EQ(Rows(main->List()), 2);
  EXPECT_EQ(Row(main->List(), 0), L"IDS_NEW|1005||New game");
  EXPECT_EQ(Row(main->List(), 1), L"IDS_QUIT|1001||Quit");

  // A category of 100,000 strings shows at once.
  Command(40020);
  for (int i = 0; i < 100000; ++i) {
    TDBStringClass* s = new TDBStringClass;
    s->SetID(1000 + i);
    s->SetCategoryID(1);
    ASSERT_TRUE(TranslateDBClass::AddObject(s));
  }
  SelectTab(0);
  EXPECT_EQ(Rows(main->List()), 100000);
  EXPECT_EQ(Cell(main->List(), 0, 1), L"100999");
  EXPECT_EQ(Cell(main->List(), 99999, 1), L"1000");
}

TEST_F(Win32EditorTest, GotoAndFindShowTheStringAndListTheHits) {
  OpenSample();
  // Goto by ID: "ID" is checked at first; an empty number keeps the dialog open.
  bool id_checked = false;
  Command(40026, {[&](HWND dialog) {
            ExpectDialog(dialog, L"Goto by ID", 160, 41,
                         {{L"Edit", 1004, L"", 48, 6, 60, 12},
                          {L"Static", -1, L"ID (numeric)", 6, 6, 42, 12},
                          {L"Button", 1007, L"Cancel", 60, 24, 48, 12},
                          {L"Button", 1006, L"OK", 6, 24, 48, 12},
                          {L"Button", 1013, L"Index", 120, 24, 35, 10},
                          {L"Button", 1014, L"ID", 120, 12, 23, 10},
                          {L"Button", -1, L"", 114, 6, 42, 30}});
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, 1004));
            id_checked = ::IsDlgButtonChecked(dialog, 1014) == BST_CHECKED;
            Click(dialog, 1006);
            EXPECT_TRUE(::IsWindowVisible(dialog));
            ::SetDlgItemTextW(dialog, 1004, L"1005");
            Click(dialog, 1006);
          }});
  EXPECT_TRUE(id_checked);
  EXPECT_EQ(SelectedTab(), 1);
  ASSERT_EQ(Rows(main->List()), 2);
  EXPECT_TRUE(Selected(main->List(), 0));
  EXPECT_EQ(::SendMessageW(main->List(), LVM_GETSELECTIONMARK, 0, 0), 0);

  // By index; the mode chosen last is checked the next time.
  Command(40026, {[](HWND dialog) {
            Click(dialog, 1013);
            ::SetDlgItemTextW(dialog, 1004, L"2");
            Click(dialog, 1006);
          }});
  EXPECT_EQ(SelectedTab(), 0);
  EXPECT_TRUE(Selected(main->List(), 0));
  bool index_checked = false;
  Command(40026, {[&](HWND dialog) {
            index_checked = ::IsDlgButtonChecked(dialog, 1013) == BST_CHECKED;
            Click(dialog, 1007);
          }});
  EXPECT_TRUE(index_checked);

  // Find by ID "ok": IDS_OK and BOOK_TITLE, in slot order, in the Find results window.
  Command(40031, {[](HWND dialog) {
            ExpectDialog(dialog, L"Find by ID", 142, 41,
                         {{L"Edit", 1005, L"", 48, 6, 90, 12},
                          {L"Static", -1, L"ID (string)", 6, 6, 42, 12},
                          {L"Button", 1007, L"Cancel", 60, 24, 48, 12},
                          {L"Button", 1006, L"OK", 6, 24, 48, 12}});
            ::SetDlgItemTextW(dialog, 1005, L"ok");
            Click(dialog, 1006);
          }});
  HWND results = main->FindResultsWindow();
  ASSERT_NE(results, nullptr);
  ExpectDialog(results, L"Find results", 334, 191,
               {{L"SysListView32", 1011, L"", 6, 6, 324, 156},
                {L"Button", 1009, L"Clear", 6, 168, 60, 18},
                {L"Button", 1010, L"Close", 72, 168, 60, 18}});
  HWND hits = ::GetDlgItem(results, 1011);
  EXPECT_EQ(Style(hits), 0x50011805);
  EXPECT_EQ(::SendMessageW(hits, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
  EXPECT_EQ(::SendMessageW(hits, LVM_GETCOLUMNWIDTH, 2, 0), 600);
  ASSERT_EQ(Rows(hits), 2);
  EXPECT_EQ(Row(hits, 0, 3), L"IDS_OK|1000|OK");
  EXPECT_EQ(Row(hits, 1, 3), L"BOOK_TITLE|1002|Line1\nLine2");

  // A double-click on a hit shows its string.
  SelectTab(1);
  DoubleClick(hits, results, 1);
  EXPECT_EQ(SelectedTab(), 0);
  EXPECT_TRUE(Selected(main->List(), 0));

  // A second search replaces the rows; an empty English search lists every string with a text.
  Command(40029, {[](HWND dialog) {
            ExpectDialog(dialog, L"Find by english string", 148, 42,
                         {{L"Edit", 1005, L"", 54, 6, 90, 12},
                          {L"Static", -1, L"Search string", 6, 6, 42, 12},
                          {L"Button", 1007, L"Cancel", 60, 24, 48, 12},
                          {L"Button", 1006, L"OK", 6, 24, 48, 12}});
            Click(dialog, 1006);
          }});
  EXPECT_EQ(main->FindResultsWindow(), results);
  EXPECT_EQ(Rows(hits), 4);
  Command(40030, {Fill({{1005, L"QUIT"}}, 1006)});
  ASSERT_EQ(Rows(hits), 1);
  EXPECT_EQ(Cell(hits, 0, 1), L"1001");

  Click(results, 1009);
  EXPECT_EQ(Rows(hits), 0);
  EXPECT_TRUE(::IsWindow(results));
  Click(results, 1010);
  EXPECT_FALSE(::IsWindow(results));
  EXPECT_EQ(main->FindResultsWindow(), nullptr);
  // Closed with the close box, the next hit opens a fresh window.
  Command(40031, {Fill({{1005, L"IDS"}}, 1006)});
  ASSERT_NE(main->FindResultsWindow(), nullptr);
  EXPECT_EQ(Rows(::GetDlgItem(main->FindResultsWindow(), 1011)), 3);
  ::SendMessageW(main->FindResultsWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(main->FindResultsWindow(), nullptr);
  EXPECT_FALSE(main->Editor().Results().IsOpen());
}

TEST_F(Win32EditorTest, EditStringShowsTheFieldsAndWritesThemBack) {
  OpenSample();
  SelectTab(0);
  wstring refusal;
  DoubleClick(main->List(), main->Window(), 0,
              {[&](HWND dialog) {
                 ExpectDialog(dialog, L"Edit String", 346, 143,
                              {{L"Static", -1, L"ID", 6, 6, 36, 12},
                               {L"Edit", 1012, L"BOOK_TITLE", 42, 6, 216, 12},
                               {L"Edit", 1016, L"1002", 264, 6, 78, 12},
                               {L"Static", -1, L"Animation", 6, 24, 36, 12},
                               {L"Edit", 1013, L"", 42, 24, 300, 12},
                               {L"Static", -1, L"Sound", 6, 42, 36, 12},
                               {L"Edit", 1014, L"0", 42, 42, 300, 12},
                               {L"Static", -1, L"Eng. string", 6, 60, 36, 12},
                               {L"Edit", 1015, L"Line1\\nLine2", 42, 60, 300, 12},
                               {L"Static", -1, L"Text", 6, 78, 36, 12},
                               {L"Edit", 1001, L"Line1\\nLine2", 42, 78, 300, 42},
                               {L"Button", 1, L"OK", 6, 126, 50, 14},
                               {L"Button", 2, L"Cancel", 60, 126, 50, 14}});
                 EXPECT_EQ(::GetWindowLongW(::GetDlgItem(dialog, 1001), GWL_STYLE), 0x50211044);
                 EXPECT_EQ(Style(dialog) & 0xFFFFF000, 0x90C80000);
                 // A numeric ID that another string has is refused, and the dialog stays.
                 ::SetDlgItemTextW(dialog, 1016, L"1001");
                 Click(dialog, 1);
                 EXPECT_TRUE(::IsWindowVisible(dialog));
                 ::SetDlgItemTextW(dialog, 1016, L"1002");
                 ::SetDlgItemTextW(dialog, 1014, L"-1");
                 ::SetDlgItemTextW(dialog, 1001, L"One\r\nTwo\\tend");
                 Click(dialog, 1);
               },
               Press(IDOK, &refusal)});
  EXPECT_NE(refusal.find(L"1001"), wstring::npos);
  ASSERT_EQ(Rows(main->List()), 2);
  EXPECT_EQ(Row(main->List(), 0), L"BOOK_TITLE|1002||One\r\nTwo\tend");

  // Cancel and the close box change nothing.
  DoubleClick(main->List(), main->Window(), 1, {Fill({{1012, L"CHANGED"}}, 2)});
  DoubleClick(main->List(), main->Window(), 1, {[](HWND dialog) {
                ::SetDlgItemTextW(dialog, 1012, L"CHANGED");
                ::SendMessageW(dialog, WM_CLOSE, 0, 0);
              }});
  EXPECT_EQ(Cell(main->List(), 1, 0), L"IDS_OK");
}

TEST_F(Win32EditorTest, EditMenuAddsAndRemovesStringsAndCategories) {
  OpenSample();
  SelectTab(0);
  // Remove String with no row selected does nothing; with a row it removes that one.
  Command(40052);
  EXPECT_EQ(Rows(main->List()), 2);
  LVITEMW item = {};
  item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(main->List(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(main->List(), LVM_SETSELECTIONMARK, 0, 1);
  Command(40052);
  ASSERT_EQ(Rows(main->List()), 1);
  EXPECT_EQ(Cell(main->List(), 0, 1), L"1002");
  // Add String reuses the lowest free ID.
  Command(40051);
  ASSERT_EQ(Rows(main->List()), 2);
  EXPECT_EQ(Row(main->List(), 1), L"|1000||");

  // Add Category: the dialog, then a new last tab that is not selected; the close box adds none.
  Command(40053, {[](HWND dialog) {
            ExpectDialog(dialog, L"Enter New Category Name", 148, 42,
                         {{L"Edit", 1015, L"", 7, 6, 134, 12}, {L"Button", 1006, L"OK", 50, 23, 48, 12}});
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, 1015));
            ::SetDlgItemTextW(dialog, 1015, L"Items");
            Click(dialog, 1006);
          }});
  EXPECT_EQ(Tabs(), (std::vector<wstring>{L"Default/1", L"Menus/2", L"Items/3"}));
  EXPECT_EQ(SelectedTab(), 0);
  Command(40053, {[](HWND dialog) {
            ::SetDlgItemTextW(dialog, 1015, L"Never");
            ::SendMessageW(dialog, WM_CLOSE, 0, 0);
          }});
  EXPECT_EQ(Tabs().size(), 3u);

  // Remove Category keeps the strings of the category it removes.
  SelectTab(1);
  Command(40054);
  EXPECT_EQ(Tabs(), (std::vector<wstring>{L"Default/1", L"Items/3"}));
  SelectTab(0);
  EXPECT_EQ(Rows(main->List()), 4);
}

}  // namespace
}  // namespace ui
