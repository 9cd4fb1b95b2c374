// One model file, from open to replacement.
#include "facetrue/model_file.h"

#include "common/disk_file.h"
#include "common/platform/platform.h"
#include "common/safe_replace.h"
#include "common/string_class.h"
#include "common/write_back_file.h"
#include "facetrue/plane.h"
#include "vxmlib/vxm.h"

namespace {

// Opens an existing, writable regular file for reading and writing. A file without any write
// permission counts as read-only, whoever runs the program. A pipe or device, which the loader
// cannot seek in, is refused before it is opened; not_regular tells so.
platform::Handle OpenModel(const char* path, bool& not_regular, platform::DiskInterface& disk) {
  platform::FileStatus status;
  bool exists = disk.Status(path, &status);
  not_regular = exists && !status.is_regular;
  if (!exists || !status.is_regular || (status.mode & 0222) == 0) return platform::kInvalidHandle;
  return disk.Open(path, platform::kReadWrite);
}

// Saves the model in place of the file, writing it straight into the temporary file of the
// replacement (large arrays go through without a copy), and hands it to pending for the folder
// sync; on failure the file is as it was, and error receives the reason.
bool SaveModel(const char* path, VXM& model, PendingModelsClass& pending, NarrowStringClass& error,
               platform::DiskInterface& disk) {
  SafeReplaceClass replace(path, disk);
  replace.SetFolderSync(false);
  if (!replace.Begin()) {
    error.TryAssign(platform::ErrorText(replace.ErrorCode()));
    return false;
  }
  WriteBackFileClass out(&replace.File());
  model.Save(&out);
  bool written = out.Flush() && !*model.ErrorMessage();
  if (!written || !replace.Commit()) {
    int code = replace.File().ErrorCode() ? replace.File().ErrorCode() : replace.ErrorCode();
    if (code != 0) {
      error.TryAssign(platform::ErrorText(code));
    } else {
      error.TryAssign(out.ErrorCode() || !*model.ErrorMessage() ? "out of memory" : model.ErrorMessage());
    }
    replace.Abort();
    if (!replace.LeftBehind().IsEmpty()) {
      error.Append("; ");
      error.Append(replace.LeftBehind());
    }
    return false;
  }
  pending.Add(path, replace.Target());
  return true;
}

}  // namespace

void ProcessModelFile(const char* path, ConsoleClass& console, PendingModelsClass& pending,
                      platform::DiskInterface& disk) {
  DiskFileClass file(disk);
  bool not_regular = false;
  platform::Handle handle = OpenModel(path, not_regular, disk);
  file.Attach(handle);
  if (not_regular) {
    console.ErrorPrint("Unable to open '%s': %s\n", path,
                       platform::ErrorText(platform::ErrorNotRegular()).Chars());
    return;
  }
  if (handle == platform::kInvalidHandle) {
    console.ErrorPrint("Unable to open '%s'\n", path);
    return;
  }
  VXM model;
  model.Load(&file);
  if (*model.ErrorMessage()) {
    console.ErrorPrint("Unable to load '%s': %s\n", path, model.ErrorMessage());
    return;
  }
  if (RecomputePlanes(model, console) == 0) return;
  console.SetPause();
  // The file is closed before it is replaced, as some systems require.
  file.Close();
  NarrowStringClass error;
  if (!SaveModel(path, model, pending, error, disk))
    console.ErrorPrint("Unable to save '%s': %s\n", path, error.Chars());
}
