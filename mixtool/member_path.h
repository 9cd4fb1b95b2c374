// Member names of a mix archive as files below a folder. A name's backslashes separate
// folders; a name that could reach outside the folder, or that the system could not take as a
// plain relative path, is refused.
#pragma once

#include <string>

// The path below the folder that the member name becomes, its components joined with separator,
// in path. Returns null, or the reason the name is refused: empty, a leading backslash or slash,
// an empty, "." or ".." component, a colon (a drive letter or a stream name), or a control
// byte. windows adds what Windows would read otherwise: the characters < > " | ? *, a component
// that ends in a dot or a space, and the device names (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9, with any extension). A slash separates folders as a backslash does.
const char* MemberPath(const char* name, char separator, bool windows, std::string* path);

// The name for messages and listings: control bytes as \xNN, everything else as it is.
std::string ShownName(const char* name);
