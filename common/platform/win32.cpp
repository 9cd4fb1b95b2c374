// Win32 implementation of the operating-system layer. Paths are UTF-8 inside the programs and
// UTF-16 at every Win32 call; error codes are Win32 last-error codes.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h must come first.
#include <shellapi.h>
// windows.h makes SetCurrentDirectory a macro for SetCurrentDirectoryA, which would rename the
// layer's own function in this file only and leave its callers unresolved.
#undef SetCurrentDirectory

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "common/platform/platform.h"
#include "common/platform/watched_files.h"

namespace platform {
namespace {

thread_local int t_last_error = 0;

// Seconds between 1601-01-01 (the FILETIME epoch) and 1970-01-01.
constexpr int64_t kEpochDifference = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;
constexpr int kUniqueTries = 100;

int Fail() {
  t_last_error = static_cast<int>(::GetLastError());
  return -1;
}

bool FailFalse() {
  Fail();
  return false;
}

HANDLE Win(Handle h) { return reinterpret_cast<HANDLE>(h); }

// A UTF-16 copy of UTF-8 text, for the Win32 calls. Fails (and sets the last error) on text
// that is not UTF-8 or when memory runs out.
class WidePath {
 public:
  explicit WidePath(const char* text) { ok = Convert(text ? text : ""); }
  bool Ok() const { return ok; }
  const wchar_t* Chars() const { return reinterpret_cast<const wchar_t*>(wide.Chars()); }

 private:
  bool Convert(const char* text) {
    if (*text == 0) return true;
    int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (units <= 0) return FailFalse();
    if (!wide.TryAcquireBuffer(units)) {
      t_last_error = ERROR_NOT_ENOUGH_MEMORY;
      return false;
    }
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, reinterpret_cast<wchar_t*>(wide.Chars()),
                          units);
    return true;
  }

