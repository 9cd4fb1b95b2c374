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
  WalkClass(ConsoleClass& console, platform::Folders& folders)
      : console(console), folders(folders), pending(console) {
    work.SetGrowthStep(kWorkListStep);
  }

  // A path named by the user; folder marks one that a listing showed to be a folder.
  void Push(const char* path, bool folder = false) {
    if (!work.Add(WorkItem{NarrowStringClass(path), folder})) {
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
    if (!folders.Status(path, &status)) return;
    if (status.is_directory) {
      ListFolder(path);
    } else if (MatchesModelPattern(path)) {
      ProcessModelFile(path, console, pending);
    }
  }

  void ListFolder(const char* folder) {
    DynamicArrayClass<platform::DirEntry> entries;
    if (!folders.ListDirectory(folder, entries)) {
      console.ErrorPrint("Unable to list '%s': %s\n", folder,
                         platform::ErrorText(platform::LastError()).Chars());
    }
    for (int i = 0; i < entries.Count(); ++i) {
      const platform::DirEntry& entry = entries[i];
      NarrowStringClass path = platform::JoinPath(folder, entry.name);
      if (entry.is_directory) {
        Push(path, true);
      } else if (MatchesModelPattern(entry.name) && !IsLinkToFolder(entry, path)) {
        ProcessModelFile(path, console, pending);
      }
    }
    pending.Settle();
  }

  bool IsLinkToFolder(const platform::DirEntry& entry, const char* path) {
    platform::FileStatus status;
    return entry.is_link && folders.Status(path, &status) && status.is_directory;
  }

  ConsoleClass& console;
  platform::Folders& folders;
  PendingModelsClass pending;
  DynamicArrayClass<WorkItem> work;
};

}  // namespace

bool MatchesModelPattern(const char* name) {
  size_t length = strlen(name);
  size_t suffix = sizeof kModelSuffix - 1;
  return length >= suffix && CompareNoCase(name + length - suffix, kModelSuffix, suffix) == 0;
}

int RunFacetrue(int count, const char* const* paths, ConsoleClass& console, platform::Folders& folders) {
  if (count <= 0) return kNoPathExitCode;
  WalkClass walk(console, folders);
  for (int i = 0; i < count; ++i) walk.Push(paths[i]);
  walk.Run();
  return console.Failed() ? kFailureExitCode : 0;
}
