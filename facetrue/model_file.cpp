// One model file, from open to replacement.
#include "facetrue/model_file.h"

#include "common/disk_file.h"
#include "common/memory_file.h"
#include "common/platform/platform.h"
#include "common/safe_replace.h"
#include "common/string_class.h"
#include "facetrue/plane.h"
#include "vxmlib/vxm.h"

namespace {

// Opens an existing, writable file for reading and writing. A file without any write permission
// counts as read-only, whoever runs the program.
platform::Handle OpenModel(const char* path) {
  platform::FileStatus status;
  if (!platform::Disk().Status(path, &status) || status.is_directory || (status.mode & 0222) == 0) {
    return platform::kInvalidHandle;
  }
  return platform::Disk().Open(path, platform::kReadWrite);
}

// Writes the model's bytes in place of the file; on failure the file is as it was.
bool Replace(const char* path, MemoryFileClass& bytes, int* error_code) {
  SafeReplaceClass replace(path);
  if (!replace.Begin()) {
    *error_code = replace.ErrorCode();
    return false;
  }
  replace.File().Write(bytes.Data(), bytes.Size());
  if (!replace.Commit()) {
    *error_code = replace.ErrorCode();
    return false;
  }
  return true;
}

}  // namespace

void ProcessModelFile(const char* path, ConsoleClass& console) {
  DiskFileClass file;
  platform::Handle handle = OpenModel(path);
  file.Attach(handle);
  if (handle == platform::kInvalidHandle) {
    console.ErrorPrint("Unable to open '%s'\n", path);
    return;
  }
  VXM model;
  model.Load(&file);
  if (*model.ErrorText()) {
    console.ErrorPrint("Unable to load '%s': %s\n", path, model.ErrorText());
    return;
  }
  if (RecomputePlanes(model, console) == 0) return;
  console.SetPause();
  MemoryFileClass bytes;
  model.Save(&bytes);
  if (*model.ErrorText() || bytes.Failed()) {
    console.ErrorPrint("Unable to save '%s': %s\n", path,
                       *model.ErrorText() ? model.ErrorText() : "out of memory");
    return;
  }
  // The file is closed before it is replaced, as some systems require.
  file.Close();
  int error_code = 0;
  if (!Replace(path, bytes, &error_code)) {
    console.ErrorPrint("Unable to save '%s': %s\n", path, platform::ErrorText(error_code).Chars());
    return;
  }
  console.Print("Processed '%s'\n", path);
}
