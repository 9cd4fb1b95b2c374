// The bundlor program: "bundlor FOLDER ARCHIVE" packs every file below FOLDER, subfolders
// included, into the mix archive ARCHIVE. Relative paths are taken from the current folder.
// The usage text goes to out; failures and warnings go to err, and so does a line of progress
// when err is standard error on a terminal, unless --quiet is given (anywhere; every option
// starts with "--").
//
// Exit codes: 0 the archive was written; 1 usage shown; 2 a failure, the archive not written
// (a file already under its name is left as it was).
//
// The folder is walked, its files read and the archive written through disk.
#pragma once

#include <cstdio>

#include "common/platform/disk.h"

int RunBundlor(int argc, const char* const* argv, std::FILE* out, std::FILE* err,
               platform::DiskInterface& disk = platform::SystemDisk());
