// Writers pointed at targets that are not regular files: devices, pipes (FIFOs), folders, and
// links to them. A device or pipe takes the bytes directly and stays what it was; anything else
// is refused and left alone; no temporary file is ever left beside any of them.
#pragma once

#include <string>

#include "common/testing/fault_sweep.h"

namespace fault_sweep {

// Runs write against each kind of target in folder (what the system lets this test make): a
// regular file holding old_bytes, a FIFO (read on a thread, as the other end of a shell pipe)
// and a device of our own (or the system's null device), each also through a link, must take
// new_bytes and stay what they were (a link stays a link), unless reads_target (the writer
// reads the target first and needs a regular file: the others are refused);
// a folder and a link to a missing file are refused; on Windows NUL takes the bytes and CON leaves no file.
// Nothing else is left behind.
void ExpectOddTargets(const std::string& folder, const Writer& write, const std::string& old_bytes,
                      const std::string& new_bytes, bool reads_target);

}  // namespace fault_sweep
