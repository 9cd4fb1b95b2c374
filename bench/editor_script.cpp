// Runs a scripted use of the editor through its main window, for the comparison of the files the
// Windows and the Linux editors write (scripts/compare-windows.sh) and for timing the editor as a
// whole process (bench/editor_categories_bench.sh). Each step but "show" and "click" is a menu
// command sent to the window, the file dialogs answered with the step's path; "show" paints the
// whole window at once, as a screen update would, and prints the number of tabs; "click" clicks
// the selected tab with the mouse and prints the number of rows the list then shows:
//
//   editor_script STEP...   STEP: new | open=PATH | import=PATH | save | saveas=PATH |
//                                 header=PATH | table=PATH | show | click
//
// Built with the Win32 front end on Windows and the Qt front end elsewhere (offscreen).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/string_class.h"
#include "tdb/translate_db.h"
#include "strandex/ui/resources.h"

#ifdef _WIN32
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include "strandex/ui/win32/main_window.h"
#else
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTreeView>

#include "strandex/ui/qt/main_window.h"
#endif

namespace {

// No menu command has these IDs.
constexpr int kShow = 0;
constexpr int kClick = 1;

struct Step {
  const char* Name;
  int Command;
  bool HasPath;
};

const Step kSteps[] = {
    {"new", ui::kCmdNew, false},
    {"open", ui::kCmdOpen, true},
    {"import", ui::kCmdImportTable, true},
    {"save", ui::kCmdSave, false},
    {"saveas", ui::kCmdSaveAs, true},
    {"header", ui::kCmdExportHeader, true},
    {"table", ui::kCmdExportTable, true},
    {"show", kShow, false},
    {"click", kClick, false},
};

// Runs every step; Window has SetFileChooser, and send(command) runs a menu command or shows.
template <typename Window, typename Send>
int RunSteps(int argc, char** argv, Window& window, Send send) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const std::string name = argument.substr(0, argument.find('='));
    const std::string path =
        argument.find('=') == std::string::npos ? "" : argument.substr(argument.find('=') + 1);
    const Step* step = nullptr;
    for (const Step& candidate : kSteps) {
      if (name == candidate.Name) step = &candidate;
    }
    if (!step || step->HasPath == path.empty()) {
      std::fprintf(stderr, "editor_script: unknown step %s\n", argv[i]);
      return 2;
    }
    window.SetFileChooser([path](const ui::FileDialogRequest&, NarrowStringClass& chosen) {
      chosen = path.c_str();
      return true;
    });
    send(step->Command);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TranslateDBClass::Initialize();
#ifdef _WIN32
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0x2F};
  ::InitCommonControlsEx(&controls);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  ui::MainWindowClass::RegisterWindowClass(instance);
  ui::MainWindowClass window(instance);
  if (!window.Create()) {
    std::fprintf(stderr, "editor_script: the window could not be created\n");
    return 1;
  }
  return RunSteps(argc, argv, window, [&window](int command) {
    if (command == kClick) {
      RECT r;
      int item = static_cast<int>(::SendMessageW(window.Tabs(), TCM_GETCURSEL, 0, 0));
      ::SendMessageW(window.Tabs(), TCM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
      const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      ::SendMessageW(window.Tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      ::SendMessageW(window.Tabs(), WM_LBUTTONUP, 0, at);
      std::printf("%d rows\n", static_cast<int>(::SendMessageW(window.List(), LVM_GETITEMCOUNT, 0, 0)));
      return;
    }
    if (command != kShow) {
      ::SendMessageW(window.Window(), WM_COMMAND, command, 0);
      return;
    }
    ::RedrawWindow(window.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::printf("%d tabs\n", static_cast<int>(::SendMessageW(window.Tabs(), TCM_GETITEMCOUNT, 0, 0)));
  });
#else
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ui::MainWindow window;
  window.show();
  return RunSteps(argc, argv, window, [&window](int command) {
    if (command == kClick) {
      const QPointF at = window.Tabs()->tabRect(window.Tabs()->currentIndex()).center();
      for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, window.Tabs()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.Tabs(), &event);
      }
      std::printf("%d rows\n", window.List()->model()->rowCount());
      return;
    }
    if (command != kShow) {
      window.Action(command)->trigger();
      return;
    }
    QApplication::processEvents();
    // Renders every widget of the window, tab row and list included.
    window.grab();
    std::printf("%d tabs\n", window.Tabs()->count());
  });
#endif
}
