// What the tests expect of the system they run on, where Windows and POSIX systems differ: the
// error codes that tests provoke or inject, and the system's texts for them.
#pragma once

#include <cerrno>
#include <filesystem>
#include <string>

#include "common/platform/platform.h"

namespace sys {

#if defined(_WIN32)
constexpr bool kWindows = true;
constexpr bool kNamesIgnoreCase = true;  // "README" and "readme" name one file
constexpr int kIoError = 29;             // ERROR_WRITE_FAULT
constexpr int kDiskFull = 112;           // ERROR_DISK_FULL
constexpr int kPathNotFound = 3;         // ERROR_PATH_NOT_FOUND: a folder on the way is missing
constexpr int kSharingViolation = 32;    // ERROR_SHARING_VIOLATION: the file is open elsewhere
constexpr int kAccessDenied = 5;         // ERROR_ACCESS_DENIED
constexpr int kNameTooLong = 206;        // ERROR_FILENAME_EXCED_RANGE
#else
constexpr bool kWindows = false;
constexpr bool kNamesIgnoreCase = false;
constexpr int kIoError = EIO;
constexpr int kDiskFull = ENOSPC;
constexpr int kPathNotFound = ENOENT;  // the same code as a missing file
constexpr int kSharingViolation = 0;   // files are not locked against a second open
constexpr int kAccessDenied = EACCES;
constexpr int kNameTooLong = ENAMETOOLONG;
#endif

// The system's text for an error code, as the programs print it.
inline std::string Text(int code) { return platform::ErrorText(code).Chars(); }
// A missing file, and a path whose folder is missing.
inline std::string MissingFile() { return Text(platform::ErrorNoName()); }
inline std::string MissingFolder() { return Text(kPathNotFound); }

// A UTF-8 path for std::filesystem (whose narrow paths are in the ANSI code page on Windows).
inline std::filesystem::path NativePath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// A symbolic link at link that points at target (a folder when folder is set); false when none
// was made. The Windows build makes none (mingw's std::filesystem has no links, and wine could
// not make them), so tests that need links are skipped there; elsewhere making one must work.
constexpr const char* kNoLinks = "the Windows build of the tests makes no symbolic links";
inline bool MakeLink(const std::string& target, const std::string& link, bool folder) {
  std::error_code ec;
  if (folder) {
    std::filesystem::create_directory_symlink(NativePath(target), NativePath(link), ec);
  } else {
    std::filesystem::create_symlink(NativePath(target), NativePath(link), ec);
  }
  return !ec;
}

}  // namespace sys
