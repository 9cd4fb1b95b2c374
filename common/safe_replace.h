// SafeReplaceClass: writes a new version of a file under a temporary name in the same folder
// and puts it in place of the old one only when it is complete and on disk, through the disk it
// is given (by default the system's). Until Commit
// succeeds the old file stays as it was; a failed, abandoned or interrupted (SIGINT, SIGTERM,
// SIGHUP, SIGPIPE) replacement deletes the temporary file. A symbolic link is written through: the file
// it names is replaced and the link stays. A file without write permission is refused. The new
// file keeps the permissions (and, where allowed, the owner) of the one it replaces. A file with
// several hard links becomes a new file under this one name.
//
// What is replaced is decided by what the target is, links followed: a regular file, or no file,
// is replaced as above; a character device, pipe or socket (/dev/null, /dev/stdout, a FIFO,
// NUL or CON) is written into directly, in order, with no temporary file and no rename, so a
// failure there cannot be undone, only reported; anything else (a folder, a block device) is
// refused as "not a regular file" and left untouched. A link to a missing file is refused as
// such ("a symbolic link to a missing file"), and nothing is made where it points.
//
// A stop arriving while the temporary file is being created waits until the file is watched;
// a temporary file whose folder is renamed meanwhile is still found and deleted on failure.
#pragma once

#include "common/disk_file.h"
#include "common/file_lock.h"
#include "common/string_class.h"

class SafeReplaceClass {
 public:
  explicit SafeReplaceClass(const char* target, platform::DiskInterface& disk = platform::SystemDisk());
  ~SafeReplaceClass();
  SafeReplaceClass(const SafeReplaceClass&) = delete;
  SafeReplaceClass& operator=(const SafeReplaceClass&) = delete;

  // Whether Commit puts the new bytes and the new name on disk before it returns (the default).
  // Without it the replacement is still all-or-nothing for the program's own failures and for
  // a stopped program, but a power cut may lose the new file.
  void SetDurable(bool on) { durable = on; }
  // With durability on, Commit also syncs the folder, so that the new name survives a power cut.
  // A caller that replaces many files in one folder may turn that off and sync the folder once
  // after the last Commit (FileNames::SyncFolderOf), reporting a failure there itself.
  void SetFolderSync(bool on) { folder_sync = on; }

  // For a new version made from what the caller read of the target under lock (which stays
  // the caller's): just before the rename the target must still be the version the lock saw,
  // else nothing is replaced and the lock's message is the error. This catches a program that
  // does not take the lock and replaces the file while the new version is being written.
  void SetUnchangedCheck(const FileLockClass* lock) { unchanged = lock; }

  // Makes Begin write into standard output, directly as into a pipe, whatever it is (a terminal,
  // a pipe, a redirected file), through a handle of its own that Commit closes, after what the C
  // runtime's stdout holds.
  void UseStandardOutput() { standard_output = true; }

  // Creates the temporary file (or opens the device or pipe); File() then writes into it.
  bool Begin();
  // Whether Begin opened a device or pipe, which takes the bytes in order and cannot seek.
  bool IsDirect() const { return direct; }
  ErrorKeepingFile<DiskFileClass>& File() { return file; }
  // Flushes, closes and renames the temporary file over the target (closes a device or pipe).
  // False when any write failed or the system refuses; a replaced target is then untouched.
  bool Commit();
  // Deletes the temporary file (closes a device or pipe). False when it cannot be deleted:
  // LeftBehind() then names it and why, and so does ErrorMessage() after a failure.
  bool Abort();
  // Ends a replacement after the caller's writes into File(): commits when written, otherwise
  // fails with the file's own error or, when the file saw none, with code. On failure the
  // temporary file is removed and error (when given) receives the message. A failed Begin ends
  // here too, with its own message.
  bool Finish(bool written, int code, NarrowStringClass* error);

  // Writes bytes as the whole new content of target in one step.
  static bool WriteWhole(const char* target, const void* data, int size, NarrowStringClass* error,
                         platform::DiskInterface& disk = platform::SystemDisk());

  // The file that is replaced: the caller's path, or the file a link there names.
  const NarrowStringClass& Target() const { return target; }
  // "path: reason" for the failure, or empty.
  const NarrowStringClass& ErrorMessage() const { return error; }
  int ErrorCode() const { return error_code; }
  // "temporary path: the temporary file is left behind: reason", or empty.
  const NarrowStringClass& LeftBehind() const { return left_behind; }

 private:
  // Keeps the first failure as "path: reason"; always false.
  bool Fail(int code);
  // The same for a temporary file that cannot be created: the reason names the folder, which is
  // what is missing or read-only, not the file.
  bool FailInFolder(int code);
  // Finds the file to replace (following a link), tells whether it is written into directly,
  // and refuses what is neither a regular file nor a stream, and one without write permission.
  // existing receives whether there is a file to replace, old its status.
  bool ChooseTarget(platform::FileStatus& old, bool& existing);
  void CloseFinder();
  // Gives the temporary file the target's name.
  bool PutInPlace();

  platform::DiskInterface& disk;
  NarrowStringClass path;    // as the caller named it
  NarrowStringClass target;  // the file that is replaced
  NarrowStringClass temp_path;
  platform::Handle finder = platform::kInvalidHandle;  // the temporary file, open for reading
  ErrorKeepingFile<DiskFileClass> file;
  const FileLockClass* unchanged = nullptr;
  NarrowStringClass error;
  NarrowStringClass left_behind;
  int error_code = 0;
  bool durable = true;
  bool folder_sync = true;
  bool named = false;   // the caller's name was copied
  bool direct = false;  // the target is a device or pipe, written into without a temporary file
  bool standard_output = false;
};
