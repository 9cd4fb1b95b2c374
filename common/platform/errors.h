// Error codes: the system's last error and its text, and the codes the common library reports
// itself.
//
// How failures are kept, everywhere in the toolset: an object that can fail keeps its first
// failure. ErrorCode() gives that failure's code (the system's, or one of those below), 0 while
// there is none; an object that can name what failed also gives ErrorMessage(), the text to show
// ("path: reason" for a file), empty while there is none. Functions that do one thing return
// false and put "path: reason" into an error argument instead.
#pragma once

#include "common/string_class.h"

namespace platform {

int LastError();
void SetLastError(int code);
// The system's message text for an error code.
NarrowStringClass ErrorText(int code);

// Error codes the common library reports itself.
int ErrorNoName();      // an operation on a file without a name
int ErrorBadHandle();   // a seek on a closed file
int ErrorInvalid();     // an invalid argument
int ErrorNoMemory();    // memory ran out
int ErrorTooLarge();    // a size or position beyond 2^31 - 1
int ErrorShortWrite();  // the system took fewer bytes than asked
// The C runtime's last failure (errno, after a failed fwrite or fflush) as a code of this layer;
// a short write when the runtime names none.
int RuntimeError();
int ErrorReadOnly();    // a file without write permission is not replaced
int ErrorNotRegular();  // a path that must name a regular file names something else
// A symbolic link to a missing file, given as a file to write.
int ErrorDanglingLink();
// The text of the library's own codes (ErrorNotRegular, ErrorDanglingLink), or null for the
// system's codes.
const char* OwnErrorText(int code);

}  // namespace platform
