// strandex: the string database editor. Prepares the database (category "Default"), shows the
// main window and runs until it is closed. An argument names a database to open at start, as
// File, Open would with that file chosen.
#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "common/platform/process.h"
#include "tdb/translate_db.h"
#include "strandex/ui/qt/main_window.h"

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
#if !defined(_WIN32) && !defined(__APPLE__)
  // Without a display Qt would abort; say what is missing instead.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::fprintf(
        stderr, "Error creating window: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
    return 1;
  }
#endif
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("strandex"));
  QApplication::setDesktopFileName(QStringLiteral("strandex"));
  TranslateDBClass::Initialize();
  ui::MainWindow window;
  window.show();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.Editor().OpenPath(QFile::encodeName(arguments.at(1)).constData());
  app.exec();
  return 0;
}