  UnicodeStringClass wide;
  bool ok;
};

// UTF-8 text of UTF-16 units (count -1: up to the terminator).
bool Narrow(const wchar_t* wide, int count, NarrowStringClass& text) {
  text.Release();
  if (count == 0 || (count < 0 && *wide == 0)) return true;
  int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, count, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return FailFalse();
  int terminated = count < 0 ? bytes : bytes + 1;
  if (!text.TryGrowRaw(terminated)) {
    t_last_error = ERROR_NOT_ENOUGH_MEMORY;
    return false;
  }
  ::WideCharToMultiByte(CP_UTF8, 0, wide, count, text.Chars(), bytes, nullptr, nullptr);
  text.Chars()[terminated - 1] = 0;
  return true;
}

int64_t SecondsFromFileTime(const FILETIME& time) {
  int64_t ticks = static_cast<int64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
  return ticks / kTicksPerSecond - kEpochDifference;
}

FILETIME FileTimeFromSeconds(int64_t seconds) {
  uint64_t ticks = static_cast<uint64_t>(seconds + kEpochDifference) * kTicksPerSecond;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

// The permission bits that stand for the attributes: everyone may read, and write unless the
// file is read-only; folders are searchable.
uint32_t ModeFromAttributes(DWORD attributes) {
  uint32_t mode = 0444;
  if (!(attributes & FILE_ATTRIBUTE_READONLY)) mode |= 0222;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) mode |= 0111;
  return mode;
}

void FillStatus(DWORD attributes, const FILETIME& modified, DWORD size_high, DWORD size_low, bool is_link,
                FileStatus* status) {
  status->exists = true;
  status->is_directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !is_link;
  status->is_regular = (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0 && !is_link;
  status->is_stream = (attributes & FILE_ATTRIBUTE_DEVICE) != 0 && !is_link;
  status->is_link = is_link;
  status->size = static_cast<int64_t>(size_high) << 32 | size_low;
  status->modified = SecondsFromFileTime(modified);
  status->mode = ModeFromAttributes(attributes);
}

// Opens what a path names, links followed, only to ask about it (folders included).
HANDLE OpenForQuery(const wchar_t* path) {
  return ::CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Whether the path names one of the system's devices (NUL, CON, COM1 ... in any folder, or
// \\.\NAME): the full path of one is in the device namespace. Devices have no attributes.
bool IsDevice(const wchar_t* path) {
  wchar_t full[16];
  DWORD units = ::GetFullPathNameW(path, 16, full, nullptr);
  return units > 4 && units < 16 && wcsncmp(full, L"\\\\.\\", 4) == 0;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

class Win32Disk : public DiskInterface {
 public:
  Handle Open(const char* path, int rights) override {
    DWORD access, share, disposition;
    switch (rights) {
      case kReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        share = 0;
        disposition = OPEN_ALWAYS;
        break;
      case kRead:
        access = GENERIC_READ;
        share = FILE_SHARE_READ;
        disposition = OPEN_EXISTING;
        break;
      case kWrite:
        access = GENERIC_WRITE;
        share = 0;
        disposition = CREATE_ALWAYS;
        break;
      default:
        t_last_error = ERROR_INVALID_PARAMETER;
        return kInvalidHandle;
    }
    WidePath wide(path);
    if (!wide.Ok()) return kInvalidHandle;
    HANDLE h =
        ::CreateFileW(wide.Chars(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Fail();
    return reinterpret_cast<Handle>(h);
  }

  int Read(Handle h, void* buffer, int size) override {
    if (size < 0) {
      t_last_error = ERROR_INVALID_PARAMETER;
      return -1;
    }
    DWORD done = 0;
    if (!::ReadFile(Win(h), buffer, static_cast<DWORD>(size), &done, nullptr)) {
      // The writer of a pipe has gone: that is the end of the input.
      if (::GetLastError() == ERROR_BROKEN_PIPE) return 0;
      return Fail();
    }
    return static_cast<int>(done);
  }

  int Write(Handle h, const void* buffer, int size) override {
    if (size < 0) {
      t_last_error = ERROR_INVALID_PARAMETER;
      return -1;
    }
    const char* p = static_cast<const char*>(buffer);
    int done = 0;
    while (done < size) {
      DWORD n = 0;
      if (!::WriteFile(Win(h), p + done, static_cast<DWORD>(size - done), &n, nullptr)) {
        Fail();
        return done > 0 ? done : -1;
      }
      if (n == 0) {
        t_last_error = ERROR_WRITE_FAULT;
        return done;
      }
      done += static_cast<int>(n);
    }
    return done;
  }

  int64_t Seek(Handle h, int64_t offset, int origin) override {
    // FILE_BEGIN, FILE_CURRENT and FILE_END are the origins' own values.
    if (origin != kBegin && origin != kCurrent && origin != kEnd) {
      t_last_error = ERROR_INVALID_PARAMETER;
      return -1;
    }
    LONG high = static_cast<LONG>(offset >> 32);
    ::SetLastError(NO_ERROR);
    DWORD low = ::SetFilePointer(Win(h), static_cast<LONG>(offset), &high, static_cast<DWORD>(origin));
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return Fail();
    return static_cast<int64_t>(high) << 32 | low;
  }

  int64_t Size(Handle h) override {
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    DWORD low = ::GetFileSize(Win(h), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return Fail();
    return static_cast<int64_t>(high) << 32 | low;
  }

  bool Close(Handle h) override { return ::CloseHandle(Win(h)) || FailFalse(); }
  bool Sync(Handle h) override { return ::FlushFileBuffers(Win(h)) || FailFalse(); }

  // Only the write bit has a Windows counterpart: the read-only attribute.
  // Files have no owning user and group numbers here; a new file belongs to its creator.
  bool Delete(const char* path) override {
    WidePath wide(path);
    return (wide.Ok() && ::DeleteFileW(wide.Chars())) || (wide.Ok() && FailFalse());
  }

  // An existing target is replaced with ReplaceFileW, which keeps its attributes and security;
  // a new one is a plain move.
  bool Rename(const char* from, const char* to) override {
    WidePath wide_from(from), wide_to(to);
    if (!wide_from.Ok() || !wide_to.Ok()) return false;
    if (::GetFileAttributesW(wide_to.Chars()) != INVALID_FILE_ATTRIBUTES &&
        ::ReplaceFileW(wide_to.Chars(), wide_from.Chars(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                       nullptr)) {
      return true;
    }
    return ::MoveFileExW(wide_from.Chars(), wide_to.Chars(), MOVEFILE_REPLACE_EXISTING) || FailFalse();
  }

  // The file system journals its names itself; a folder cannot be flushed.
  bool SyncFolderOf(const char*) override { return true; }

  bool Status(const char* path, FileStatus* status) override {
    *status = FileStatus();
    WidePath wide(path);
    if (!wide.Ok()) return false;
    if (IsDevice(wide.Chars())) {
      status->exists = status->is_stream = true;
      status->mode = 0666;
      return true;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(wide.Chars(), GetFileExInfoStandard, &data)) return FailFalse();
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      FillStatus(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow, false,
                 status);
      return true;
    }
    // A link: ask about what it leads to.
    HANDLE h = OpenForQuery(wide.Chars());
    if (h == INVALID_HANDLE_VALUE) return FailFalse();
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = ::GetFileInformationByHandle(h, &info) || FailFalse();
    ::CloseHandle(h);
    if (ok) {
      FillStatus(info.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT),
                 info.ftLastWriteTime, info.nFileSizeHigh, info.nFileSizeLow, false, status);
    }
    return ok;
  }

  bool LinkStatus(const char* path, FileStatus* status) override {
    *status = FileStatus();
    WidePath wide(path);
    if (!wide.Ok()) return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(wide.Chars(), GetFileExInfoStandard, &data)) return FailFalse();
    FillStatus(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow,
               (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0, status);
    return true;
  }

  // A file open here cannot be replaced by a rename (ReplaceFileW and MoveFileExW refuse a target
  // that is open), so a lock held across the replacement is not possible.
  bool Lock(Handle) override {
    t_last_error = ERROR_NOT_SUPPORTED;
    return false;
  }

  bool ListDirectory(const char* path, DynamicArrayClass<DirEntry>& entries) override {
    NarrowStringClass pattern = JoinPath(path, "*");
    WidePath wide(pattern);
    if (!wide.Ok()) return false;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(wide.Chars(), &found);
    if (search == INVALID_HANDLE_VALUE) return FailFalse();
    bool ok = true;
    do {
      if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0) continue;
      DirEntry entry;
      if (!Narrow(found.cFileName, -1, entry.name)) {
        ok = false;
        break;
      }
      entry.is_link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      entry.is_directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !entry.is_link;
      if (!entries.Add(entry)) {
        t_last_error = ERROR_NOT_ENOUGH_MEMORY;
        ok = false;
        break;
      }
    } while (::FindNextFileW(search, &found));
    if (ok && ::GetLastError() != ERROR_NO_MORE_FILES) ok = FailFalse();
    ::FindClose(search);
    return ok;
  }

  Handle CreateUnique(const char* prefix, NarrowStringClass& path) override {
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    uint64_t seed = static_cast<uint64_t>(::GetCurrentProcessId()) << 32 ^ ::GetTickCount64();
    for (int attempt = 0; attempt < kUniqueTries; ++attempt) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      char suffix[7];
      uint64_t bits = seed >> 16;
      for (int i = 0; i < 6; ++i, bits /= 36) suffix[i] = kDigits[bits % 36];
      suffix[6] = 0;
      NarrowStringClass candidate;
      if (!candidate.TryAcquireBuffer(static_cast<int>(strlen(prefix)) + 7)) {
        t_last_error = ERROR_NOT_ENOUGH_MEMORY;
        return kInvalidHandle;
      }
      candidate.Append(prefix);
      candidate.Append(suffix);
      WidePath wide(candidate);
      if (!wide.Ok()) return kInvalidHandle;
      // Delete sharing lets a stop of the program delete it while it is open.
      HANDLE h = ::CreateFileW(wide.Chars(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        path = std::move(candidate);
        return reinterpret_cast<Handle>(h);
      }
      DWORD error = ::GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return Fail();
    }
    t_last_error = ERROR_FILE_EXISTS;
    return kInvalidHandle;
  }
};

Win32Disk g_system_disk;

// The console attribute that was in use before the error colour, while it is shown.
WORD g_saved_attribute = 0;
bool g_colour_switched = false;

}  // namespace

DiskInterface& SystemDisk() { return g_system_disk; }

Handle Duplicate(Handle h) {
  HANDLE copy = INVALID_HANDLE_VALUE;
  HANDLE process = ::GetCurrentProcess();
  if (!::DuplicateHandle(process, Win(h), process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    Fail();
    return kInvalidHandle;
  }
  return reinterpret_cast<Handle>(copy);
}

bool GetModified(Handle h, int64_t* seconds) {
  FILETIME written;
  if (!::GetFileTime(Win(h), nullptr, nullptr, &written)) return FailFalse();
  *seconds = SecondsFromFileTime(written);
  return true;
}

bool SetModified(Handle h, int64_t seconds) {
  FILETIME time = FileTimeFromSeconds(seconds);
  return ::SetFileTime(Win(h), nullptr, &time, &time) || FailFalse();
}

bool SetMode(Handle h, uint32_t mode) {
  FILE_BASIC_INFO info;
  if (!::GetFileInformationByHandleEx(Win(h), FileBasicInfo, &info, sizeof info)) return FailFalse();
  DWORD attributes = info.FileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
  if (mode & 0200) {
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  } else {
    attributes |= FILE_ATTRIBUTE_READONLY;
  }
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  if (attributes == info.FileAttributes) return true;
  info.FileAttributes = attributes;
  return ::SetFileInformationByHandle(Win(h), FileBasicInfo, &info, sizeof info) || FailFalse();
}

bool SetOwner(Handle, uint32_t, uint32_t) { return true; }

bool ResolvePath(const char* path, NarrowStringClass& resolved) {
  WidePath wide(path);
  if (!wide.Ok()) return false;
  HANDLE h = OpenForQuery(wide.Chars());
  if (h == INVALID_HANDLE_VALUE) return FailFalse();
  UnicodeStringClass buffer(MAX_PATH + 1, false);
  DWORD units = 0;
  for (;;) {
    DWORD room = static_cast<DWORD>(buffer.Capacity());
    units = ::GetFinalPathNameByHandleW(h, reinterpret_cast<wchar_t*>(buffer.Chars()), room,
                                        FILE_NAME_NORMALIZED);
    if (units == 0 || units < room) break;
    buffer.GrowRaw(static_cast<int>(units) + 1);
    if (buffer.Capacity() <= static_cast<int>(units)) {
      ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      units = 0;
      break;
    }
  }
  bool ok = units != 0 || FailFalse();
  ::CloseHandle(h);
  if (!ok) return false;
  // "\\?\C:\..." becomes "C:\..."; "\\?\UNC\server\share" becomes "\\server\share".
  const wchar_t* full = reinterpret_cast<const wchar_t*>(buffer.Chars());
  if (wcsncmp(full, L"\\\\?\\UNC\\", 8) == 0) {
    NarrowStringClass rest;
    if (!Narrow(full + 8, -1, rest)) return false;
    resolved = "\\\\";
    resolved.Append(rest);
    return true;
  }
  if (wcsncmp(full, L"\\\\?\\", 4) == 0) full += 4;
  return Narrow(full, -1, resolved);
}

bool Identify(Handle h, const char* path, FileIdentity* identity) {
  HANDLE query = Win(h);
  if (h == kInvalidHandle) {
    WidePath wide(path);
    if (!wide.Ok()) return false;
    query = OpenForQuery(wide.Chars());
    if (query == INVALID_HANDLE_VALUE) return FailFalse();
  }
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = ::GetFileInformationByHandle(query, &info) || FailFalse();
  if (h == kInvalidHandle) ::CloseHandle(query);
  if (!ok) return false;
  identity->device = info.dwVolumeSerialNumber;
  identity->file = static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  identity->size = static_cast<int64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  uint64_t ticks =
      static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;
  identity->modified_ns = static_cast<int64_t>(ticks) * 100;
  return true;
}

int LastError() { return t_last_error; }
void SetLastError(int code) { t_last_error = code; }

// The system's text without its closing full stop and line break, as the other systems word it.
NarrowStringClass ErrorText(int code) {
  if (const char* own = OwnErrorText(code)) return NarrowStringClass(own);
  wchar_t* text = nullptr;
  DWORD units = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text),
      0, nullptr);
  while (units > 0 && (text[units - 1] == L'\r' || text[units - 1] == L'\n' || text[units - 1] == L' ' ||
                       text[units - 1] == L'.')) {
    --units;
  }
  NarrowStringClass result;
  if (units == 0 || !Narrow(text, static_cast<int>(units), result)) {
    char number[32];
    snprintf(number, sizeof number, "Error %d", code);
    result.TryAssign(number);  // empty when even this cannot be made
  }
  if (text) ::LocalFree(text);
  return result;
}

// The file classes have always reported 2 for a missing name and 9 for a seek on a closed file.
int ErrorNoName() { return ERROR_FILE_NOT_FOUND; }
int ErrorBadHandle() { return 9; }
int ErrorInvalid() { return ERROR_INVALID_PARAMETER; }
int ErrorNoMemory() { return ERROR_NOT_ENOUGH_MEMORY; }
int ErrorTooLarge() { return ERROR_FILE_TOO_LARGE; }
int ErrorShortWrite() { return ERROR_WRITE_FAULT; }
// The runtime keeps the system's code of its last failed call beside errno.
int RuntimeError() {
  switch (errno) {
    case ENOSPC:
      return ERROR_DISK_FULL;
    case EPIPE:
      return ERROR_NO_DATA;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    default:
      return _doserrno ? static_cast<int>(_doserrno) : ERROR_WRITE_FAULT;
  }
}
int ErrorReadOnly() { return ERROR_ACCESS_DENIED; }

namespace {

WatchedFiles g_watched;

// A stop from the console (Ctrl+C, Ctrl+Break, the window closed, logoff, shutdown) deletes the
// watched files (open with delete sharing, they go when the program's handles close); the
// default handler then ends the program.
BOOL WINAPI RemoveWatchedOnStop(DWORD) {
  g_watched.RemoveAll([](const char* path) {
    WidePath wide(path);
    if (wide.Ok()) ::DeleteFileW(wide.Chars());
  });
  return FALSE;
}

void InstallStopHandler() {
  static const bool installed = ::SetConsoleCtrlHandler(RemoveWatchedOnStop, TRUE) != 0;
  (void)installed;
}

}  // namespace

void WatchTemporaryFile(const char* path) {
  InstallStopHandler();
  g_watched.Add(path);
}

HeldStopsClass::HeldStopsClass() { InstallStopHandler(); }
HeldStopsClass::~HeldStopsClass() = default;

void ForgetTemporaryFile(const char* path) { g_watched.Remove(path); }

void CloseInBackground(Handle h) { SystemDisk().Close(h); }

bool CurrentDirectory(NarrowStringClass& path) {
  DWORD units = ::GetCurrentDirectoryW(0, nullptr);
  if (units == 0) return FailFalse();
  UnicodeStringClass buffer(static_cast<int>(units), false);
  if (buffer.Capacity() < static_cast<int>(units)) {
    t_last_error = ERROR_NOT_ENOUGH_MEMORY;
    return false;
  }
  units = ::GetCurrentDirectoryW(units, reinterpret_cast<wchar_t*>(buffer.Chars()));
  if (units == 0) return FailFalse();
  return Narrow(reinterpret_cast<const wchar_t*>(buffer.Chars()), static_cast<int>(units), path);
}

bool SetCurrentDirectory(const char* path) {
  WidePath wide(path);
  return (wide.Ok() && ::SetCurrentDirectoryW(wide.Chars())) || (wide.Ok() && FailFalse());
}

bool MakeFolder(const char* path) {
  WidePath wide(path);
  return (wide.Ok() && ::CreateDirectoryW(wide.Chars(), nullptr)) || (wide.Ok() && FailFalse());
}

char PathSeparator() { return '\\'; }

NarrowStringClass JoinPath(const char* folder, const char* name) {
  NarrowStringClass path(folder);
  int length = path.Length();
  // "C:" alone names the drive's current folder, so nothing is put between it and the name.
  bool bare_drive = length == 2 && path[1] == ':';
  if (length == 0 || (!IsSeparator(path[length - 1]) && !bare_drive)) path.Append(PathSeparator());
  path.Append(name);
  return path;
}

// "C:\..." or "C:/...", and "\\server\share" (or with slashes); "C:name" and "\name" depend on
// the current folder of a drive.
bool IsAbsolutePath(const char* path) {
  if (!path) return false;
  bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  if (letter && path[1] == ':' && IsSeparator(path[2])) return true;
  return IsSeparator(path[0]) && IsSeparator(path[1]);
}

const char* FileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p) {
    if (IsSeparator(*p) || *p == ':') name = p + 1;
  }
  return name;
}

uint32_t DefaultFileMode() { return 0666; }

namespace {

HANDLE StandardWinHandle(int stream) {
  DWORD which = stream == kStdin    ? STD_INPUT_HANDLE
                : stream == kStdout ? STD_OUTPUT_HANDLE
                                    : STD_ERROR_HANDLE;
  return ::GetStdHandle(which);
}

}  // namespace

Handle StandardHandle(int stream) { return reinterpret_cast<Handle>(StandardWinHandle(stream)); }

bool IsTerminal(int stream) {
  DWORD mode;
  return ::GetConsoleMode(StandardWinHandle(stream), &mode) != 0;
}

int TerminalColumns(int stream) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!::GetConsoleScreenBufferInfo(StandardWinHandle(stream), &info)) return 80;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

