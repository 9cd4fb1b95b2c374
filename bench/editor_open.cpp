// The editor's start as a user meets it, for editor_open_bench.sh: the same steps as strandex
// with a file named on its command line (database prepared, main window shown, the file
// opened), then the tab of the largest category chosen, and the process ends as soon as the
// event loop first runs out of work, without freeing the database record by record. Timed from
// outside, as a whole process. With --view the translators' view at its largest follows before
// that idle: every category filtered by "pl" in translation language 1, then in language 2
// (the filter's index then holds the texts of both), and Only untranslated on.
//
//   QT_QPA_PLATFORM=offscreen build/bench/editor_open FILE.tdb [--view]
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTabBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "bench/largest_tab.h"
#include "common/allocore.h"
#include "strandex/ui/qt/main_window.h"
#include "strandex/ui/resources.h"
#include "tdb/translate_db.h"

int main(int argc, char** argv) {
  const bool view = argc == 3 && std::string_view(argv[2]) == "--view";
  if (argc != 2 && !view) {
    std::fprintf(stderr, "usage: editor_open FILE.tdb [--view]\n");
    return 2;
  }
  // The user's settings are neither used nor changed: each run starts from none, in a folder of
  // the benchmark's own.
  const std::string settings = (std::filesystem::temp_directory_path() / "editor_open_settings").string();
  setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
  QApplication app(argc, argv);
  QSettings(QStringLiteral("strandex"), QStringLiteral("strandex")).clear();
  TranslateDBClass::Initialize();
  ui::MainWindow window;
  window.show();
  window.Editor().OpenPath(QFile::encodeName(QApplication::arguments().at(1)).constData());
  window.Tabs()->setCurrentIndex(LargestTab(window.Editor().View()));
  if (view) {
    ui::EditorClass& editor = window.Editor();
    editor.ExecuteCommand(ui::kCmdTranslationFirst);
    editor.ExecuteCommand(ui::kCmdFilterBar);
    editor.OnFilterChanged(u"pl", true);
    editor.ExecuteCommand(ui::kCmdTranslationFirst + 1);
    editor.ExecuteCommand(ui::kCmdOnlyUntranslated);
  }
  // A zero timer fires once the events queued so far (showing the window and the list) are done.
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  app.exec();
  // The measure ends at the first idle: the database goes with the process, as in tdbtool.
  allocore::ExitKeepingMemory(TranslateDBClass::GetObjectCount() > 0 ? 0 : 1);
}
