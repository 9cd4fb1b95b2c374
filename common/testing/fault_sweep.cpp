// The fault sweeps over allocations and disk calls.
#include "common/testing/fault_sweep.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/allocore.h"
#include "common/testing/fault_disk.h"
#include "common/testing/odd_targets.h"
#include "common/testing/temp_folder.h"

namespace fault_sweep {

int Allocations(const Operation& op, const Check& check) {
  check("no fault", op());
  for (int n = 1;; ++n) {
    int64_t live = allocore::LiveCount();
    int64_t requests = allocore::RequestCount();
    allocore::FailAfter(n);
    bool ok = op();
    bool tripped = allocore::RequestCount() - requests >= n;
    allocore::FailAfter(0);
    std::string where = tripped ? "allocation " + std::to_string(n) : "no fault";
    check(where, ok);
    EXPECT_EQ(allocore::LiveCount(), live) << where;
    if (!tripped) {
      EXPECT_TRUE(ok) << "no allocation failed, yet the operation failed";
      return n - 1;
    }
    if (::testing::Test::HasFailure()) return n;
  }
}

namespace {

using platform::FaultDisk;

struct Kind {
  DiskFault fault;
  const char* name;
  int FaultDisk::*at;
  int FaultDisk::*seen;
};

constexpr Kind kKinds[] = {
    {kOpen, "open", &FaultDisk::fail_open, &FaultDisk::opens},
    {kRead, "read", &FaultDisk::fail_read, &FaultDisk::reads},
    {kCutRead, "short read", &FaultDisk::cut_read, &FaultDisk::reads},
    {kWrite, "write", &FaultDisk::fail_write, &FaultDisk::writes},
    {kCutWrite, "short write", &FaultDisk::cut_write, &FaultDisk::writes},
    {kSync, "sync", &FaultDisk::fail_sync, &FaultDisk::syncs},
    {kRename, "rename", &FaultDisk::fail_rename, &FaultDisk::renames},
    {kClose, "close", &FaultDisk::fail_close, &FaultDisk::closes},
};

}  // namespace

int Disk(int faults, const DiskOperation& op, const Check& check) {
  int points = 0;
  for (const Kind& kind : kKinds) {
    if (!(faults & kind.fault)) continue;
    for (int n = 1;; ++n) {
      bool ok, tripped;
      {
        platform::FaultDisk disk;
        disk.*kind.at = n;
        ok = op(disk);
        tripped = disk.*kind.seen >= n;
      }
      std::string where = tripped ? std::string(kind.name) + " " + std::to_string(n) : "no fault";
      check(where, ok);
      if (!tripped) {
        EXPECT_TRUE(ok) << "no " << kind.name << " failed, yet the operation failed";
        // A kind asked for that the operation never meets tests nothing: a call has gone missing.
        EXPECT_GT(n, 1) << "the operation made no " << kind.name << " call to fail";
        break;
      }
      ++points;
      if (::testing::Test::HasFailure()) return points;
    }
  }
  return points;
}

void ExpectSafeReplacement(const std::string& path, const Writer& write, const Replacement& sweep) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  WriteBytes(path, sweep.old_bytes);
  const size_t files = FilesIn(folder).size();
  NarrowStringClass error;
  platform::DiskInterface& system = platform::SystemDisk();
  ASSERT_TRUE(write(path.c_str(), &error, system)) << error.Chars();
  const std::string new_bytes = ReadBytes(path);
  ASSERT_NE(new_bytes, sweep.old_bytes);
  WriteBytes(path, sweep.old_bytes);

  // The operation itself allocates nothing beyond what the writer does.
  auto op = [&](platform::DiskInterface& disk) { return write(path.c_str(), &error, disk); };
  auto check = [&](const std::string& where, bool ok) {
    EXPECT_EQ(ReadBytes(path), ok ? new_bytes : sweep.old_bytes) << where;
    // Out of memory, the message itself may be what could not be made.
    if (!ok && where.rfind("allocation", 0) != 0) {
      EXPECT_FALSE(error.IsEmpty()) << where;
    }
    EXPECT_EQ(FilesIn(folder).size(), files) << where;
    error.Release();
    WriteBytes(path, sweep.old_bytes);
  };
  EXPECT_GT(Disk(sweep.disk_faults, op, check), 0);
  EXPECT_GT(Allocations([&] { return op(system); }, check), 0);
  ExpectOddTargets(folder, write, sweep.old_bytes, new_bytes, sweep.reads_target);
}

}  // namespace fault_sweep
