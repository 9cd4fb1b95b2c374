// PO import against msgfmt, whole processes in the same run: `tdbtool import-po` of 7 PO files
// (languages 1 to 7 of the generated 100,000-string database, written by the PO export) into the
// same database holding English only, against `msgfmt` compiling the same 7 files. Each round of
// the import starts from the English-only database again (the copy is not timed). The ratio is
// printed after the timings.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "bench/tdb_generator.h"
#include "tdb/database_file.h"
#include "tdb/translate_db.h"
#include "tdb/exchange/po.h"

namespace {

constexpr int kPoLanguages = 7;

std::string g_folder;

std::string Po(int language) { return g_folder + "/lang" + std::to_string(language) + ".po"; }

bool Run(const std::string& command) { return std::system((command + " >/dev/null").c_str()) == 0; }

void BM_TdbtoolImportPo(benchmark::State& state) {
  std::string english = g_folder + "/english.tdb", target = g_folder + "/target.tdb";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(english, target, std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    for (int k = 1; k <= kPoLanguages; ++k) {
      if (!Run("'" TDBTOOL_PATH "' import-po '" + target + "' '" + Po(k) + "' --language " +
               std::to_string(k)))
        state.SkipWithError("tdbtool import-po failed");
    }
  }
}

void BM_Msgfmt(benchmark::State& state) {
  for (auto _ : state) {
    for (int k = 1; k <= kPoLanguages; ++k) {
      if (!Run("msgfmt -o '" + g_folder + "/lang" + std::to_string(k) + ".mo' '" + Po(k) + "'"))
        state.SkipWithError("msgfmt failed");
    }
  }
}

BENCHMARK(BM_TdbtoolImportPo)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Msgfmt)->Unit(benchmark::kMillisecond)->Iterations(3);

// Writes the 7 PO files, and the database with English only (and its categories) that they go into.
bool Prepare() {
  tdbgen::FillDatabase(tdbgen::kStrings, tdbgen::kCategories, kPoLanguages + 1);
  NarrowStringClass error;
  for (int k = 1; k <= kPoLanguages; ++k) {
    PoExportOptions options;
    options.Language = k;
    options.Project = "english.tdb";
    if (!ExportPo(Po(k).c_str(), options, &error)) break;
  }
  std::vector<TDBStringClass*> english;
  for (int i = 0; error.IsEmpty() && i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    if (!s) continue;
    auto* copy = new TDBStringClass;
    copy->SetID(s->GetID());
    copy->SetIDString(s->GetIDString());
    copy->SetCategoryID(s->GetCategoryID());
    copy->SetSoundID(s->GetSoundID());
    copy->SetAnimationName(s->GetAnimationName());
    copy->SetText(0, s->GetText(0).Chars());
    english.push_back(copy);
  }
  TranslateDBClass::ClearObjects();
  for (TDBStringClass* s : english) TranslateDBClass::AddObject(s);
  if (error.IsEmpty()) SaveDatabaseFile((g_folder + "/english.tdb").c_str(), &error);
  TranslateDBClass::ClearDatabase();
  if (error.IsEmpty()) return true;
  std::fprintf(stderr, "po_bench: %s\n", error.Chars());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  g_folder = (std::filesystem::temp_directory_path() / "po_bench").string();
  std::filesystem::create_directories(g_folder);
  if (!Prepare()) return 1;
  std::printf("%d PO files of %d entries, %.1f MiB each; database %.1f MiB with English only\n", kPoLanguages,
              tdbgen::kStrings, static_cast<double>(std::filesystem::file_size(Po(1))) / 1048576.0,
              static_cast<double>(std::filesystem::file_size(g_folder + "/english.tdb")) / 1048576.0);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double msgfmt = reporter.seconds["BM_Msgfmt"], import = reporter.seconds["BM_TdbtoolImportPo"];
  if (msgfmt > 0 && import > 0) {
    std::printf("tdbtool import-po x%d / msgfmt x%d: %.2f (limit 1)\n", kPoLanguages, kPoLanguages,
                import / msgfmt);
  }
  std::filesystem::remove_all(g_folder);
  benchmark::Shutdown();
  return 0;
}
