// facetrue: brings model files up to date in place.
//
//   facetrue PATH...
//
// Each PATH is a model file (*.vxm) or a folder, walked with all its subfolders. Exit code 42
// when no path is given, 1 when any model failed or standard output could not be written, 0
// otherwise.
#include <cstdio>
#include <cstring>

#include "common/platform/platform.h"
#include "common/tool_report.h"
#include "common/version.h"
#include "facetrue/console.h"
#include "facetrue/walk.h"

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  ConsoleClass console(platform::IsTerminal(platform::kStderr));
  if (args.Count() == 2 && strcmp(args.Values()[1], "--version") == 0) {
    std::printf("%s\n", TX_VERSION_TEXT("facetrue"));
    return 0;
  }
  int code = RunFacetrue(args.Count() - 1, args.Values() + 1, console);
  // The key wait keeps open a console window that was opened for this program alone, so that its
  // messages can be read; a shell's terminal, a script or make never wait.
  if (console.Paused() && platform::ConsoleIsOwnWindow() && platform::IsTerminal(platform::kStdin)) {
    console.Print("\nPress any key to continue...");
    fflush(stdout);
    platform::ReadKey();
    console.Print("\n");
  }
  // "Processed" lines that could not be written (a full disk) make the run a failure.
  return tool_cli::ReportClass("facetrue").FinishOutput(stdout, code, kFailureExitCode);
}
