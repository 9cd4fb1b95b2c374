#include "strandex/start_options.h"

#include "common/version.h"

namespace strandex {

const char* HelpText() {
  return "Usage: strandex [OPTION] [FILE.tdb]\n"
         "Edits a string database in a window, with FILE.tdb open when given.\n"
         "\n"
         "Options:\n"
         "  -h, --help     print this help and exit\n"
         "  --version      print the version, the copyright and the license and exit\n";
}

const char* VersionText() { return TX_VERSION_TEXT("strandex") "\n"; }

}  // namespace strandex
