// Where tdbtool's commands put what they write: the file named, replaced in one step, or
// standard output for "-", written straight.
#pragma once

#include <string>

#include "common/string_class.h"
#include "tdb/exchange/file_bytes.h"

class FileLockClass;

namespace tdbtool {

// Writes the bytes built to out. False with "path: reason" in error.
bool WriteOutput(const std::string& out, ByteBuilder& bytes, NarrowStringClass* error);
// Saves the database to out as a .tdb file. False with "path: reason" in error. A caller that
// already holds out's lock (it read out before) passes it; otherwise the save takes it.
bool SaveOutput(const std::string& out, NarrowStringClass* error, const FileLockClass* held = nullptr);

}  // namespace tdbtool
