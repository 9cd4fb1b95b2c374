// Reading a 64 MiB file in 4096-byte pieces: through BufferedDiskFileClass against plain
// 4096-byte read() calls on a file descriptor. Both read the same warm file in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/buffered_disk_file.h"

namespace {

constexpr int kFileSize = 64 << 20;
constexpr int kPiece = 4096;

const std::string& TestFile() {
  static std::string path = [] {
    std::string p = "/tmp/buffered_read_bench.bin";
    FILE* f = fopen(p.c_str(), "wb");
    std::vector<unsigned char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<unsigned char>(i * 31 + (i >> 9));
    for (int i = 0; i < kFileSize / static_cast<int>(block.size()); ++i)
      fwrite(block.data(), 1, block.size(), f);
    fclose(f);
    return p;
  }();
  return path;
}

void BM_BufferedDiskFile(benchmark::State& state) {
  const std::string& path = TestFile();
  char piece[kPiece];
  for (auto _ : state) {
    BufferedDiskFileClass file(path.c_str());
    file.Open(1);
    long total = 0;
    int n;
    while ((n = file.Read(piece, kPiece)) > 0) total += n;
    benchmark::DoNotOptimize(total);
    if (total != kFileSize) state.SkipWithError("short read");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kFileSize));
}

void BM_PlainRead(benchmark::State& state) {
  const std::string& path = TestFile();
  char piece[kPiece];
  for (auto _ : state) {
    int fd = open(path.c_str(), O_RDONLY);
    long total = 0;
    ssize_t n;
    while ((n = read(fd, piece, kPiece)) > 0) total += n;
    close(fd);
    benchmark::DoNotOptimize(total);
    if (total != kFileSize) state.SkipWithError("short read");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kFileSize));
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BufferedDiskFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
