// Runs a fuzz target without libFuzzer: every file under the folders (or the
// files) named on the command line, then 2000 pseudo-random byte strings
// from a fixed seed, so a crash found once stays found on every compiler.
// Each input sits in a buffer of exactly its size so the sanitizers see any
// read past its end.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

constexpr int kRandomInputs = 2000;
constexpr size_t kMaxRandomLength = 4096;

// SplitMix64: the same sequence on every platform and standard library.
uint64_t NextRandom(uint64_t& state) {
  uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

void RunOne(const uint8_t* bytes, size_t size) {
  std::unique_ptr<uint8_t[]> copy(new uint8_t[size == 0 ? 1 : size]);
  if (size != 0) std::memcpy(copy.get(), bytes, size);
  LLVMFuzzerTestOneInput(size == 0 ? nullptr : copy.get(), size);
}

bool RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RunOne(bytes.data(), bytes.size());
  return true;
}

// Adds the regular files under path (or path itself) in a fixed order.
bool CollectFiles(const std::filesystem::path& path, std::vector<std::filesystem::path>& files) {
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) {
    files.push_back(path);
    return true;
  }
  if (!std::filesystem::is_directory(path, ec)) {
    std::fprintf(stderr, "no such corpus file or folder: %s\n", path.c_str());
    return false;
  }
  std::vector<std::filesystem::path> found;
  for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec)) found.push_back(it->path());
  }
  if (ec) {
    std::fprintf(stderr, "cannot list %s: %s\n", path.c_str(), ec.message().c_str());
    return false;
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);

  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    if (!CollectFiles(argv[i], files)) return 1;
  }
  for (const auto& file : files) {
    if (!RunFile(file)) return 1;
  }

  // Half the inputs are short (up to 64 bytes) so headers and lengths near
  // zero get exercised as much as long inputs.
  uint64_t state = 0x5eed5eed12345678ULL;
  std::vector<uint8_t> buffer(kMaxRandomLength);
  for (int i = 0; i < kRandomInputs; ++i) {
    size_t limit = (i % 2 == 0) ? 64 : kMaxRandomLength;
    size_t size = static_cast<size_t>(NextRandom(state) % (limit + 1));
    for (size_t j = 0; j < size; j += 8) {
      uint64_t word = NextRandom(state);
      std::memcpy(buffer.data() + j, &word, std::min<size_t>(8, size - j));
    }
    RunOne(buffer.data(), size);
  }

  std::printf("%zu corpus files and %d random inputs ran\n", files.size(), kRandomInputs);
  return 0;
}
