// POSIX implementation of the operating-system layer.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>

#include "common/platform/platform.h"
#include "common/platform/watched_files.h"

namespace platform {
namespace {

thread_local int t_last_error = 0;

constexpr int kWriteBehindBytes = 256 * 1024;

// Records the system's error code as the last error; -1, what a failed call that gives a count,
// a position or a handle returns.
int Fail() {
  t_last_error = errno;
  return -1;
}

// The same for calls that give success or failure: always false.
bool Failed() {
  Fail();
  return false;
}

// For system calls that give 0 on success: true, or false with the error recorded.
bool Succeeded(int status) { return status == 0 || Failed(); }

int Fd(Handle h) { return static_cast<int>(h); }

void FillStatus(const struct stat& st, FileStatus* status) {
  status->exists = true;
  status->is_directory = S_ISDIR(st.st_mode);
  status->is_regular = S_ISREG(st.st_mode);
  status->is_link = S_ISLNK(st.st_mode);
  status->is_stream = S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode);
  status->size = st.st_size;
  status->modified = st.st_mtim.tv_sec;
  status->mode = st.st_mode & 07777;
  status->owner = st.st_uid;
  status->group = st.st_gid;
}

class PosixDisk : public DiskInterface {
 public:
  Handle Open(const char* path, int rights) override {
    int flags;
    switch (rights) {
      case kReadWrite:
        flags = O_RDWR | O_CREAT;
        break;
      case kRead:
        // Not blocking in the open: a pipe without a writer would wait for one forever.
        flags = O_RDONLY | O_NONBLOCK;
        break;
      case kWrite:
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        break;
      default:
        t_last_error = EINVAL;
        errno = EINVAL;
        return kInvalidHandle;
    }
    int fd;
    do {
      fd = ::open(path, flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return Fail();
    // Reads wait for data as usual; a pipe whose writers have all gone reads as ended.
    if ((flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
      Fail();
      ::close(fd);
      return kInvalidHandle;
    }
    return fd;
  }

  int Read(Handle h, void* buffer, int size) override {
    if (size < 0) {
      t_last_error = EINVAL;
      return -1;
    }
    ssize_t n;
    do {
      n = ::read(Fd(h), buffer, static_cast<size_t>(size));
    } while (n < 0 && errno == EINTR);
    return n < 0 ? Fail() : static_cast<int>(n);
  }

  int Write(Handle h, const void* buffer, int size) override {
    if (size < 0) {
      t_last_error = EINVAL;
      return -1;
    }
    // The system may take a large write in pieces; keep going until all is written.
    const char* p = static_cast<const char*>(buffer);
    int done = 0;
    while (done < size) {
      ssize_t n = ::write(Fd(h), p + done, static_cast<size_t>(size - done));
      if (n < 0) {
        if (errno == EINTR) continue;
        Fail();
        return done > 0 ? done : -1;
      }
      if (n == 0) {
        t_last_error = EIO;
        return done;
      }
      done += static_cast<int>(n);
    }
    return done;
  }

  int64_t Seek(Handle h, int64_t offset, int origin) override {
    int whence = origin == kBegin ? SEEK_SET : origin == kCurrent ? SEEK_CUR : origin == kEnd ? SEEK_END : -1;
    if (whence < 0) {
      t_last_error = EINVAL;
      return -1;
    }
    off_t r = ::lseek(Fd(h), offset, whence);
    return r < 0 ? Fail() : r;
  }

  int64_t Size(Handle h) override {
    struct stat st;
    if (::fstat(Fd(h), &st) != 0) return Fail();
    return st.st_size;
  }

  bool Close(Handle h) override { return Succeeded(::close(Fd(h))); }
  bool Sync(Handle h) override { return Succeeded(::fsync(Fd(h))); }

  bool Delete(const char* path) override { return Succeeded(::unlink(path)); }

  bool DeleteOpen(Handle h, const char* path) override {
    if (::unlink(path) == 0) return true;
    if (errno != ENOENT || h == kInvalidHandle) return Failed();
#if defined(__linux__)
    // The folder was renamed (or the file moved): the system knows where the open file is now.
    char link[32], where[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", Fd(h));
    ssize_t n = ::readlink(link, where, sizeof where - 1);
    if (n <= 0) return Failed();
    where[n] = 0;
    // Only the very file that is open, never one that has taken its name since.
    struct stat open_file, found;
    if (::fstat(Fd(h), &open_file) != 0 || ::lstat(where, &found) != 0 || open_file.st_ino != found.st_ino ||
        open_file.st_dev != found.st_dev) {
      return Failed();
    }
    return Succeeded(::unlink(where));
#else
    return Failed();
#endif
  }

  bool Rename(const char* from, const char* to) override { return Succeeded(::rename(from, to)); }

  bool Exchange(const char* a, const char* b) override {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    return Succeeded(::renameat2(AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE));
#else
    (void)a;
    (void)b;
    t_last_error = ENOSYS;
    return false;
#endif
  }

  // The folder's name is cut from path in a buffer of its own: a sync that must follow a rename
  // never fails for want of memory.
  bool SyncFolderOf(const char* path) override {
    char folder[PATH_MAX];
    const char* slash = strrchr(path, '/');
    size_t length = slash ? static_cast<size_t>(slash - path) + (slash == path ? 1 : 0) : 1;
    if (length >= sizeof folder) {
      errno = ENAMETOOLONG;
      return Failed();
    }
    memcpy(folder, slash ? path : ".", length);
    folder[length] = 0;
    int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Failed();
    bool ok = Succeeded(::fsync(fd));
    ::close(fd);
    return ok;
  }

  bool Status(const char* path, FileStatus* status) override {
    struct stat st;
    *status = FileStatus();
    if (!Succeeded(::stat(path, &st))) return false;
    FillStatus(st, status);
    return true;
  }

  bool LinkStatus(const char* path, FileStatus* status) override {
    struct stat st;
    *status = FileStatus();
    if (!Succeeded(::lstat(path, &st))) return false;
    FillStatus(st, status);
    return true;
  }

  bool Lock(Handle h) override {
    int status;
    while ((status = ::flock(Fd(h), LOCK_EX)) != 0 && errno == EINTR) {
    }
    return Succeeded(status);
  }

  bool ListDirectory(const char* path, DynamicArrayClass<DirEntry>& entries) override {
    DIR* dir = ::opendir(path);
    if (!dir) return Failed();
    bool ok = true;
    for (;;) {
      errno = 0;
      struct dirent* e = ::readdir(dir);
      if (!e) {
        if (errno != 0) ok = Failed();
        break;
      }
      if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
      DirEntry entry;
      entry.name = e->d_name;
      unsigned char type = e->d_type;
      if (type == DT_UNKNOWN) {
        // Some file systems do not fill in the type: ask for it.
        struct stat st;
        if (::lstat(JoinPath(path, e->d_name), &st) == 0)
          type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
      }
      entry.is_directory = type == DT_DIR;
      entry.is_link = type == DT_LNK;
      if (!entries.Add(entry)) {
        t_last_error = ENOMEM;
        ok = false;
        break;
      }
    }
    ::closedir(dir);
    return ok;
  }

  void StartWriteBack(Handle h, int size) override {
#if defined(__linux__)
    if (size < kWriteBehindBytes) return;
    off_t end = ::lseek(Fd(h), 0, SEEK_CUR);
    if (end >= size) ::sync_file_range(Fd(h), end - size, size, SYNC_FILE_RANGE_WRITE);
#else
    (void)h;
    (void)size;
#endif
  }

  int64_t CopyFileRange(Handle from, Handle to, int64_t size) override {
#if defined(__linux__)
    int64_t done = 0;
    while (done < size) {
      ssize_t n = ::copy_file_range(Fd(from), nullptr, Fd(to), nullptr, static_cast<size_t>(size - done), 0);
      if (n <= 0) break;
      done += n;
    }
    return done;
#else
    (void)from;
    (void)to;
    (void)size;
    return 0;
#endif
  }

  Handle CreateUnique(const char* prefix, NarrowStringClass& path) override {
    NarrowStringClass pattern;
    if (!pattern.TryAcquireBuffer(static_cast<int>(strlen(prefix)) + 7)) {
      errno = ENOMEM;
      return Fail();
    }
    pattern.Append(prefix);
    pattern.Append("XXXXXX");
    int fd = ::mkostemp(pattern.Chars(), O_CLOEXEC);
    if (fd < 0) return Fail();
    path = std::move(pattern);
    return fd;
  }
};

PosixDisk g_system_disk;

}  // namespace

DiskInterface& SystemDisk() { return g_system_disk; }

Handle Duplicate(Handle h) {
  int fd = ::fcntl(h, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) t_last_error = errno;
  return fd < 0 ? kInvalidHandle : fd;
}

bool GetModified(Handle h, int64_t* seconds) {
  struct stat st;
  if (!Succeeded(::fstat(Fd(h), &st))) return false;
  *seconds = st.st_mtim.tv_sec;
  return true;
}

bool SetModified(Handle h, int64_t seconds) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(seconds);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  return Succeeded(::futimens(Fd(h), times));
}

bool SetMode(Handle h, uint32_t mode) { return Succeeded(::fchmod(Fd(h), static_cast<mode_t>(mode))); }

bool SetOwner(Handle h, uint32_t owner, uint32_t group) {
  return Succeeded(::fchown(Fd(h), static_cast<uid_t>(owner), static_cast<gid_t>(group)));
}

bool ResolvePath(const char* path, NarrowStringClass& resolved) {
  char* full = ::realpath(path, nullptr);
  if (!full) return Failed();
  resolved = full;
  ::free(full);
  return true;
}

bool Identify(Handle h, const char* path, FileIdentity* identity) {
  struct stat st;
  if (!Succeeded(h == kInvalidHandle ? ::stat(path, &st) : ::fstat(Fd(h), &st))) return false;
  identity->device = static_cast<uint64_t>(st.st_dev);
  identity->file = static_cast<uint64_t>(st.st_ino);
  identity->size = st.st_size;
  identity->modified_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

int LastError() { return t_last_error; }
void SetLastError(int code) { t_last_error = code; }

NarrowStringClass ErrorText(int code) {
  if (const char* own = OwnErrorText(code)) return NarrowStringClass(own);
  char buffer[256];
  const char* text = strerror_r(code, buffer, sizeof buffer);
  return NarrowStringClass(text);
}

int ErrorNoName() { return ENOENT; }
int ErrorBadHandle() { return EBADF; }
int ErrorInvalid() { return EINVAL; }
int ErrorNoMemory() { return ENOMEM; }
int ErrorTooLarge() { return EFBIG; }
int ErrorShortWrite() { return EIO; }
int RuntimeError() { return errno ? errno : EIO; }
int ErrorReadOnly() { return EACCES; }

namespace {

WatchedFiles g_watched;
// A reader that has gone away (SIGPIPE, as in `bundlor in out.mix 2>&1 | head`) ends the program
// as the others do.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Deletes the watched files, then lets the signal end the program as it would have.
void RemoveWatchedAndStop(int signal_number) {
  g_watched.RemoveAll([](const char* path) { ::unlink(path); });
  ::raise(signal_number);  // the handler was reset on entry
}

// Takes over the stopping signals that still have their default action (an ignored one stays
// ignored), once.
void InstallSignalHandlers() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = RemoveWatchedAndStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int s : kStopSignals) sigaddset(&action.sa_mask, s);
    for (int s : kStopSignals) {
      struct sigaction old {};
      if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) ::sigaction(s, &action, nullptr);
    }
    struct sigaction old {};
    if (::sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) ::signal(SIGXFSZ, SIG_IGN);
    return true;
  }();
  (void)installed;
}

}  // namespace

