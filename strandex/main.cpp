// strandex: the string database editor. Prepares the database (category "Default"), shows the
// main window and runs until it is closed. An argument names a database to open at start, as
// File, Open would with that file chosen; --help and --version print and end, with no display
// needed.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "common/platform/process.h"
#include "strandex/start_options.h"
#include "strandex/ui/qt/main_window.h"
#include "tdb/translate_db.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QFile::decodeName(argv[i]);
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  QCommandLineParser parser;
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  parser.addOption(help);
  parser.addOption(version);
  parser.addPositionalArgument(QStringLiteral("FILE.tdb"), QString(), QStringLiteral("[FILE.tdb]"));
  // Qt's own options (-platform, -style) are still among these arguments: only help and the
  // version are taken from them here, the rest is checked once QApplication has removed them.
  parser.parse(Arguments(argc, argv));
  if (parser.isSet(help) || parser.isSet(version)) {
    const bool printed =
        std::fputs(parser.isSet(help) ? strandex::HelpText() : strandex::VersionText(), stdout) >= 0;
    if (std::fflush(stdout) != 0 || !printed) {
      std::perror("strandex: standard output");
      return 1;
    }
    return 0;
  }
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
  if (!parser.parse(QApplication::arguments())) {
    std::fprintf(stderr, "strandex: %s\nTry 'strandex --help' for more information.\n",
                 qPrintable(parser.errorText()));
    return 2;
  }
  TranslateDBClass::Initialize();
  ui::MainWindow window;
  window.show();
  const QStringList files = parser.positionalArguments();
  if (!files.isEmpty()) window.Editor().OpenPath(QFile::encodeName(files.first()).constData());
  app.exec();
  return 0;
}
