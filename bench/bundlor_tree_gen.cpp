// Makes the benchmark tree for bundlor: about 4,000 files in nested folders, sizes from 0 bytes
// to 4 MiB (many small files, a few hundred large ones), about 500 MB in all. The same arguments always
// give the same tree.
//
//   bundlor_tree_gen FOLDER [FILES] [TOTAL_MB]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int64_t kMaxFileSize = 4 << 20;

// SplitMix64: the same sequence everywhere.
uint64_t Next(uint64_t& state) {
  uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

double Unit(uint64_t& state) { return static_cast<double>(Next(state) >> 11) / 9007199254740992.0; }

// File sizes: 1% empty, about 6% spread evenly from 64 KiB to 4 MiB, the rest spread evenly on a
// log scale from 1 byte to 64 KiB; then scaled so they add up to total.
std::vector<int64_t> Sizes(int files, int64_t total, uint64_t& state) {
  constexpr double kSmall = 64 << 10;
  std::vector<double> raw(static_cast<size_t>(files));
  for (double& r : raw) {
    double pick = Unit(state);
    if (pick < 0.01) {
      r = 0;
    } else if (pick < 0.067) {
      r = kSmall + Unit(state) * (kMaxFileSize - kSmall);
    } else {
      r = std::exp(Unit(state) * std::log(kSmall));
    }
  }
  raw[1] = kMaxFileSize;
  double sum = 0;
  for (double r : raw) sum += r;
  std::vector<int64_t> sizes;
  for (double r : raw) sizes.push_back(std::min<int64_t>(kMaxFileSize, std::llround(r * total / sum)));
  return sizes;
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
    std::fprintf(stderr, "usage: bundlor_tree_gen FOLDER [FILES] [TOTAL_MB]\n");
    return 1;
  }
  std::filesystem::path root = argv[1];
  int files = argc > 2 ? std::atoi(argv[2]) : 4000;
  int64_t total = (argc > 3 ? std::atoll(argv[3]) : 500) * 1000 * 1000;
  uint64_t state = 20240601;
  std::vector<unsigned char> pattern(static_cast<size_t>(kMaxFileSize) * 2);
  for (unsigned char& b : pattern) b = static_cast<unsigned char>(Next(state));
  int64_t written = 0;
  std::vector<int64_t> sizes = Sizes(files, total, state);
  for (int i = 0; i < files; ++i) {
    std::filesystem::path path = root / FolderFor(i, state) / ("file" + std::to_string(i) + ".bin");
    std::filesystem::create_directories(path.parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
      std::perror(path.c_str());
      return 1;
    }
    size_t start = static_cast<size_t>(Next(state) % static_cast<uint64_t>(kMaxFileSize));
    size_t size = static_cast<size_t>(sizes[static_cast<size_t>(i)]);
    if (std::fwrite(pattern.data() + start, 1, size, f) != size || std::fclose(f) != 0) {
      std::perror(path.c_str());
      return 1;
    }
    written += static_cast<int64_t>(size);
  }
  std::printf("%d files, %lld bytes in %s\n", files, static_cast<long long>(written), root.c_str());
  return 0;
}