int ReadKey() {
  HANDLE in = StandardWinHandle(kStdin);
  DWORD mode;
  if (!::GetConsoleMode(in, &mode)) {
    unsigned char c = 0;
    DWORD n = 0;
    return ::ReadFile(in, &c, 1, &n, nullptr) && n == 1 ? c : -1;
  }
  for (;;) {
    INPUT_RECORD record;
    DWORD n = 0;
    if (!::ReadConsoleInputW(in, &record, 1, &n) || n == 0) return -1;
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) {
      WCHAR c = record.Event.KeyEvent.uChar.UnicodeChar;
      // Shift, Ctrl and the like alone are no key press.
      if (c != 0) return c;
      WORD key = record.Event.KeyEvent.wVirtualKeyCode;
      if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU && key != VK_CAPITAL) return key;
    }
  }
}

bool ConsoleIsOwnWindow() {
  DWORD processes[2];
  return ::GetConsoleProcessList(processes, 2) == 1;
}

// The console's text attributes: bright red (red and intensity), then what was there before.
// Standard output is flushed first: its lines share the console with the error lines.
const char* BeginErrorColour() {
  fflush(stdout);
  fflush(stderr);
  CONSOLE_SCREEN_BUFFER_INFO info;
  HANDLE out = StandardWinHandle(kStderr);
  if (!::GetConsoleScreenBufferInfo(out, &info)) return "";
  g_saved_attribute = info.wAttributes;
  g_colour_switched = ::SetConsoleTextAttribute(out, FOREGROUND_RED | FOREGROUND_INTENSITY) != 0;
  return "";
}

