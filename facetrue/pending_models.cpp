// Models waiting for their folder sync.
#include "facetrue/pending_models.h"

#include <cstring>
#include <utility>

#include "common/platform/platform.h"

namespace {

// Length of the folder part of a path, separator excluded (0 for a bare name).
int FolderLength(const char* path) {
  int length = 0;
  for (int i = 0; path[i]; ++i) {
    if (path[i] == platform::PathSeparator() || path[i] == '/') length = i;
  }
  return length;
}

bool SameFolder(const char* a, const char* b) {
  int length = FolderLength(a);
  return length == FolderLength(b) && strncmp(a, b, static_cast<size_t>(length)) == 0;
}

}  // namespace

void PendingModelsClass::Add(const char* path, const char* target) {
  if (models.Count() > 0 && !SameFolder(models[0].target, target)) Settle();
  Model model;
  if (model.path.TryAssign(path) && model.target.TryAssign(target) && models.Add(std::move(model))) {
    console.Owe(this);
    return;
  }
  // No memory to keep it waiting: its folder is synced now.
  Settle();
  bool synced = names.SyncFolderOf(target);
  Report(path, synced, synced ? "" : platform::ErrorText(platform::LastError()).Chars());
}

void PendingModelsClass::Settle() {
  console.Owe(nullptr);
  if (models.Count() == 0) return;
  bool synced = names.SyncFolderOf(models[0].target);
  NarrowStringClass reason;
  if (!synced) reason = platform::ErrorText(platform::LastError());
  for (int i = 0; i < models.Count(); ++i) Report(models[i].path, synced, reason);
  models.Clear();
}

void PendingModelsClass::Report(const char* path, bool synced, const char* reason) {
  if (synced) {
    console.Print("Processed '%s'\n", path);
  } else {
    console.ErrorPrint("Unable to sync the folder of '%s': %s\n", path, reason);
  }
}
