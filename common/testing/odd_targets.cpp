// Writers against devices, pipes, folders and links to them.
#include "common/testing/odd_targets.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include "common/testing/system.h"
#include "common/testing/temp_folder.h"

namespace fs = std::filesystem;

namespace fault_sweep {

namespace {

#if !defined(_WIN32)
// Runs write with a thread reading the FIFO at fifo; returns what it read.
std::string ReadPipeWhile(const std::string& fifo, const std::function<void()>& write) {
  std::string bytes;
  std::atomic<bool> done{false};
  std::thread reader([&] {
    int fd = ::open(fifo.c_str(), O_RDONLY);
    char buffer[65536];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, size_t(n));
    ::close(fd);
    done = true;
  });
  write();
  // A reader still waiting for a writer, or for more bytes, meets one that writes nothing.
  while (!done) {
    int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0 && ::close(fd) == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  reader.join();
  return bytes;
}
#endif

// The kind of what path names, links followed.
fs::file_type KindOf(const std::string& path) {
  std::error_code ec;
  return fs::status(sys::NativePath(path), ec).type();
}

}  // namespace

void ExpectOddTargets(const std::string& folder, const Writer& write,
                      [[maybe_unused]] const std::string& old_bytes,
                      [[maybe_unused]] const std::string& new_bytes, bool reads_target) {
  const std::vector<std::string> files = FilesIn(folder);
  NarrowStringClass error;
  platform::DiskInterface& system = platform::SystemDisk();
  auto expect_refused = [&](const std::string& path) {
    fs::file_type kind = KindOf(path);
    EXPECT_FALSE(write(path.c_str(), &error, system)) << path;
    EXPECT_NE(std::string(error.Chars()).find(sys::Text(platform::ErrorNotRegular())), std::string::npos)
        << error.Chars();
    EXPECT_EQ(KindOf(path), kind) << path;
    error.Release();
  };
  const std::string subfolder = folder + platform::PathSeparator() + "folder";
  fs::create_directory(sys::NativePath(subfolder));
  expect_refused(subfolder);
  fs::remove(sys::NativePath(subfolder));  // only while empty: else FilesIn differs below

#if defined(_WIN32)
  // The system's devices exist in every folder; CON may be missing where no console is.
  for (const char* device : {"NUL", "CON"}) {
    bool ok = write((folder + "\\" + device).c_str(), &error, system);
    EXPECT_TRUE(device[0] == 'C' || ok == !reads_target) << error.Chars();
    error.Release();
  }
#else
  // A regular file (written through a link too), our own null device where we may make one (as
  // root) or else the system's, and a FIFO.
  const std::string regular = folder + "/regular", device = folder + "/null", fifo = folder + "/fifo",
                    link = folder + "/link";
  bool own_devices = ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  EXPECT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  for (const std::string& target : {regular, own_devices ? device : std::string("/dev/null"), fifo}) {
    ASSERT_TRUE(sys::MakeLink(target, link, false));
    for (const std::string& path : {target, link}) {
      if (target == regular) WriteBytes(regular, old_bytes);
      const fs::file_type kind = KindOf(target);
      const bool refused = reads_target && target != regular;
      std::string bytes = ReadPipeWhile(fifo, [&] {
        if (refused) return expect_refused(path);
        EXPECT_TRUE(write(path.c_str(), &error, system)) << error.Chars();
        error.Release();
      });
      EXPECT_EQ(target == regular ? ReadBytes(regular) : bytes,
                refused || (target != regular && target != fifo) ? "" : new_bytes)
          << path;
      EXPECT_EQ(KindOf(target), kind) << path;
      EXPECT_TRUE(fs::is_symlink(link));
    }
    fs::remove(link);
  }
  for (const std::string& path : {regular, device, fifo}) fs::remove(path);
  // A link to a missing file is refused as such; nothing is made where it points.
  ASSERT_TRUE(sys::MakeLink(regular, link, false));
  EXPECT_FALSE(write(link.c_str(), &error, system));
  if (!reads_target) {
    EXPECT_NE(std::string(error.Chars()).find(link + ": a symbolic link to a missing file"),
              std::string::npos)
        << error.Chars();
  }
  error.Release();
  EXPECT_TRUE(fs::is_symlink(link) && !fs::exists(regular));
  fs::remove(link);
#endif
  EXPECT_EQ(FilesIn(folder), files);
}

}  // namespace fault_sweep
