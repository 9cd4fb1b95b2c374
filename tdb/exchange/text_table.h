// The text table: the whole database (categories, string objects, the texts of seven
// languages) as a UTF-8 text file, one record per line (File, Export Table and Import Table).
//
// The file starts with the byte-order mark EF BB BF; every line ends with CR LF (0D 0A). For each
// category, in list order, one category line and then one block per string object of that
// category, in ascending numeric ID:
//
//   [<category ID>,<category name>]
//   <numeric ID>,<symbolic ID>,<sound ID>,<animation name>
//   0=<text of language 0>
//   ...                                   seven text lines, languages 0 to 6 in order
//   6=<text of language 6>
//
// IDs are unsigned decimal, the sound ID signed decimal (-1 for none). A language the string
// does not have gets its text 0. Narrow fields are widened byte by byte (byte b is U+00bb) and
// every character is encoded as UTF-8. Nothing is escaped: a comma, "=" or "]" inside a field
// stands as it is, and a line feed inside a text starts a new line (written as CR LF).
//
// A reader classifies each line by its characters: a "[" first and a comma is a category line; a
// comma before any "=" is a string line (the animation name runs to the end of the line); an "="
// before any comma is a text line of the string above. Fields and texts read are limited to
// 511 characters; narrow fields hold only U+0000 to U+00FF.
#pragma once

#include "common/array.h"
#include "common/platform/disk.h"
#include "common/string_class.h"

// Writes the current database to path, replacing an existing file in one step. False with
// "path: reason" in error (when given) if the file could not be written; an existing file is
// then left as it was.
bool ExportTextTable(const char* path, NarrowStringClass* error,
                     platform::DiskInterface& disk = platform::SystemDisk());

// Empties the database and fills it from the table at path (File, Import Table). Every thing the
// user should know about (a numeric ID that had to change, a line that could not be used, a
// field that was cut) adds one line "path:line: text" to warnings (when given). False with
// "path: reason" in error when the file cannot be opened or read, or memory runs out. The
// database is emptied only once the file has given its first bytes, so a file that cannot be
// read at all leaves it unchanged; a failure later leaves what was read before it.
bool ImportTextTable(const char* path, DynamicArrayClass<NarrowStringClass>* warnings,
                     NarrowStringClass* error, platform::DiskInterface& disk = platform::SystemDisk());
