// The editor's start with a database as the user sees it, for editor_categories_bench.sh: the
// same steps as strandex with a file named on its command line (database prepared, main window
// shown, the file opened), then the window painted once, tab row and list included, and the
// process ends. Timed from outside, as a whole process. Prints the number of tabs shown.
//
//   QT_QPA_PLATFORM=offscreen build/bench/editor_categories FILE.tdb
#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <cstdio>

#include "common/allocore.h"
#include "strandex/db/translate_db.h"
#include "strandex/ui/qt/main_window.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: editor_categories FILE.tdb\n");
    return 2;
  }
  QApplication app(argc, argv);
  TranslateDBClass::Initialize();
  ui::MainWindow window;
  window.show();
  window.Editor().OpenPath(QFile::encodeName(QApplication::arguments().at(1)).constData());
  QApplication::processEvents();
  // Renders every widget of the window as a screen update would.
  const QPixmap shown = window.grab();
  std::printf("%d tabs, %dx%d pixels\n", window.Tabs()->count(), shown.width(), shown.height());
  // The database goes with the process, as in tdbtool.
  allocore::ExitKeepingMemory(shown.isNull() ? 1 : 0);
}
