// Runs a scripted use of the editor through its main window, for the comparison of the files the
// Windows and the Linux editors write (scripts/compare-windows.sh) and for timing the editor as a
// whole process (bench/editor_categories_bench.sh). The steps:
//
//   new, open=PATH, import=PATH, save, saveas=PATH, header=PATH, table=PATH, filterbar,
//   untranslated, check: the menu command, its file dialog answered with PATH;
//   language=K: View, Translation language K (0 for None);
//   show: paints the whole window at once, as a screen update would, and prints the tab count;
//   click: clicks the selected tab with the mouse and prints the number of rows the list shows;
//   select=ROW: selects a row of the list, as Goto or Find do;
//   edit=TEXT: Return on the list's selected row, and in Edit String "Text" set to TEXT, OK;
//   filter=TEXT: types TEXT in the filter bar; escape: Escape there; all: clicks "All categories";
//   f8: F8 in the list; hit=ROW: Return on that row of the Find results;
//   rows: prints the status text, the filter's text, the selected tab and row, then the list's
//   header and rows, and those of the Find results while that window is open.
//
// Built with the Win32 front end on Windows and the Qt front end elsewhere (offscreen). It keeps
// the View menu's settings apart from the user's, and starts each run without any.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/string_class.h"
#include "strandex/ui/resources.h"
#include "tdb/translate_db.h"

#ifdef _WIN32
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include "strandex/ui/win32/main_window.h"
#else
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "strandex/ui/qt/main_window.h"
#include "strandex/ui/qt/tab_row.h"
#include "strandex/ui/qt/template_dialog.h"
#endif

namespace {

// The steps that are no menu command; no menu command has these IDs.
enum Special : int {
  kShow,
  kClick,
  kLanguage,
  kSelect,
  kEdit,
  kFilter,
  kEscape,
  kAll,
  kF8,
  kHit,
  kRows,
};

struct Step {
  const char* Name;
  int Command;
  bool HasArgument;
};

const Step kSteps[] = {
    {"new", ui::kCmdNew, false},
    {"open", ui::kCmdOpen, true},
    {"import", ui::kCmdImportTable, true},
    {"save", ui::kCmdSave, false},
    {"saveas", ui::kCmdSaveAs, true},
    {"header", ui::kCmdExportHeader, true},
    {"table", ui::kCmdExportTable, true},
    {"filterbar", ui::kCmdFilterBar, false},
    {"untranslated", ui::kCmdOnlyUntranslated, false},
    {"check", ui::kCmdCheckTranslations, false},
    {"show", kShow, false},
    {"click", kClick, false},
    {"language", kLanguage, true},
    {"select", kSelect, true},
    {"edit", kEdit, true},
    {"filter", kFilter, true},
    {"escape", kEscape, false},
    {"all", kAll, false},
    {"f8", kF8, false},
    {"hit", kHit, true},
    {"rows", kRows, false},
};

// Runs every step; Window has SetFileChooser, and send(command, argument) runs one step.
template <typename Window, typename Send>
int RunSteps(int argc, char** argv, Window& window, Send send) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const std::string name = argument.substr(0, argument.find('='));
    const std::string value =
        argument.find('=') == std::string::npos ? "" : argument.substr(argument.find('=') + 1);
    const Step* step = nullptr;
    for (const Step& candidate : kSteps) {
      if (name == candidate.Name) step = &candidate;
    }
    if (!step || step->HasArgument == value.empty()) {
      std::fprintf(stderr, "editor_script: unknown step %s\n", argv[i]);
      return 2;
    }
    window.SetFileChooser([value](const ui::FileDialogRequest&, NarrowStringClass& chosen) {
      chosen = value.c_str();
      return true;
    });
    if (step->Command == kLanguage) {
      send(ui::kCmdTranslationNone + std::atoi(value.c_str()), value);
    } else {
      send(step->Command, value);
    }
    std::fflush(stdout);
  }
  return 0;
}

// What the "rows" step prints before the list.
void PrintState(const std::string& status, const std::string& filter, int tab, int mark) {
  std::printf("status: %s\nfilter: %s\ntab %d, row %d\n", status.c_str(), filter.c_str(), tab, mark);
}

