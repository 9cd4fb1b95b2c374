// "-" in place of a file name on a companion program's command line: standard output where a
// file is written, standard input where one is read. Bytes go straight to and from the
// stream's handle (through the platform's disk layer), never through a temporary file, so a
// pipe, a terminal or a redirected file receives them as they are.
#pragma once

#include <cstddef>
#include <string>

#include "common/string_class.h"

// Whether name is "-".
bool IsStandardStream(const char* name);

// Writes size bytes to standard output, after what the C runtime's stdout holds, so that the
// two keep their order. False with "standard output: reason" in error (when given).
bool WriteStandardOutput(const void* data, size_t size, NarrowStringClass* error);

// Appends standard input, read to its end, to bytes. False with "standard input: reason" in
// error (when given); memory running out is such a failure.
bool ReadStandardInput(std::string& bytes, NarrowStringClass* error);
