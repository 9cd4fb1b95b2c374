// The walk over files and folders.
#include "facetrue/walk.h"

#include <cstring>
#include <utility>

#include "common/array.h"
#include "common/platform/platform.h"
#include "common/string_class.h"
#include "common/string_functions.h"
#include "facetrue/model_file.h"
#include "facetrue/pending_models.h"

namespace {

constexpr const char kModelSuffix[] = ".vxm";
constexpr int kWorkListStep = 64;

class WalkClass {
 public:
  // A counting walk only adds up the model files and their sizes, silently, for the progress
  // line of the real one.
  WalkClass(ConsoleClass& console, platform::DiskInterface& disk, ProgressLineClass* progress, bool counting)
      : console(console), disk(disk), pending(console, disk), progress(progress), counting(counting) {
    work.SetGrowthStep(kWorkListStep);
  }

  int64_t files = 0, bytes = 0;  // what a counting walk found

  // A path named by the user; folder marks one that a listing showed to be a folder.
  void Push(const char* path, bool folder = false) {
    if (!work.Add(WorkItem{NarrowStringClass(path), folder}) && !counting) {
      console.ErrorPrint("Unable to walk '%s': out of memory\n", path);
    }
  }

  void Run() {
    while (work.Count() > 0) {
      int last = work.Count() - 1;
      WorkItem item(std::move(work[last]));
      work.Delete(last);
      if (item.folder) {
        ListFolder(item.path);
      } else {
        Visit(item.path);
      }
    }
    pending.Settle();
  }

 private:
  struct WorkItem {
    NarrowStringClass path;
    bool folder = false;
  };

  void Visit(const char* path) {
    platform::FileStatus status;
    // A path named by the user that cannot be queried yields nothing, as an empty folder would.
    if (!disk.Status(path, &status)) return;
    if (status.is_directory) {
      ListFolder(path);
    } else if (MatchesModelPattern(path)) {
      Model(path);
    }
  }

  void ListFolder(const char* folder) {
    DynamicArrayClass<platform::DirEntry> entries;
    if (!disk.ListDirectory(folder, entries) && !counting) {
      console.ErrorPrint("Unable to list '%s': %s\n", folder,
                         platform::ErrorText(platform::LastError()).Chars());
    }
    for (int i = 0; i < entries.Count(); ++i) {
      const platform::DirEntry& entry = entries[i];
      NarrowStringClass path = platform::JoinPath(folder, entry.name);
      if (entry.is_directory) {
        Push(path, true);
      } else if (MatchesModelPattern(entry.name) && !IsLinkToFolder(entry, path)) {
        Model(path);
      }
    }
    pending.Settle();
  }

  void Model(const char* path) {
    platform::FileStatus status;
    if (!progress || !disk.Status(path, &status)) status.size = 0;
    if (counting) {
      ++files;
      bytes += status.size;
      return;
    }
    if (progress) progress->Begin(path);
    ProcessModelFile(path, console, pending, disk);
    if (progress) progress->Done(status.size);
  }

  bool IsLinkToFolder(const platform::DirEntry& entry, const char* path) {
    platform::FileStatus status;
    return entry.is_link && disk.Status(path, &status) && status.is_directory;
  }

  ConsoleClass& console;
  platform::DiskInterface& disk;
  PendingModelsClass pending;
  ProgressLineClass* progress;
  bool counting;
  DynamicArrayClass<WorkItem> work;
};

}  // namespace

bool MatchesModelPattern(const char* name) {
  size_t length = strlen(name);
  size_t suffix = sizeof kModelSuffix - 1;
  return length >= suffix && CompareNoCase(name + length - suffix, kModelSuffix, suffix) == 0;
}

int RunFacetrue(int count, const char* const* paths, ConsoleClass& console, ProgressLineClass* progress,
                platform::DiskInterface& disk) {
  if (count <= 0) return kNoPathExitCode;
  if (progress) {
    WalkClass tally(console, disk, progress, true);
    for (int i = 0; i < count; ++i) tally.Push(paths[i]);
    tally.Run();
    progress->SetTotal(tally.files, tally.bytes);
  }
  WalkClass walk(console, disk, progress, false);
  for (int i = 0; i < count; ++i) walk.Push(paths[i]);
  walk.Run();
  return console.Failed() ? kFailureExitCode : 0;
}
