// Paths and folders: the current folder, making a folder, the separator, joining, telling an
// absolute path, and the file name at the end of a path.
#pragma once

#include "common/string_class.h"

namespace platform {

bool CurrentDirectory(NarrowStringClass& path);
// Creates one folder (its parent must exist). False when it cannot be made or the name is taken
// already, by a folder or anything else.
bool MakeFolder(const char* path);
bool SetCurrentDirectory(const char* path);
char PathSeparator();
// folder and name joined by one folder separator (none added after a folder that ends in one).
NarrowStringClass JoinPath(const char* folder, const char* name);
bool IsAbsolutePath(const char* path);

// The file name at the end of path: what follows its last folder separator (on Windows also a
// drive's colon); path itself when it has none.
const char* FileNamePart(const char* path);

}  // namespace platform
