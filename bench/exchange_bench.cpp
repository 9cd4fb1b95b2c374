// The exchange formats on the generated benchmark database (bench/tdb_generator.h: 100,000
// strings in 20 categories with texts in 7 languages).
//
//   exchange_bench                     Google Benchmark: text table write and read in memory,
//                                      C header export
//   exchange_bench --generate DIR [N]  writes DIR/table.txt (the text table) and DIR/lang0.po to
//                                      DIR/lang6.po (the same texts as gettext catalogues) of N
//                                      strings (default 100,000) for the tdbtool scripts
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/tdb_generator.h"
#include "tdb/translate_db.h"
#include "tdb/exchange/header_export.h"
#include "tdb/exchange/text_table.h"
#include "tdb/exchange/text_table_reader.h"
#include "tdb/exchange/text_table_writer.h"

namespace {

int Generate(const std::string& dir, int strings) {
  tdbgen::FillDatabase(strings);
  NarrowStringClass error;
  if (!ExportTextTable((dir + "/table.txt").c_str(), &error)) {
    fprintf(stderr, "exchange_bench: %s\n", error.Chars());
    return 1;
  }
  for (int k = 0; k < tdbgen::kLanguages; ++k) {
    std::string po = dir + "/lang" + std::to_string(k) + ".po";
    if (!tdbgen::WritePoFile(po, k)) {
      fprintf(stderr, "exchange_bench: %s: cannot write\n", po.c_str());
      return 1;
    }
  }
  return 0;
}

const std::string& TableBytes() {
  static std::string bytes = [] {
    tdbgen::FillDatabase();
    ByteBuilder out;
    WriteTextTable(out);
    return std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
  }();
  return bytes;
}

void BM_WriteTextTable(benchmark::State& state) {
  TableBytes();
  tdbgen::FillDatabase();
  for (auto _ : state) {
    ByteBuilder out;
    WriteTextTable(out);
    benchmark::DoNotOptimize(out.Size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(TableBytes().size()));
}
BENCHMARK(BM_WriteTextTable)->Unit(benchmark::kMillisecond);

void BM_ReadTextTable(benchmark::State& state) {
  const std::string& bytes = TableBytes();
  // Emptying the database that the previous round read is not part of a read.
  for (auto _ : state) {
    state.PauseTiming();
    TranslateDBClass::ClearDatabase();
    state.ResumeTiming();
    ReadTextTable(bytes.data(), bytes.size(), "table", nullptr);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadTextTable)->Unit(benchmark::kMillisecond);

void BM_ExportCHeader(benchmark::State& state) {
  tdbgen::FillDatabase();
  for (auto _ : state) ExportCHeader("/tmp/exchange_bench_ids.h", nullptr);
}
BENCHMARK(BM_ExportCHeader)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  TranslateDBClass::SetObjectGrowthStep(1000);  // as the programs set it at start
  if ((argc == 3 || argc == 4) && strcmp(argv[1], "--generate") == 0) {
    return Generate(argv[2], argc == 4 ? atoi(argv[3]) : tdbgen::kStrings);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  remove("/tmp/exchange_bench_ids.h");
  return 0;
}