#ifdef _WIN32
std::string Utf8(const wchar_t* text) {
  char out[8192] = {0};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  wchar_t out[4096] = {0};
  ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out, 4095);
  return out;
}

// Prints the header and every row of a list view, the cells separated by "|".
void PrintList(HWND list) {
  const int columns = static_cast<int>(::SendMessageW(
      reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = -1; row < rows; ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      wchar_t text[2048] = {0};
      if (row < 0) {
        LVCOLUMNW header = {LVCF_TEXT, 0, 0, text, 2048, 0, 0, 0, 0, 0, 0};
        ::SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
      } else {
        LVITEMW item = {0, 0, column, 0, 0, text, 2048, 0, 0, 0, 0, 0, nullptr, nullptr, 0};
        ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
      }
      line += (column ? "|" : "") + Utf8(text);
    }
    std::printf("%s\n", line.c_str());
  }
}

// What Edit String gets: its "Text", then OK. A timer finds the dialog inside its message loop.
struct EditAnswer {
  ui::MainWindowClass& Window;
  std::wstring Text;

  static void CALLBACK Tick(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    auto* answer = reinterpret_cast<EditAnswer*>(id);
    HWND dialog = answer->Window.RunningDialog();
    if (!dialog) return;
    ::KillTimer(hwnd, id);
    ::SetDlgItemTextW(dialog, ui::kEditText, answer->Text.c_str());
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
};

void Key(HWND to, WPARAM key) { ::SendMessageW(to, WM_KEYDOWN, key, 1); }
#else
// Prints the header and every row of a list, the cells separated by "|".
void PrintList(const QTreeView* list) {
  const QAbstractItemModel* model = list->model();
  for (int row = -1; row < model->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
      cells << (row < 0 ? model->headerData(column, Qt::Horizontal) : model->index(row, column).data())
                   .toString();
    std::printf("%s\n", cells.join(u'|').toUtf8().constData());
  }
}
#endif

}  // namespace

