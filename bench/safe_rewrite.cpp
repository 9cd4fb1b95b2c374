// The peer of facetrue in its benchmark: rewrites every *.vxm file directly in FOLDER with the
// same bytes, the way a careful program replaces a file and nothing more: read it whole, write a
// temporary file beside it, flush that to disk, rename it over the original.
//
//   safe_rewrite FOLDER
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool ReadWhole(const std::string& path, std::vector<char>& bytes) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  off_t size = lseek(fd, 0, SEEK_END);
  bool ok = size >= 0 && lseek(fd, 0, SEEK_SET) == 0;
  if (ok) bytes.resize(static_cast<size_t>(size));
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  return close(fd) == 0 && ok;
}

bool Replace(const std::string& path, const std::vector<char>& bytes) {
  std::string temp = path + ".tmp-XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool IsModel(const char* name) {
  size_t n = strlen(name);
  return n >= 4 && strcasecmp(name + n - 4, ".vxm") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: safe_rewrite FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    perror(folder.c_str());
    return 1;
  }
  std::vector<std::string> names;
  while (dirent* e = readdir(dir)) {
    if (IsModel(e->d_name)) names.push_back(folder + "/" + e->d_name);
  }
  closedir(dir);
  std::vector<char> bytes;
  int failed = 0;
  for (const std::string& path : names) {
    if (!ReadWhole(path, bytes) || !Replace(path, bytes)) {
      perror(path.c_str());
      ++failed;
    }
  }
  return failed ? 1 : 0;
}
