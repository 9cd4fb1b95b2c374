// facetrue: brings model files up to date in place.
//
//   facetrue [--quiet] PATH...
//
// Each PATH is a model file (*.vxm) or a folder, walked with all its subfolders. Exit code 42
// when no path is given, 1 when any model failed or standard output could not be written, 0
// otherwise. On a terminal, standard error shows the progress unless --quiet is given.
#include <cstdio>
#include <cstring>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "common/platform/platform.h"
#include "common/tool_report.h"
#include "common/version.h"
#include "facetrue/console.h"
#include "facetrue/walk.h"

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // Each model's arrays are freed just before the next model's are made. By default the C
  // library gives such blocks back to the system and gets them again as new pages, each 4 KiB
  // costing a page fault; kept in the heap they are used again, model after model.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  ConsoleClass console(platform::IsTerminal(platform::kStderr));
  if (args.Count() == 2 && strcmp(args.Values()[1], "--version") == 0) {
    std::printf("%s\n", TX_VERSION_TEXT("facetrue"));
    return tool_cli::ReportClass("facetrue").FinishOutput(stdout, 0, kFailureExitCode);
  }
  // --quiet may stand anywhere; every other argument is a path.
  bool quiet = false;
  std::vector<const char*> paths;
  for (int i = 1; i < args.Count(); ++i) {
    if (strcmp(args.Values()[i], "--quiet") == 0) {
      quiet = true;
    } else {
      paths.push_back(args.Values()[i]);
    }
  }
  const int count = static_cast<int>(paths.size());
  ProgressLineClass progress(!quiet && platform::IsTerminal(platform::kStderr), stderr);
  console.SetProgress(&progress);
  int code = RunFacetrue(count, paths.data(), console, progress.Shown() ? &progress : nullptr);
  progress.Erase();
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
