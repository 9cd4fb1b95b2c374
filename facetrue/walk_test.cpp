#include "facetrue/walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/testing/fault_disk.h"
#include "common/testing/fault_sweep.h"
#include "common/testing/run_program.h"
#include "common/testing/system.h"
#include "common/testing/temp_folder.h"
#include "facetrue/capture_console_test.h"
#include "facetrue/model_file.h"
#include "facetrue/plane.h"
#include "vxmlib/testing/model_builder.h"

namespace {

using namespace vxm_test;

// Lists folders in name order, ascending or descending, so the walk's order can be checked.
class SortedDisk : public platform::FaultDisk {
 public:
  bool descending = false;
  bool fail_listing = false;
  std::string too_long;             // a path the system refuses as too long
  std::vector<std::string> synced;  // the paths whose folders were synced, in order
  bool fail_folder_sync = false;

  bool SyncFolderOf(const char* path) override {
    synced.push_back(path);
    platform::SetLastError(sys::kIoError);
    return !fail_folder_sync && FaultDisk::SyncFolderOf(path);
  }

  bool Status(const char* path, platform::FileStatus* status) override {
    if (path == too_long) {
      platform::SetLastError(sys::kNameTooLong);
      return false;
    }
    return FaultDisk::Status(path, status);
  }

