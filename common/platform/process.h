// The process: its standard streams at start, temporary files deleted when a stopping signal ends
// the program, holding those signals back while such a file is made, and the program's arguments
// as UTF-8.
#pragma once

#include "common/platform/file_types.h"
#include "common/string_class.h"

namespace platform {

// Opens the null device on each of standard input, output and error that is closed when the
// program starts, so that no file the program opens later takes its place (and receives what is
// printed there, or is read as standard input). Called first in main.
void OpenClosedStandardStreams();

// Temporary files that the stopping signals (interrupt, termination, hang-up, a broken pipe)
// delete before the program ends; while any is watched, going past the file-size limit fails the
// write instead of stopping the program. path must stay valid until it is forgotten. Up to 16 at
// once.
void WatchTemporaryFile(const char* path);
void ForgetTemporaryFile(const char* path);

// Closes h, the last hold on a file whose name is already deleted, in a short-lived process of
// its own: freeing a large file that the system still holds in memory takes as long as a good
// part of writing it, and the caller need not wait for that. The file's memory and blocks are let
// go all the same, also if that process is stopped. Where no process can be started (and on
// Windows) h is closed here.
void CloseInBackground(Handle h);

// While it lives the stopping signals wait, their handlers installed first, so that a temporary
// file can be created and watched as one step: a stop in between takes effect once it is watched.
// Windows stops through a console handler, which is only installed here.
class HeldStopsClass {
 public:
  HeldStopsClass();
  ~HeldStopsClass();
  HeldStopsClass(const HeldStopsClass&) = delete;
  HeldStopsClass& operator=(const HeldStopsClass&) = delete;

 private:
  alignas(8) [[maybe_unused]] unsigned char saved[128];  // the signal mask to restore
};

// The program's arguments as UTF-8 text. Windows passes them in UTF-16, read here from the
// command line of the process; elsewhere they are argv as it is.
class CommandLineClass {
 public:
  CommandLineClass(int argc, char** argv);
  ~CommandLineClass();
  CommandLineClass(const CommandLineClass&) = delete;
  CommandLineClass& operator=(const CommandLineClass&) = delete;

  int Count() const { return count; }
  char** Values() const { return values; }

 private:
  int count = 0;
  char** values = nullptr;
  [[maybe_unused]] NarrowStringClass* strings = nullptr;  // the converted texts, where there are any
};

}  // namespace platform
