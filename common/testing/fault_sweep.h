// Fault sweeps, the way SQLite and LevelDB test failure handling: an operation runs once per
// failure point (the 1st, then the 2nd, then the 3rd ... allocation or disk call fails) until a
// run meets no armed fault, and the caller checks what each run left behind.
#pragma once

#include <functional>
#include <string>

#include "common/platform/disk.h"
#include "common/string_class.h"

namespace fault_sweep {

// The operation: returns whether it succeeded.
using Operation = std::function<bool()>;
// The same through the disk it is handed, which it must use for every disk call.
using DiskOperation = std::function<bool(platform::DiskInterface& disk)>;
// The caller's checks after each run (where names the failure point, or "no fault"). It also
// releases what the operation made, so that the live allocations can be compared.
using Check = std::function<void(const std::string& where, bool ok)>;

// Runs op with no fault, then with allocation 1, 2, 3 ... failing, until a run makes fewer
// allocations than that; that run must succeed. After check, as many allocations must be
// alive as before the run. Returns the number of failure points.
int Allocations(const Operation& op, const Check& check);

// Kinds of disk call a disk sweep fails, one call at a time.
enum DiskFault {
  kOpen = 1,       // an open or the creation of a temporary file
  kRead = 2,       // a read fails
  kCutRead = 4,    // a read moves only half the bytes asked
  kWrite = 8,      // a write fails
  kCutWrite = 16,  // a write moves only half its bytes (the disk is full)
  kSync = 32,
  kRename = 64,
  kClose = 128,
  kWriting = kOpen | kWrite | kCutWrite | kSync | kRename | kClose,
  kReading = kOpen | kRead | kCutRead | kClose,
};

// Runs op over a fresh fault disk, handed to it, once per failure point of every kind in faults: call 1, 2,
// 3 ... of that kind fails, until a run makes fewer calls of the kind; that run must succeed.
// Every kind in faults must have a failure point. Returns the number of failure points.
int Disk(int faults, const DiskOperation& op, const Check& check);

// Writes a new version of the file at path (the writer under test) through disk; error gets the
// message.
using Writer = std::function<bool(const char* path, NarrowStringClass* error, platform::DiskInterface& disk)>;

// What ExpectSafeReplacement sweeps over, and the file it starts from each time.
struct Replacement {
  std::string old_bytes = "the old file";
  int disk_faults = kWriting;
  // The writer reads the target before it replaces it, and needs a regular file there.
  bool reads_target = false;
};

// Sweeps a writer of a user's file over every disk failure point, then every allocation: each
// run either succeeds and leaves the new bytes, or reports a failure and leaves the old file
// byte-identical; no temporary file is ever left beside it. Then the same against devices,
// pipes, folders and links to them (ExpectOddTargets).
void ExpectSafeReplacement(const std::string& path, const Writer& write, const Replacement& sweep = {});

}  // namespace fault_sweep
