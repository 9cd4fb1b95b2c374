// The operating-system layer under the common library: files by handle, folders, file status,
// error texts and the console. All disk access goes through one DiskInterface object, so tests
// can put a fake or failing disk underneath (SetDisk). One implementation per system.
//
// Failures return -1 or false and leave the system's error code in LastError().
#pragma once

#include <cstdint>

#include "common/array.h"
#include "common/string_class.h"

namespace platform {

using Handle = intptr_t;
constexpr Handle kInvalidHandle = -1;

// Open rights: 0 read and write (open or create), 1 read an existing file, 2 write (create or
// truncate).
enum Rights { kReadWrite = 0, kRead = 1, kWrite = 2 };
// Seek origins: from the start, the current position, the end.
enum Origin { kBegin = 0, kCurrent = 1, kEnd = 2 };

struct FileStatus {
  bool exists = false;
  bool is_directory = false;
  bool is_regular = false;  // a plain file: not a folder, pipe, socket or device
  bool is_stream = false;   // a character device, pipe (FIFO) or socket: bytes go in order, no seeking
  bool is_link = false;     // the path itself is a symbolic link (only from LinkStatus)
  int64_t size = 0;
  int64_t modified = 0;  // seconds since 1970, UTC
  uint32_t mode = 0;     // permission bits
  uint32_t owner = 0;    // user and group that own the file
  uint32_t group = 0;
};

struct DirEntry {
  NarrowStringClass name;
  bool is_directory = false;  // a real folder; a link to a folder is not one
  bool is_link = false;       // a symbolic link (to anything)
};

class DiskInterface {
 public:
  virtual ~DiskInterface() = default;

  virtual Handle Open(const char* path, int rights) = 0;
  // Bytes read (0 at the end of the file), or -1.
  virtual int Read(Handle h, void* buffer, int size) = 0;
  // Bytes written, or -1.
  virtual int Write(Handle h, const void* buffer, int size) = 0;
  virtual int64_t Seek(Handle h, int64_t offset, int origin) = 0;
  virtual int64_t Size(Handle h) = 0;
  virtual bool Close(Handle h) = 0;
  // Makes the written bytes durable.
  virtual bool Sync(Handle h) = 0;
  // Asks the system to start putting the last size bytes written on disk now, without waiting,
  // so that a later Sync finds most of the work done. Only worth it for a file that will be
  // synced: otherwise it makes the program wait on the disk for nothing.
  virtual void StartWriteBack(Handle, int /*size*/) {}
  // Copies up to size bytes from the current position of from to the current position of to
  // inside the system where it can (the bytes never pass through the program), advancing both
  // positions. Returns the bytes copied: fewer, down to 0, when the system cannot copy more or
  // a failure stops it. The caller copies the rest the ordinary way, which meets and reports
  // any failure.
  virtual int64_t CopyFileRange(Handle /*from*/, Handle /*to*/, int64_t /*size*/) { return 0; }
  virtual bool GetModified(Handle h, int64_t* seconds) = 0;
  // Sets last-access and last-write time.
  virtual bool SetModified(Handle h, int64_t seconds) = 0;
  virtual bool SetMode(Handle h, uint32_t mode) = 0;
  virtual bool SetOwner(Handle h, uint32_t owner, uint32_t group) = 0;

