// The facetrue run: a last-in, first-out work list of paths. Arguments are taken from the last
// to the first; a folder's model files are processed while it is listed and its subfolders
// afterwards, the last-listed first. Symbolic links met inside folders are not followed into
// folders, so the walk always ends.
#pragma once

#include "common/platform/disk.h"
#include "common/progress_line.h"
#include "facetrue/console.h"

constexpr int kNoPathExitCode = 42;
constexpr int kFailureExitCode = 1;

// True when the name ends in ".vxm", in any case.
bool MatchesModelPattern(const char* name);

// Processes the paths; returns 42 when there are none (and does nothing), 1 when anything failed
// (an error was printed), else 0. With a progress line, the paths are walked once more before,
// silently, to count the models and their bytes. Folders are walked and models read, replaced and
// synced through disk.
int RunFacetrue(int count, const char* const* paths, ConsoleClass& console,
                ProgressLineClass* progress = nullptr,
                platform::DiskInterface& disk = platform::SystemDisk());
