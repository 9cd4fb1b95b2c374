// The C header export: the symbolic IDs of every string object in the database with their
// numeric IDs, as #define lines (File, Export C Header). The layout of the file is described in
// header_export.cpp.
#pragma once

#include "common/string_class.h"
#include "tdb/exchange/file_bytes.h"

// Writes the header for the current database to path, replacing an existing file in one step.
// False with "path: reason" in error (when given) if the file could not be written; an existing
// file is then left as it was.
bool ExportCHeader(const char* path, NarrowStringClass* error,
                   platform::DiskInterface& disk = platform::SystemDisk());
// Appends the header to out (whose ErrorCode() tells whether memory ran out).
void WriteCHeader(ByteBuilder& out);