  virtual bool Delete(const char* path) = 0;
  // Deletes the file open as h (which may be kInvalidHandle), created as path. Where a folder on
  // the way was renamed meanwhile, the system that can tell finds the file where it is now.
  virtual bool DeleteOpen(Handle /*h*/, const char* path) { return Delete(path); }
  // Puts from in place of to, replacing it in one step.
  virtual bool Rename(const char* from, const char* to) = 0;
  // Swaps the names a and b, which must both exist, in one step. False, with nothing changed,
  // where the system cannot do that (the caller then renames).
  virtual bool Exchange(const char* /*a*/, const char* /*b*/) { return false; }
  // Makes the names in the folder that holds path durable (after a rename into it).
  virtual bool SyncFolderOf(const char* path) = 0;
  // Status of what the path names, following links.
  virtual bool Status(const char* path, FileStatus* status) = 0;
  // Status of the path itself, not following a final link.
  virtual bool LinkStatus(const char* path, FileStatus* status) = 0;
  // The absolute path with every symbolic link resolved; the path must exist.
  virtual bool ResolvePath(const char* path, NarrowStringClass& resolved) = 0;
  // Every entry of the folder except "." and "..", in the order the system lists them.
  virtual bool ListDirectory(const char* path, DynamicArrayClass<DirEntry>& entries) = 0;
  // Creates a new empty file with a unique name starting with prefix, open for reading and
  // writing and readable only by its owner; its name goes to path.
  virtual Handle CreateUnique(const char* prefix, NarrowStringClass& path) = 0;
};

// The disk in use: the system's own unless a test has put another one in place.
DiskInterface& Disk();
// Installs disk (null restores the system's) and returns the one that was in use.
DiskInterface* SetDisk(DiskInterface* disk);
// The system's own disk, for fakes that wrap it.
DiskInterface& SystemDisk();

int LastError();
void SetLastError(int code);
// The system's message text for an error code.
NarrowStringClass ErrorText(int code);

// Error codes the common library reports itself.
int ErrorNoName();      // an operation on a file without a name
int ErrorBadHandle();   // a seek on a closed file
int ErrorInvalid();     // an invalid argument
int ErrorNoMemory();    // memory ran out
int ErrorTooLarge();    // a size or position beyond 2^31 - 1
int ErrorShortWrite();  // the system took fewer bytes than asked
int ErrorReadOnly();    // a file without write permission is not replaced
int ErrorNotRegular();  // a path that must name a regular file names something else
// The text of the library's own codes (ErrorNotRegular), or null for the system's codes.
const char* OwnErrorText(int code);

// 0 when path names a regular file (links followed); otherwise the code to report: the
// system's, or ErrorNotRegular for a folder, device, pipe or socket. For readers that seek.
int RegularFileError(const char* path);

// The longest name of one file or folder (a single path component), in bytes.
constexpr int kMaxNameBytes = 255;

// Temporary files that the stopping signals (interrupt, termination, hang-up) delete before the
// program ends; while any is watched, going past the file-size limit fails the write instead
// of stopping the program. path must stay valid until it is forgotten. Up to 16 at once.
void WatchTemporaryFile(const char* path);
void ForgetTemporaryFile(const char* path);

// While it lives the stopping signals wait, their handlers installed first, so that a temporary
// file can be created and watched as one step: a stop in between takes effect once it is watched.
// Windows stops through a console handler, which is only installed here.
class HeldStopsClass {
 public:
  HeldStopsClass();
  ~HeldStopsClass();
  HeldStopsClass(const HeldStopsClass&) = delete;
  HeldStopsClass& operator=(const HeldStopsClass&) = delete;

 private:
  alignas(8) [[maybe_unused]] unsigned char saved[128];  // the signal mask to restore
};

bool CurrentDirectory(NarrowStringClass& path);
// Creates one folder (its parent must exist). False when it cannot be made or the name is taken
// already, by a folder or anything else.
bool MakeFolder(const char* path);
bool SetCurrentDirectory(const char* path);
char PathSeparator();
// folder and name joined by one folder separator (none added after a folder that ends in one).
NarrowStringClass JoinPath(const char* folder, const char* name);
bool IsAbsolutePath(const char* path);
// The permission bits new files get (after the process's mask).
uint32_t DefaultFileMode();

// Console.
enum Stream { kStdin = 0, kStdout = 1, kStderr = 2 };
bool IsTerminal(int stream);
// The handle of a standard stream, for reading and writing it through Disk(); never closed.
Handle StandardHandle(int stream);
// Waits for one key press on the console and returns it.
int ReadKey();
// Error lines on standard output: BeginErrorColour switches to bright red, EndErrorColour back to
// the colour that was there before. Where the terminal takes colour as escape sequences, they are
// returned for the caller to write with the text; where the console has text attributes
// (Windows), the attribute is switched here and the texts are empty.
const char* BeginErrorColour();
const char* EndErrorColour();

// The program's arguments as UTF-8 text. Windows passes them in UTF-16, read here from the
// command line of the process; elsewhere they are argv as it is.
class CommandLineClass {
 public:
  CommandLineClass(int argc, char** argv);
  ~CommandLineClass();
  CommandLineClass(const CommandLineClass&) = delete;
  CommandLineClass& operator=(const CommandLineClass&) = delete;

  int Count() const { return count; }
  char** Values() const { return values; }

 private:
  int count = 0;
  char** values = nullptr;
  [[maybe_unused]] NarrowStringClass* strings = nullptr;  // the converted texts, where there are any
};

}  // namespace platform