int main(int argc, char** argv) {
  TranslateDBClass::Initialize();
#ifdef _WIN32
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0x2F};
  ::InitCommonControlsEx(&controls);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  ui::MainWindowClass::RegisterWindowClass(instance);
  ui::MainWindowClass window(instance);
  constexpr const wchar_t* kSettingsKey = L"Software\\strandex-script";
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  window.SetSettingsKey(kSettingsKey);
  if (!window.Create()) {
    std::fprintf(stderr, "editor_script: the window could not be created\n");
    return 1;
  }
  return RunSteps(argc, argv, window, [&window](int command, const std::string& argument) {
    HWND list = window.List();
    HWND results =
        window.FindResultsWindow() ? ::GetDlgItem(window.FindResultsWindow(), ui::kResultsList) : nullptr;
    switch (command) {
      case kClick: {
        RECT r;
        int item = static_cast<int>(::SendMessageW(window.Tabs(), TCM_GETCURSEL, 0, 0));
        ::SendMessageW(window.Tabs(), TCM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageW(window.Tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(window.Tabs(), WM_LBUTTONUP, 0, at);
        std::printf("%d rows\n", static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
        return;
      }
      case kShow:
        ::RedrawWindow(window.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        std::printf("%d tabs\n", static_cast<int>(::SendMessageW(window.Tabs(), TCM_GETITEMCOUNT, 0, 0)));
        return;
      case kSelect:
        window.SelectRow(std::atoi(argument.c_str()));
        return;
      case kEdit: {
        EditAnswer answer{window, Wide(argument)};
        ::SetTimer(window.Window(), reinterpret_cast<UINT_PTR>(&answer), 10, EditAnswer::Tick);
        Key(list, VK_RETURN);
        ::KillTimer(window.Window(), reinterpret_cast<UINT_PTR>(&answer));
        return;
      }
      case kFilter:
        ::SetFocus(window.FilterEdit());
        for (wchar_t c : Wide(argument)) ::SendMessageW(window.FilterEdit(), WM_CHAR, c, 1);
        return;
      case kEscape:
        ::SetFocus(window.FilterEdit());
        Key(window.FilterEdit(), VK_ESCAPE);
        return;
      case kAll:
        ::SendMessageW(window.FilterAllCategories(), BM_CLICK, 0, 0);
        return;
      case kF8:
        Key(list, VK_F8);
        return;
      case kHit: {
        if (!results) return;
        LVITEMW item = {};
        item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(results, LVM_SETITEMSTATE, std::atoi(argument.c_str()),
                       reinterpret_cast<LPARAM>(&item));
        Key(results, VK_RETURN);
        return;
      }
      case kRows: {
        wchar_t status[512] = {0}, filter[512] = {0};
        ::GetWindowTextW(window.StatusBar(), status, 512);
        ::GetWindowTextW(window.FilterEdit(), filter, 512);
        PrintState(Utf8(status), Utf8(filter),
                   static_cast<int>(::SendMessageW(window.Tabs(), TCM_GETCURSEL, 0, 0)),
                   window.SelectionMark());
        PrintList(list);
        if (results) PrintList(results);
        return;
      }
      default:
        ::SendMessageW(window.Window(), WM_COMMAND, command, 0);
    }
  });
#else
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);
  QSettings(QStringLiteral("strandex"), QStringLiteral("strandex")).clear();
  QApplication app(argc, argv);
  ui::MainWindow window;
  window.show();
  // Shortcuts (F8, Escape in the filter bar) take keys only in the active window.
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window))
    std::fprintf(stderr, "editor_script: the window is not active\n");
  return RunSteps(argc, argv, window, [&window](int command, const std::string& argument) {
    QTreeView* list = window.List();
    QTreeView* results = window.FindResults() ? window.FindResults()->List() : nullptr;
    switch (command) {
      case kClick: {
        const QPointF at = window.Tabs()->tabRect(window.Tabs()->currentIndex()).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
          QMouseEvent event(type, at, window.Tabs()->mapToGlobal(at), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
          QApplication::sendEvent(window.Tabs(), &event);
        }
        std::printf("%d rows\n", list->model()->rowCount());
        return;
      }
      case kShow:
        QApplication::processEvents();
        // Renders every widget of the window, tab row and list included.
        window.grab();
        std::printf("%d tabs\n", window.Tabs()->count());
        return;
      case kSelect:
        window.SelectRow(std::atoi(argument.c_str()));
        return;
      case kEdit: {
        const QString text = QString::fromStdString(argument);
        QTimer::singleShot(0, [text] {
          QWidget* dialog = QApplication::activeModalWidget();
          if (!dialog) return;
          auto* edit = static_cast<QPlainTextEdit*>(ui::FindControl(dialog, ui::kEditText));
          edit->selectAll();
          QTest::keyClicks(edit, text);
          static_cast<QAbstractButton*>(ui::FindControl(dialog, ui::kIDOk))->click();
        });
        QTest::keyClick(list, Qt::Key_Return);
        // The main window is active again once the system has told it.
        if (!QTest::qWaitForWindowActive(&window))
          std::fprintf(stderr, "editor_script: the window is not active\n");
        return;
      }
      case kFilter:
        // The user clicks into the field first: its Escape works while it has the focus.
        window.FilterEdit()->setFocus();
        QTest::keyClicks(window.FilterEdit(), QString::fromStdString(argument));
        return;
      case kEscape:
        window.FilterEdit()->setFocus();
        QTest::keyClick(window.FilterEdit(), Qt::Key_Escape);
        return;
      case kAll:
        window.FilterAllCategories()->click();
        return;
      case kF8:
        QTest::keyClick(list, Qt::Key_F8);
        return;
      case kHit:
        if (!results) return;
        results->setCurrentIndex(results->model()->index(std::atoi(argument.c_str()), 0));
        QTest::keyClick(results, Qt::Key_Return);
        return;
      case kRows:
        PrintState(window.statusBar()->currentMessage().toStdString(),
                   window.FilterEdit()->text().toStdString(), window.Tabs()->currentIndex(),
                   window.SelectionMark());
        PrintList(list);
        if (results) PrintList(results);
        return;
      default:
        window.Action(command)->trigger();
    }
  });
#endif
}
