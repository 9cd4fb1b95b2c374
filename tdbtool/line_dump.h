// The database as text, one field a line, for a diff to show each change on its own line
// (git's textconv): the variables, one line per category, then per string in ascending ID its
// category, its sound ID and animation when set, its English text when it is not text 0, and
// one line per text:
//   version 0
//   category 1 "Default"
//   string 1000 "IDS_OK" category 1
//   string 1000 "IDS_OK" text 0 "OK"
// Values are UTF-8 in double quotes, escaped as diff's lines are.
#pragma once

#include <cstdio>

namespace tdbtool {

// False when the output could not be written or memory ran out.
bool WriteDatabaseLines(std::FILE* output);

}  // namespace tdbtool