  bool ListDirectory(const char* path, DynamicArrayClass<platform::DirEntry>& entries) override {
    if (fail_listing || path == too_long) {
      platform::SetLastError(fail_listing ? sys::kAccessDenied : sys::kNameTooLong);
      return false;
    }
    DynamicArrayClass<platform::DirEntry> found;
    if (!FaultDisk::ListDirectory(path, found)) return false;
    std::vector<std::pair<std::string, int>> order;
    for (int i = 0; i < found.Count(); ++i) order.emplace_back(found[i].name.Chars(), i);
    std::sort(order.begin(), order.end());
    if (descending) std::reverse(order.begin(), order.end());
    for (auto& [name, i] : order) entries.Add(found[i]);
    return true;
  }
};

std::string OldModel() { return ModelBytes({SmallMesh("a", kOldMeshFormat)}); }
std::string NewModel() { return ModelBytes({SmallMesh("a", kNewMeshFormat)}); }

int RunOn(const std::vector<std::string>& paths, CaptureConsole& console,
          platform::DiskInterface& disk = platform::SystemDisk()) {
  std::vector<const char*> args;
  for (const std::string& path : paths) args.push_back(path.c_str());
  return RunFacetrue(static_cast<int>(args.size()), args.data(), console, nullptr, disk);
}

std::string Processed(const std::string& path) { return "Processed '" + path + "'\n"; }

TEST(Walk, OrderOfProcessing) {
  TempFolder dir;
  for (bool descending : {false, true}) {
    for (const char* name : {"a.vxm", "m/b.vxm", "m/e.vxm", "m/x/c.vxm", "m/y/d.vxm", "f.vxm"}) {
      WriteBytes(dir / name, OldModel());
    }
    SortedDisk disk;
    disk.descending = descending;
    CaptureConsole console;
    EXPECT_EQ(RunOn({dir / "a.vxm", dir / "m", dir / "f.vxm"}, console, disk), 0);
    // Arguments last to first; a folder's models while it is listed, then its subfolders, the
    // last listed first.
    std::string expected;
    for (const char* name :
         descending ? std::vector{"f.vxm", "m/e.vxm", "m/b.vxm", "m/x/c.vxm", "m/y/d.vxm", "a.vxm"}
                    : std::vector{"f.vxm", "m/b.vxm", "m/e.vxm", "m/y/d.vxm", "m/x/c.vxm", "a.vxm"})
      expected += Processed(dir / name);
    EXPECT_EQ(console.text, expected) << descending;
    EXPECT_TRUE(console.Paused());
  }
}

TEST(Walk, RewritesOldModelsAndKeepsWhatItDoesNotUnderstand) {
  TempFolder dir;
  std::string path = dir / "ship.vxm";
  auto model = [](uint32_t format, const std::string& triangle) {
    std::string vertices = Float32(0) + Float32(0) + Float32(5) + Float32(2) + Float32(0) + Float32(5) +
                           Float32(0) + Float32(2) + Float32(5);
    std::string mesh = MeshHeader("hull", "ship", format, 3, 1) + Chunk("NOTE", "kept") +
                       Chunk("VERT", vertices) + Chunk("TRIS", triangle);
    return FileHeader() + Chunk("INFO", "x") + Object(0, mesh) + Object(9, "other kind");
  };
  WriteBytes(path, model(kOldMeshFormat, Triangle(0, 1, 2, 42, {}, 0)));
  CaptureConsole console;
  RunOn({path}, console);
  EXPECT_EQ(console.text, Processed(path));
  EXPECT_EQ(ReadBytes(path), model(kNewMeshFormat, Triangle(0, 1, 2, 42, {0, 0, 1}, 5)));
  EXPECT_EQ(FilesIn(dir.path()).size(), 1u);  // no temporary file left behind
}

TEST(Walk, FilesThatNeedNoChangeAreNotTouched) {
  TempFolder dir;
  std::string current = dir / "current.vxm", unknown = dir / "unknown.vxm", damaged = dir / "damaged.vxm";
  WriteBytes(current, NewModel());
  WriteBytes(unknown, ModelBytes({SmallMesh("odd", 0x30000)}));
  std::string damaged_bytes = OldModel();
  damaged_bytes.resize(damaged_bytes.size() - 1);
  WriteBytes(damaged, damaged_bytes);
  // Twenty years back, in whole seconds (the Windows runtime sets file times to the second).
  auto old_time = std::chrono::floor<std::chrono::seconds>(std::filesystem::file_time_type::clock::now() -
                                                           std::chrono::hours(24 * 365 * 20));
  for (const std::string& path : {current, unknown, damaged})
    std::filesystem::last_write_time(path, old_time);

  CaptureConsole console;
  RunOn({current, unknown, damaged}, console);
  EXPECT_EQ(console.text, "facetrue: Unable to load '" + damaged +
                              "': chunk \"OBJC\" at byte 8 claims 140 bytes, but only 139 are left for it\n"
                              "facetrue: Unknown mesh format 30000 in 'q.odd'\n");
  EXPECT_EQ(ReadBytes(current), NewModel());
  EXPECT_EQ(ReadBytes(unknown), ModelBytes({SmallMesh("odd", 0x30000)}));
  EXPECT_EQ(ReadBytes(damaged), damaged_bytes);
  for (const std::string& path : {current, unknown, damaged})
    EXPECT_EQ(std::filesystem::last_write_time(path), old_time) << path;
}

TEST(Walk, ReadOnlyModelIsReportedInTheErrorColour) {
  TempFolder dir;
  std::string path = dir / "locked.vxm";
  WriteBytes(path, OldModel());
  std::filesystem::permissions(path, std::filesystem::perms(0444));
  CaptureConsole console(true);
  RunOn({path}, console);
  // Escape sequences around the line; on Windows the console's text attribute is switched instead.
  EXPECT_EQ(console.text, std::string(platform::BeginErrorColour()) + "facetrue: Unable to open '" + path +
                              "'\n" + platform::EndErrorColour());
  EXPECT_TRUE(console.Paused());
  EXPECT_EQ(ReadBytes(path), OldModel());
}

TEST(Walk, FailingDiskOrMemoryNeverLeavesABrokenModel) {
  TempFolder dir;
  fault_sweep::Replacement sweep;
  sweep.old_bytes = OldModel();
  sweep.disk_faults = fault_sweep::kWriting | fault_sweep::kRead | fault_sweep::kCutRead;
  sweep.reads_target = true;
  const std::string path = dir / "m.vxm";
  CaptureConsole console;
  auto process = [&](const char* path, NarrowStringClass* error, platform::DiskInterface& disk) {
    console.text.clear();
    PendingModelsClass pending(console, disk);
    ProcessModelFile(path, console, pending, disk);
    pending.Settle();
    bool ok = console.text.rfind("Processed '", 0) == 0 && console.text.find(path) == 11;
    if (!ok) error->TryAssign(console.text.c_str());
    return ok;
  };
  fault_sweep::ExpectSafeReplacement(path, process, sweep);
}

// One folder sync after the models of a folder makes their new names durable before each is
// reported; an error line among them first settles those before it, so the order holds. A folder
// that cannot be synced is reported for each of its models, which are in place all the same.
TEST(Walk, FolderSyncedOnceAfterItsModels) {
  TempFolder dir;
  for (const char* name : {"a.vxm", "c.vxm", "s/d.vxm"}) WriteBytes(dir / name, OldModel());
  WriteBytes(dir / "b.vxm", ModelBytes({SmallMesh("odd", 0x30000)}));
  SortedDisk disk;
  CaptureConsole console;
  RunOn({dir.path()}, console, disk);
  EXPECT_EQ(console.text, Processed(dir / "a.vxm") + "facetrue: Unknown mesh format 30000 in 'q.odd'\n" +
                              Processed(dir / "c.vxm") + Processed(dir / "s/d.vxm"));
  EXPECT_EQ(disk.synced, (std::vector<std::string>{dir / "a.vxm", dir / "c.vxm", dir / "s/d.vxm"}));

  for (const char* name : {"a.vxm", "b.vxm"}) WriteBytes(dir / name, OldModel());
  disk.fail_folder_sync = true;
  CaptureConsole failed;
  RunOn({dir.path()}, failed, disk);
  auto unsynced = [&](const char* name) {
    return "facetrue: Unable to sync the folder of '" + (dir / name) + "': " + sys::Text(sys::kIoError) +
           "\n";
  };
  EXPECT_EQ(failed.text, unsynced("a.vxm") + unsynced("b.vxm"));
  EXPECT_EQ(ReadBytes(dir / "b.vxm"), ReadBytes(dir / "c.vxm"));
}

TEST(Walk, LinksToFoldersAreNotFollowed) {
  TempFolder dir;
  std::string root = dir / "root";
  WriteBytes(dir / "root/a.vxm", OldModel());
  WriteBytes(dir / "root/sub/b.vxm", OldModel());
  WriteBytes(dir / "elsewhere/c.vxm", OldModel());
  if (!sys::MakeLink("..", dir / "root/sub/up", true) && sys::kWindows) GTEST_SKIP() << sys::kNoLinks;
  ASSERT_TRUE(sys::MakeLink(root, dir / "root/sub/loop.vxm", true));
  ASSERT_TRUE(sys::MakeLink(dir / "elsewhere", dir / "root/away", true));
  // A relative link to a model is followed, and the target's folder is the one synced (what the
  // replacement does to the link: fault_sweep::ExpectOddTargets).
  WriteBytes(dir / "target.vxm", OldModel());
  ASSERT_TRUE(sys::MakeLink(sys::kWindows ? "..\\target.vxm" : "../target.vxm", dir / "root/t.vxm", false));
  SortedDisk disk;
  CaptureConsole console;
  RunOn({root}, console, disk);
  EXPECT_EQ(console.text, Processed(dir / "root/a.vxm") + Processed(dir / "root/t.vxm") +
                              Processed(dir / "root/sub/b.vxm"));
  EXPECT_EQ(disk.synced,
            (std::vector<std::string>{dir / "root/a.vxm", dir / "target.vxm", dir / "root/sub/b.vxm"}));
  EXPECT_NE(ReadBytes(dir / "target.vxm"), OldModel());
  EXPECT_EQ(ReadBytes(dir / "target.vxm"), ReadBytes(dir / "root/a.vxm"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "root/t.vxm"));
  EXPECT_EQ(ReadBytes(dir / "elsewhere/c.vxm"), OldModel());

  // A folder found in a listing that cannot be examined is reported.
  disk.too_long = dir / "root/sub";
  CaptureConsole unreachable;
  RunOn({root}, unreachable, disk);
  EXPECT_EQ(unreachable.text,
            "facetrue: Unable to list '" + disk.too_long + "': " + sys::Text(sys::kNameTooLong) + "\n");
  disk.too_long.clear();

  // A link named on the command line is walked.
  CaptureConsole linked;
  RunOn({dir / "root/away"}, linked, disk);
  EXPECT_EQ(linked.text, Processed(dir / "root/away/c.vxm"));
}

TEST(Walk, PatternAndPaths) {
  for (const char* name : {"a.vxm", "dir/A.VxM", ".vxm"}) EXPECT_TRUE(MatchesModelPattern(name)) << name;
  for (const char* name : {"vxm", "a.vxm~", "a_vxm"}) EXPECT_FALSE(MatchesModelPattern(name)) << name;

  TempFolder dir;
  WriteBytes(dir / "UPPER.VXM", OldModel());
  WriteBytes(dir / "model.vxm.bak", OldModel());
  WriteBytes(dir / "folder.vxm/inner.Vxm", OldModel());
  WriteBytes(dir / "note.txt", "");
  SortedDisk disk;
  CaptureConsole console;
  EXPECT_EQ(RunOn({dir / "missing", dir / "note.txt", dir.path() + platform::PathSeparator()}, console, disk),
            0);
  EXPECT_EQ(console.text, Processed(dir / "UPPER.VXM") + Processed(dir / "folder.vxm/inner.Vxm"));
  EXPECT_EQ(ReadBytes(dir / "model.vxm.bak"), OldModel());

  // Nothing printed: nothing to wait for (no path at all: the program's test below).
  CaptureConsole nothing;
  EXPECT_EQ(RunOn({dir / "missing"}, nothing, disk), 0);
  EXPECT_EQ(nothing.text, "");
  EXPECT_FALSE(nothing.Paused());

  disk.fail_listing = true;
  RunOn({dir.path()}, nothing, disk);
  EXPECT_EQ(nothing.text,
            "facetrue: Unable to list '" + dir.path() + "': " + sys::Text(sys::kAccessDenied) + "\n");
}

// The built program: standard input is an open pipe, not a terminal, so it must end without
// waiting, and its errors carry no colour. Errors go to standard error after the program's name
// and end the run with 1; no path at all ends with 42. The folder's name lies outside any ANSI
// code page, on the command line and in the walk.
TEST(Walk, TheProgramNeitherWaitsNorColoursOffATerminal) {
  TempFolder dir;
  const std::string top = "\xce\xa9mega \xd0\xb4\xd0\xb8\xd1\x80/";  // Ωmega дир
  const std::string old = dir / (top + "\xe7\xb5\x82/old.vxm");
  WriteBytes(dir / (top + "bad.vxm"), "junk");
  WriteBytes(old, OldModel());
  ProgramResult result = RunProgram(FACETRUE_PATH, {dir / top.substr(0, top.size() - 1)});
  EXPECT_EQ(result.exit_code, kFailureExitCode);
  EXPECT_EQ(result.out, Processed(old));
  EXPECT_EQ(result.err, "facetrue: Unable to load '" + (dir / (top + "bad.vxm")) +
                            "': not a model file: 4 bytes is too short for the header\n");
  ProgramResult none = RunProgram(FACETRUE_PATH, {});
  EXPECT_EQ(none.exit_code, 42);
  EXPECT_EQ(none.out + none.err, "");
}

// With standard output and error closed, what the program prints goes nowhere: never into a model that
// took the freed descriptor (enough messages here to fill the output buffer while one is open).
TEST(Walk, ClosedStandardOutputGoesNowhere) {
  if (sys::kWindows) GTEST_SKIP() << "a shell runs on the native build only";
  TempFolder dir;
  const std::string unknown = ModelBytes({SmallMesh("odd", 0x30000)});
  for (int i = 0; i < 200; ++i) WriteBytes(dir / ("m" + std::to_string(i) + ".vxm"), unknown);
  // The models' format is unknown: each is a failure, reported on the closed error stream.
  EXPECT_EQ(RunProgram("/bin/sh", {"-c", "exec \"$0\" \"$@\" >&- 2>&-", FACETRUE_PATH, dir.path()}).exit_code,
            kFailureExitCode);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(ReadBytes(dir / ("m" + std::to_string(i) + ".vxm")), unknown) << i;
  // A full disk under the "Processed" lines is a failure that says so.
  WriteBytes(dir / "old.vxm", OldModel());
  if (std::system(("mknod '" + (dir / "full") + "' c 1 7").c_str()) != 0) return;
  ProgramResult full = RunProgram(
      "/bin/sh", {"-c", "exec \"$0\" \"$1\" > \"$2\"", FACETRUE_PATH, dir / "old.vxm", dir / "full"});
  EXPECT_EQ(full.exit_code, kFailureExitCode);
  EXPECT_EQ(full.err, "facetrue: standard output: No space left on device\n");
}

#ifndef _WIN32
// On a terminal (input, output and error, as in a shell loop or make) the program shows its
// error in colour and ends without asking for a key.
TEST(Walk, TheProgramNeverWaitsOnAUnixTerminal) {
  TempFolder dir;
  WriteBytes(dir / "bad.vxm", "junk");
  TerminalRun run = RunOnTerminal(FACETRUE_PATH, {dir / "bad.vxm"});
  EXPECT_EQ(run.exit_code, kFailureExitCode);
  const std::string error =
      std::string(platform::BeginErrorColour()) + "facetrue: Unable to load '" + (dir / "bad.vxm") +
      "': not a model file: 4 bytes is too short for the header\r\n" + platform::EndErrorColour();
  EXPECT_EQ(RunOnTerminal(FACETRUE_PATH, {"--quiet", dir / "bad.vxm"}).text, error);
  // Progress, counted beforehand, drawn in place and erased before each line and at the end.
  const std::string line = "0/1 files  0 B of 4 B  " + (dir / "bad.vxm");
  EXPECT_EQ(run.text, "\r" + line + "\r" + std::string(line.size(), ' ') + "\r" + error);
}
#endif

}  // namespace