const char* EndErrorColour() {
  fflush(stderr);
  if (g_colour_switched) ::SetConsoleTextAttribute(StandardWinHandle(kStderr), g_saved_attribute);
  g_colour_switched = false;
  return "";
}

// A standard handle that is missing gets the null device, and so does the runtime's stream over
// it, which would otherwise fail every write.
void OpenClosedStandardStreams() {
  const DWORD kWhich[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  FILE* const kStreams[] = {stdin, stdout, stderr};
  for (int i = 0; i <= 2; ++i) {
    HANDLE h = ::GetStdHandle(kWhich[i]);
    if (h != nullptr && h != INVALID_HANDLE_VALUE) continue;
    HANDLE null_device =
        ::CreateFileW(L"NUL", i == 0 ? GENERIC_READ : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (null_device == INVALID_HANDLE_VALUE) continue;
    ::SetStdHandle(kWhich[i], null_device);
    std::freopen("NUL", i == 0 ? "r" : "w", kStreams[i]);
  }
}

CommandLineClass::CommandLineClass(int argc, char** argv) : count(argc), values(argv) {
  int wide_count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &wide_count);
  if (!wide) return;
  NarrowStringClass* texts = new (std::nothrow) NarrowStringClass[wide_count];
  char** pointers = new (std::nothrow) char*[wide_count + 1];
  bool ok = texts && pointers;
  for (int i = 0; ok && i < wide_count; ++i) {
    ok = Narrow(wide[i], -1, texts[i]);
    if (ok) pointers[i] = texts[i].Chars();
  }
  ::LocalFree(wide);
  if (!ok) {
    // The narrow arguments of the runtime are still there.
    delete[] pointers;
    delete[] texts;
    return;
  }
  pointers[wide_count] = nullptr;
  strings = texts;
  values = pointers;
  count = wide_count;
}

CommandLineClass::~CommandLineClass() {
  if (!strings) return;
  delete[] values;
  delete[] strings;
}

}  // namespace platform
