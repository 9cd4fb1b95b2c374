// Processing one model file: load it, recompute its planes and, when a mesh changed, put the new
// model in place of the file in one step, flushed to disk. The model then waits in pending for
// its folder sync, which reports it done. Every failure is reported on the console with the
// path; a file that is not changed is never written. Every disk call goes through disk.
#pragma once

#include "common/platform/disk.h"
#include "facetrue/console.h"
#include "facetrue/pending_models.h"

void ProcessModelFile(const char* path, ConsoleClass& console, PendingModelsClass& pending,
                      platform::DiskInterface& disk);
