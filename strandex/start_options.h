// What the editor prints for --help and --version, shared by its Qt and Win32 programs, which
// print it and end instead of opening a window.
#pragma once

namespace strandex {

// The usage and the options, ending with a line end.
const char* HelpText();
// The program's name and version, the copyright and the license, ending with a line end.
const char* VersionText();

}  // namespace strandex
