// The bundlor program.
#include <cstdio>

#include "bundlor/bundlor_app.h"
#include "common/platform/platform.h"

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  return RunBundlor(args.Count(), args.Values(), stdout, stderr);
}
