// Benchmarks of the .tdb file: loading and saving the generated database of 100,000 strings,
// each against `cp` of the same file in the same run (warm cache), and the peak memory of
// `tdbtool dump` against the file size. The ratios are printed after the timings.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/ratio_reporter.h"
#include "bench/tdb_generator.h"
#include "common/memory_file.h"
#include "tdb/database_file.h"
#include "tdb/database_section.h"
#include "tdb/translate_db.h"

namespace {

std::string g_folder;
std::string Source() { return g_folder + "/strings.tdb"; }

void BM_CopyWithCp(benchmark::State& state) {
  std::string command = "cp '" + Source() + "' '" + g_folder + "/copy.tdb'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
}

// Emptying the database that the previous round loaded is not part of a load.
void BM_LoadTdb(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TranslateDBClass::ClearDatabase();
    state.ResumeTiming();
    NarrowStringClass error;
    if (!LoadDatabaseFile(Source().c_str(), nullptr, &error)) state.SkipWithError(error.Chars());
  }
}

void BM_SaveTdb(benchmark::State& state) {
  std::string target = g_folder + "/saved.tdb";
  for (auto _ : state) {
    NarrowStringClass error;
    if (!SaveDatabaseFile(target.c_str(), &error)) state.SkipWithError(error.Chars());
  }
}

// The save without the write-out and flush of the finished bytes.
void BM_SaveTdbToMemory(benchmark::State& state) {
  for (auto _ : state) {
    MemoryFileClass memory;
    ChunkWriterClass writer(&memory);
    if (!SaveDatabase(writer)) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(memory.Data());
  }
}

BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadTdb)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveTdb)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveTdbToMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Peak resident memory in KiB of `tdbtool dump file` with its output thrown away; -1 on failure.
// /usr/bin/time starts it, so the figure is not that of this (large) process.
long PeakMemoryOfDump(const std::string& file) {
#ifdef TDBTOOL_PATH
  std::string report = g_folder + "/peak.txt";
  std::string command =
      "/usr/bin/time -f %M -o '" + report + "' '" TDBTOOL_PATH "' dump '" + file + "' >/dev/null";
  if (std::system(command.c_str()) != 0) return -1;
  std::FILE* in = std::fopen(report.c_str(), "r");
  long kib = -1;
  if (in) {
    if (std::fscanf(in, "%ld", &kib) != 1) kib = -1;
    std::fclose(in);
  }
  return kib;
#else
  (void)file;
  return -1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  g_folder = (std::filesystem::temp_directory_path() / "tdb_bench").string();
  std::filesystem::create_directories(g_folder);
  tdbgen::FillDatabase();
  NarrowStringClass error;
  if (!SaveDatabaseFile(Source().c_str(), &error)) {
    std::fprintf(stderr, "%s\n", error.Chars());
    return 1;
  }
  double size = static_cast<double>(std::filesystem::file_size(Source()));
  std::printf("database: %d strings, %d categories, %.1f MiB\n", tdbgen::kStrings, tdbgen::kCategories,
              size / 1048576.0);

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double cp = reporter.seconds["BM_CopyWithCp"];
  if (cp > 0) {
    for (const char* name : {"BM_LoadTdb", "BM_SaveTdb", "BM_SaveTdbToMemory"}) {
      if (reporter.seconds.count(name))
        std::printf("%s / cp: %.2f (limit 5)\n", name, reporter.seconds[name] / cp);
    }
  }
  long peak = PeakMemoryOfDump(Source());
  if (peak > 0) {
    std::printf("tdbtool dump peak memory: %.1f MiB = %.2f x file size (limit 3)\n", peak / 1024.0,
                peak * 1024.0 / size);
  }
  std::filesystem::remove_all(g_folder);
  benchmark::Shutdown();
  return 0;
}
