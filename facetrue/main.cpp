// facetrue: brings model files up to date in place.
//
//   facetrue PATH...
//
// Each PATH is a model file (*.vxm) or a folder, walked with all its subfolders. Exit code 42
// when no path is given, 0 otherwise.
#include <cstdio>

#include "common/platform/platform.h"
#include "facetrue/console.h"
#include "facetrue/walk.h"

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  ConsoleClass console(platform::IsTerminal(platform::kStdout));
  int code = RunFacetrue(args.Count() - 1, args.Values() + 1, console);
  // The key wait keeps a console window open; it makes no sense without someone at the keyboard.
  if (console.Paused() && platform::IsTerminal(platform::kStdin)) {
    console.Print("\nPress any key to continue...");
    fflush(stdout);
    platform::ReadKey();
    console.Print("\n");
  }
  return code;
}
