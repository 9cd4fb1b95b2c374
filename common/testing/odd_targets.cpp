// Writers against devices, pipes, folders and links to them.
#include "common/testing/odd_targets.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include "common/testing/system.h"
#include "common/testing/temp_folder.h"

namespace fs = std::filesystem;

#if !defined(_WIN32)

PipeReader::PipeReader(const std::string& path) : path_(path) {
  thread_ = std::thread([this] {
    int fd = ::open(path_.c_str(), O_RDONLY);
    char buffer[65536];
    ssize_t n;
    while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
      bytes_.append(buffer, static_cast<size_t>(n));
    if (fd >= 0) ::close(fd);
    done_ = true;
  });
}

const std::string& PipeReader::Finish() {
  if (finished_) return bytes_;
  finished_ = true;
  // A reader still waiting for a writer (or for more bytes) is given one that writes nothing.
  for (;;) {
    int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) {
      ::close(fd);
      break;
    }
    if (done_) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  thread_.join();
  return bytes_;
}

#endif

namespace fault_sweep {

namespace {

// The kind of what path names, links followed.
fs::file_type KindOf(const std::string& path) {
  std::error_code ec;
  return fs::status(sys::NativePath(path), ec).type();
}

}  // namespace

void ExpectOddTargets(const std::string& folder, const Writer& write, const std::string& new_bytes,
                      bool reads_target) {
  const std::vector<std::string> files = FilesIn(folder);
  NarrowStringClass error;
  auto expect_refused = [&](const std::string& path, const std::string& reason) {
    fs::file_type kind = KindOf(path);
    EXPECT_FALSE(write(path.c_str(), &error)) << path;
    EXPECT_NE(std::string(error.Chars()).find(reason), std::string::npos) << error.Chars();
    EXPECT_EQ(KindOf(path), kind) << path;
    error.Release();
  };
  const std::string not_regular = sys::Text(platform::ErrorNotRegular());
  const std::string subfolder = folder + platform::PathSeparator() + "folder";
  fs::create_directory(sys::NativePath(subfolder));
  expect_refused(subfolder, not_regular);
  EXPECT_TRUE(fs::is_empty(sys::NativePath(subfolder)));
  fs::remove(sys::NativePath(subfolder));

#if defined(_WIN32)
  // The system's devices exist in every folder; CON may be missing where no console is.
  for (const char* device : {"NUL", "CON"}) {
    const std::string path = folder + "\\" + device;
    bool ok = write(path.c_str(), &error);
    EXPECT_EQ(ok, !reads_target && device[0] == 'N') << device << ": " << error.Chars();
    error.Release();
  }
#else
  // Our own null device where we may make one (as root), else the system's.
  const std::string device = folder + "/null", block = folder + "/block", fifo = folder + "/fifo";
  bool own_devices = ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  EXPECT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  for (const std::string& target : {own_devices ? device : std::string("/dev/null"), fifo}) {
    const std::string link = folder + "/link";
    ASSERT_TRUE(sys::MakeLink(target, link, false));
    for (const std::string& path : {target, link}) {
      if (reads_target) {
        PipeReader reader(fifo);
        expect_refused(path, not_regular);
        EXPECT_EQ(reader.Finish(), "");
        continue;
      }
      std::string bytes;
      {
        PipeReader reader(fifo);
        EXPECT_TRUE(write(path.c_str(), &error)) << error.Chars();
        error.Release();
        bytes = reader.Finish();
      }
      EXPECT_EQ(bytes, target == fifo ? new_bytes : "") << path;
      EXPECT_EQ(KindOf(target), target == fifo ? fs::file_type::fifo : fs::file_type::character) << path;
      EXPECT_TRUE(fs::is_symlink(link));
    }
    fs::remove(link);
  }
  if (own_devices) {
    // A block device is refused before it is opened.
    ASSERT_EQ(::mknod(block.c_str(), S_IFBLK | 0600, makedev(7, 0)), 0);
    expect_refused(block, not_regular);
    fs::remove(block);
    fs::remove(device);
  }
  fs::remove(fifo);
#endif
  EXPECT_EQ(FilesIn(folder), files);
}

}  // namespace fault_sweep