void WatchTemporaryFile(const char* path) {
  InstallSignalHandlers();
  g_watched.Add(path);
}

HeldStopsClass::HeldStopsClass() {
  static_assert(sizeof(sigset_t) <= sizeof saved);
  InstallSignalHandlers();
  sigset_t stops, old;
  sigemptyset(&stops);
  for (int s : kStopSignals) sigaddset(&stops, s);
  ::pthread_sigmask(SIG_BLOCK, &stops, &old);
  memcpy(saved, &old, sizeof old);
}

HeldStopsClass::~HeldStopsClass() {
  sigset_t old;
  memcpy(&old, saved, sizeof old);
  ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

void ForgetTemporaryFile(const char* path) { g_watched.Remove(path); }

void CloseInBackground(Handle h) {
  const int fd = Fd(h);
  pid_t child = ::fork();
  if (child == 0) {
    // The child hands the work to a grandchild and ends at once, so that the caller, which
    // waits for it, never waits for the work and leaves no finished process behind.
    if (::fork() == 0) {
      // Nothing else of the program's: no signal deletes its files, no pipe stays open here.
      for (int stop : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::signal(stop, SIG_DFL);
      for (int other = 0; other < fd; ++other) ::close(other);
#if defined(__linux__)
      ::close_range(static_cast<unsigned>(fd) + 1, ~0u, 0);
#endif
      ::close(fd);
    }
    ::_exit(0);
  }
  if (child > 0) ::waitpid(child, nullptr, 0);
  ::close(fd);
}

bool CurrentDirectory(NarrowStringClass& path) {
  char buffer[PATH_MAX];
  if (!::getcwd(buffer, sizeof buffer)) return Failed();
  path = buffer;
  return true;
}

bool SetCurrentDirectory(const char* path) { return Succeeded(::chdir(path)); }
bool MakeFolder(const char* path) { return Succeeded(::mkdir(path, 0777)); }
char PathSeparator() { return '/'; }

NarrowStringClass JoinPath(const char* folder, const char* name) {
  NarrowStringClass path(folder);
  int length = path.Length();
  if (length == 0 || path[length - 1] != PathSeparator()) path.Append(PathSeparator());
  path.Append(name);
  return path;
}
bool IsAbsolutePath(const char* path) { return path && path[0] == '/'; }

const char* FileNamePart(const char* path) {
  const char* slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

uint32_t DefaultFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool IsTerminal(int stream) { return ::isatty(stream) == 1; }
int TerminalColumns(int stream) {
  struct winsize size;
  return ::ioctl(stream, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}
Handle StandardHandle(int stream) { return stream; }

int ReadKey() {
  struct termios old_state;
  bool raw = ::tcgetattr(STDIN_FILENO, &old_state) == 0;
  if (raw) {
    struct termios state = old_state;
    state.c_lflag &= ~(ICANON | ECHO);
    state.c_cc[VMIN] = 1;
    state.c_cc[VTIME] = 0;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &state);
  }
  unsigned char c = 0;
  ssize_t n = ::read(STDIN_FILENO, &c, 1);
  if (raw) ::tcsetattr(STDIN_FILENO, TCSANOW, &old_state);
  return n == 1 ? c : -1;
}

bool ConsoleIsOwnWindow() { return false; }

const char* BeginErrorColour() { return "\x1b[91m"; }
const char* EndErrorColour() { return "\x1b[39m"; }

void OpenClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is fd itself, the ones below it being open by now.
    int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened > fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

CommandLineClass::CommandLineClass(int argc, char** argv) : count(argc), values(argv) {}
CommandLineClass::~CommandLineClass() = default;

}  // namespace platform
