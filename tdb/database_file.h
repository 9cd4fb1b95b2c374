// Saving and loading the whole database on a path, for the programs (the editor's File commands
// and tdbtool), over SaveDatabase and LoadFile of the chunk layer. Saving to a path writes a
// temporary file beside the target and puts it in place of the old one in one step, so a failed
// save leaves the old file as it was.
#pragma once

#include <cstdint>

#include "common/file_lock.h"
#include "common/string_class.h"
#include "tdb/chunk_reader.h"
#include "tdb/chunk_writer.h"

// What loading a file found, beyond the database now in memory.
struct DatabaseLoadReport {
  bool HasDatabase = false;  // the file held a database section
  bool Damaged = false;      // the file could not be read whole (see the reader's damage)
  NarrowStringClass Damage;  // what was wrong and where, when damaged
  // Chunks passed over because nothing handles their ID: count, and one line per chunk for
  // the first few ("chunk 0x00012345 at offset 96").
  int PassedChunkCount = 0;
  DynamicArrayClass<NarrowStringClass> PassedChunks;
  // One line per numeric ID that had to change ("string ID 1005 occurs twice; ... now 1203").
  DynamicArrayClass<NarrowStringClass> IDChanges;
};

// Checks that every field fits its place in the file and that the texts were loaded. False with
// a message naming the first string or category that does not fit, or the missing texts.
bool CheckDatabaseSaveable(NarrowStringClass* error);

// Saves the database to path, replacing the file in one step. False with "path: reason" in
// error (when given); the old file is then untouched. With lock (held by the caller, who read
// the file under it), the file is replaced only while it is still the version the lock saw.
// Every disk call goes through disk.
bool SaveDatabaseFile(const char* path, NarrowStringClass* error, const FileLockClass* lock = nullptr,
                      platform::DiskInterface& disk = platform::SystemDisk());
// Saves the database into standard output, whatever it is (a pipe, a terminal, a redirected
// file), after what the C runtime's stdout holds. False with "standard output: reason".
bool SaveDatabaseToStandardOutput(NarrowStringClass* error);

// Empties the database and loads path into it, each string whole or without its texts (parts;
// without texts the file is read and checked all the same, so the report is the same, and the
// database then serves only what reads no text). With texts on demand the file is read into
// memory in one piece and kept there while strings still need their texts from it; when memory
// cannot hold it, the strings are read whole. A damaged file still loads what could be read
// and returns true; report (when given) says so.
//
// False with "path: reason" when the file cannot be opened or read or memory runs out. The
// database is then as Initialize leaves an empty one: no strings, the one category "Default"
// (when memory allows), its texts; version and current language are those it had before.
//
// A file read whole is read in pieces of piece_bytes, each walked as soon as it has arrived.
// Every disk call goes through disk.
constexpr int64_t kLoadPieceBytes = 4 << 20;
bool LoadDatabaseFile(const char* path, DatabaseLoadReport* report, NarrowStringClass* error,
                      LoadedParts parts = LoadedParts::kWhole, int64_t piece_bytes = kLoadPieceBytes,
                      platform::DiskInterface& disk = platform::SystemDisk());
