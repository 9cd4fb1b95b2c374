// The console: which standard streams are terminals, their handles, one key press, and the
// colour of error lines.
#pragma once

#include "common/platform/disk.h"

namespace platform {

// Console.
enum Stream { kStdin = 0, kStdout = 1, kStderr = 2 };
bool IsTerminal(int stream);
// The width of the terminal a stream goes to, in columns; 80 when it cannot be told.
int TerminalColumns(int stream);
// The handle of a standard stream, for reading and writing it through the disk; never closed.
Handle StandardHandle(int stream);
// Waits for one key press on the console and returns it.
int ReadKey();
// True when the console was opened for this process alone (a console program started from the
// desktop on Windows): its window closes when the program ends. Never on a Unix terminal.
bool ConsoleIsOwnWindow();
// Error lines on standard error: BeginErrorColour switches to bright red, EndErrorColour back to
// the colour that was there before. Where the terminal takes colour as escape sequences, they are
// returned for the caller to write with the text; where the console has text attributes
// (Windows), the attribute is switched here and the texts are empty.
const char* BeginErrorColour();
const char* EndErrorColour();

}  // namespace platform
