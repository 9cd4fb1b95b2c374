// Writers pointed at targets that are not regular files: devices, pipes (FIFOs), folders, and
// links to them. A device or pipe takes the bytes directly and stays what it was; anything else
// is refused and left alone; no temporary file is ever left beside any of them.
#pragma once

#include <atomic>
#include <string>

#include "common/testing/fault_sweep.h"

#if !defined(_WIN32)
#include <thread>

// Reads everything written into the FIFO at path on a thread of its own, as the other end of a
// shell pipe would.
class PipeReader {
 public:
  explicit PipeReader(const std::string& path);
  ~PipeReader() { Finish(); }
  PipeReader(const PipeReader&) = delete;
  PipeReader& operator=(const PipeReader&) = delete;

  // Ends the reading (once every writer has gone) and returns what was read.
  const std::string& Finish();

 private:
  std::string path_, bytes_;
  std::thread thread_;
  std::atomic<bool> done_{false};
  bool finished_ = false;
};
#endif

namespace fault_sweep {

// Runs write against each kind of target in folder (what the system lets this test make):
// a FIFO and a device of our own (or the system's null device), each also through a link,
// must end up holding or having taken new_bytes, unless reads_target (the writer reads the
// target first and needs a regular file: it is refused); a folder and a block device are
// refused. Nothing but the targets is left in folder.
void ExpectOddTargets(const std::string& folder, const Writer& write, const std::string& new_bytes,
                      bool reads_target);

}  // namespace fault_sweep
