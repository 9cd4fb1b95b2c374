// Processing one model file: load it, recompute its planes and, when a mesh changed, put the new
// model in place of the file in one step. Every failure is reported on the console with the
// path; a file that is not changed is never written.
#pragma once

#include "facetrue/console.h"

void ProcessModelFile(const char* path, ConsoleClass& console);
