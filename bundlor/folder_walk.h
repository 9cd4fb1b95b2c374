// The file list of a bundlor run: every file below the packed folder with its member name, the
// name's CRC and its path on disk, in the order the archive stores them.
#pragma once

#include <cstdint>

#include "bundlor/diagnostics.h"
#include "common/array.h"
#include "common/platform/disk.h"
#include "common/string_class.h"

struct FileListRecord {
  NarrowStringClass Name;  // member name: the path below the folder, joined by backslashes
  uint32_t CRC = 0;        // CrcTextNoCase of Name
  NarrowStringClass Source;
  int64_t Size = 0;  // the file's size when it was walked
};

using FileListClass = DynamicArrayClass<FileListRecord>;

// Adds every file below folder, subfolders included, to list. A symbolic link to a file counts
// as that file; a link to a folder is not followed, and pipes, sockets and devices are not
// packed (a warning each). A folder that cannot be listed and a link that leads nowhere are
// failures; the walk goes on with the rest.
void WalkFolder(const char* folder, FileListClass& list, DiagnosticsClass& diagnostics,
                platform::Folders& folders = platform::SystemDisk());

// Puts the list in archive order: by CRC, then by name (then by path on disk), so every run gives
// the same archive.
void SortFileList(FileListClass& list);

// Checks the names of the sorted list. Two files that map to one member name (a file "back\slash"
// and a file "slash" in folder "back", where names may hold a backslash) are a failure: the
// archive could not tell them apart. Every other pair of names that share a CRC gets a warning:
// a reader looking up members by CRC finds only one of them.
void CheckNames(const FileListClass& list, DiagnosticsClass& diagnostics);
