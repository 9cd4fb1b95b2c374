// The editor's start as a user meets it, for editor_open_bench.sh: the same steps as strandex
// with a file named on its command line (database prepared, main window shown, the file
// opened), then the tab of the largest category chosen, and the process ends as soon as the
// event loop first runs out of work, without freeing the database record by record. Timed from
// outside, as a whole process.
//
//   QT_QPA_PLATFORM=offscreen build/bench/editor_open FILE.tdb
#include <QApplication>
#include <QFile>
#include <QTabBar>
#include <QTimer>
#include <cstdio>

#include "bench/largest_tab.h"
#include "common/allocore.h"
#include "tdb/translate_db.h"
#include "strandex/ui/qt/main_window.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: editor_open FILE.tdb\n");
    return 2;
  }
  QApplication app(argc, argv);
  TranslateDBClass::Initialize();
  ui::MainWindow window;
  window.show();
  window.Editor().OpenPath(QFile::encodeName(QApplication::arguments().at(1)).constData());
  window.Tabs()->setCurrentIndex(LargestTab(window.Editor().View()));
  // A zero timer fires once the events queued so far (showing the window and the list) are done.
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  app.exec();
  // The measure ends at the first idle: the database goes with the process, as in tdbtool.
  allocore::ExitKeepingMemory(TranslateDBClass::GetObjectCount() > 0 ? 0 : 1);
}
