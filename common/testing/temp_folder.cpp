#include "common/testing/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "common/platform/platform.h"
#include "common/testing/system.h"

namespace fs = std::filesystem;

namespace {

fs::path Native(const std::string& path) { return sys::NativePath(path); }

std::string Utf8(const fs::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

TempFolder::TempFolder() {
  std::string prefix = Utf8(fs::temp_directory_path() / "toolset-test-");
  std::random_device seed;
  std::mt19937 random(seed());
  std::error_code ec;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    std::string candidate = prefix + std::to_string(random());
    if (fs::create_directory(Native(candidate), ec)) path_ = candidate;
  }
}

std::string TempFolder::operator/(const std::string& name) const {
  std::string path = path_ + platform::PathSeparator() + name;
  std::replace(path.begin() + static_cast<std::ptrdiff_t>(path_.size()), path.end(), '/',
               platform::PathSeparator());
  return path;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Make read-only folders (and, on Windows, read-only files) removable again before deleting.
  for (auto it = fs::recursive_directory_iterator(Native(path_), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if ((it->is_directory(ec) || platform::PathSeparator() == '\\') && !it->is_symlink(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(Native(path_), ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  fs::create_directories(Native(path).parent_path());
  std::ofstream out(Native(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(Native(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::directory_iterator(Native(folder), ec); !ec && it != fs::directory_iterator();
       it.increment(ec))
    names.push_back(Utf8(it->path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

int CountFiles(const std::string& folder) {
  int n = 0;
  std::error_code ec;
  for (auto it = fs::directory_iterator(Native(folder), ec); !ec && it != fs::directory_iterator();
       it.increment(ec))
    n += it->is_regular_file(ec);
  return n;
}
