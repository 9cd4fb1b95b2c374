// Makes the benchmark tree for bundlor: 4,000 files in nested folders whose sizes are spread
// evenly on a log scale from 64 bytes to 3 MiB (about 1.1 GB in all). The same arguments always
// give the same tree.
//
//   bundlor_tree_gen FOLDER [FILES] [MIN_BYTES] [MAX_BYTES]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// SplitMix64: the same sequence everywhere.
uint64_t Next(uint64_t& state) {
  uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

double Unit(uint64_t& state) { return static_cast<double>(Next(state) >> 11) / 9007199254740992.0; }

// A size spread evenly on a log scale from low to high.
int64_t LogUniform(int64_t low, int64_t high, uint64_t& state) {
  double l = std::log(static_cast<double>(low)), h = std::log(static_cast<double>(high));
  return std::llround(std::exp(l + Unit(state) * (h - l)));
}

// Nested folder names: up to four levels, about ten files per folder.
std::string FolderFor(int file, uint64_t& state) {
  std::string path;
  int depth = 1 + static_cast<int>(Next(state) % 4);
  int group = file / 10;
  for (int level = 0; level < depth; ++level) {
    path += "dir" + std::to_string(group % 7 + level * 7) + "/";
    group /= 7;
  }
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bundlor_tree_gen FOLDER [FILES] [MIN_BYTES] [MAX_BYTES]\n");
    return 1;
  }
  std::filesystem::path root = argv[1];
  int files = argc > 2 ? std::atoi(argv[2]) : 4000;
  int64_t low = argc > 3 ? std::atoll(argv[3]) : 64;
  int64_t high = argc > 4 ? std::atoll(argv[4]) : 3 << 20;
  if (files < 0 || low < 1 || high < low) {
    std::fprintf(stderr, "bundlor_tree_gen: need FILES >= 0 and 1 <= MIN_BYTES <= MAX_BYTES\n");
    return 1;
  }
  uint64_t state = 20240601;
  std::vector<unsigned char> pattern(static_cast<size_t>(high) * 2);
  for (unsigned char& b : pattern) b = static_cast<unsigned char>(Next(state));
  int64_t written = 0;
  for (int i = 0; i < files; ++i) {
    std::filesystem::path path = root / FolderFor(i, state) / ("file" + std::to_string(i) + ".bin");
    std::filesystem::create_directories(path.parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
      std::perror(path.c_str());
      return 1;
    }
    size_t size = static_cast<size_t>(LogUniform(low, high, state));
    size_t start = static_cast<size_t>(Next(state) % static_cast<uint64_t>(high));
    if (std::fwrite(pattern.data() + start, 1, size, f) != size || std::fclose(f) != 0) {
      std::perror(path.c_str());
      return 1;
    }
    written += static_cast<int64_t>(size);
  }
  std::printf("%d files, %lld bytes in %s\n", files, static_cast<long long>(written), root.c_str());
  return 0;
}
