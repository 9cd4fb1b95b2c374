// Runs a scripted use of the editor through its main window, for the comparison of the files the
// Windows and the Linux editors write (scripts/compare-windows.sh) and for timing the editor as a
// whole process (bench/editor_categories_bench.sh). Each step but "show" is a menu command sent
// to the window, the file dialogs answered with the step's path; "show" paints the whole window
// at once, as a screen update would, and prints the number of tabs:
//
//   editor_script STEP...   STEP: new | open=PATH | import=PATH | save | saveas=PATH |
//                                 header=PATH | table=PATH | show
//
// Built with the Win32 front end on Windows and the Qt front end elsewhere (offscreen).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/string_class.h"
#include "strandex/db/translate_db.h"
#include "strandex/ui/resources.h"

#ifdef _WIN32
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include "strandex/ui/win32/main_window.h"
#else
#include <QAction>
#include <QApplication>
#include <QPixmap>

#include "strandex/ui/qt/main_window.h"
#endif

namespace {

constexpr int kShow = 0;  // no menu command has this ID

struct Step {
  const char* Name;
  int Command;
  bool HasPath;
};

const Step kSteps[] = {
    {"new", ui::kCmdNew, false},           {"open", ui::kCmdOpen, true},
    {"import", ui::kCmdImportTable, true}, {"save", ui::kCmdSave, false},
    {"saveas", ui::kCmdSaveAs, true},      {"header", ui::kCmdExportHeader, true},
    {"table", ui::kCmdExportTable, true},  {"show", kShow, false},
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
