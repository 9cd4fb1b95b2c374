// Failure texts of the form "path: reason", the one form in which the programs name a file they
// could not use and why.
#pragma once

#include "common/string_class.h"

// When memory runs out the text is empty: the failure is still reported, only not named.
NarrowStringClass PathError(const char* path, const char* reason);
// The reason is the system's text for an error code of the platform layer.
NarrowStringClass PathError(const char* path, int code);

// Stores the text in *error when error is given. Always false, so that a failing function can
// end with `return FailPath(...)`.
bool FailPath(NarrowStringClass* error, const char* path, const char* reason);
bool FailPath(NarrowStringClass* error, const char* path, int code);

// For a command that reads in and writes out: true when out is another file than in; false with "out: reason"
// in error (when given) when both name one existing file (links followed), which writing would destroy before
// it is read.
bool OutputIsNotInput(NarrowStringClass* error, const char* in, const char* out);
