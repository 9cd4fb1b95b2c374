// facetrue's work on one model in memory, without the disk: load a 50,000-triangle old-format
// model, recompute its planes, save it. Reports triangles per second.
#include <benchmark/benchmark.h>

#include <string>

#include "common/memory_file.h"
#include "facetrue/capture_console_test.h"
#include "facetrue/plane.h"
#include "vxmlib/vxm.h"

namespace {

constexpr uint32_t kTriangles = 50000;

std::string OldModelBytes() {
  VXM model;
  VXMMeshClass* mesh = new VXMMeshClass;
  model.objects.Add(mesh);
  mesh->Allocate(kTriangles + 2, kTriangles);
  mesh->format = kOldMeshFormat;
  for (uint32_t v = 0; v < kTriangles + 2; ++v) {
    mesh->vertices[v] = {static_cast<float>(v % 97), static_cast<float>(v % 89) * 0.5f,
                         static_cast<float>(v % 7)};
  }
  for (uint32_t t = 0; t < kTriangles; ++t) mesh->triangles[t] = {{t, t + 1, t + 2}, 0, {0, 0, 0}, 0};
  MemoryFileClass file;
  model.Save(&file);
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.Size()));
}

void BM_LoadRecomputeSave(benchmark::State& state) {
  std::string bytes = OldModelBytes();
  CaptureConsole console;
  for (auto _ : state) {
    VXM model;
    MemoryFileClass in(bytes.data(), static_cast<int>(bytes.size()));
    model.Load(&in);
    benchmark::DoNotOptimize(RecomputePlanes(model, console));
    MemoryFileClass out;
    model.Save(&out);
    benchmark::DoNotOptimize(out.Data());
  }
  state.counters["triangles/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kTriangles, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadRecomputeSave)->Unit(benchmark::kMillisecond);

void BM_RecomputeOnly(benchmark::State& state) {
  std::string bytes = OldModelBytes();
  VXM model;
  MemoryFileClass in(bytes.data(), static_cast<int>(bytes.size()));
  model.Load(&in);
  VXMMeshClass& mesh = *static_cast<VXMMeshClass*>(model.objects[0]);
  CaptureConsole console;
  for (auto _ : state) {
    mesh.format = kOldMeshFormat;
    benchmark::DoNotOptimize(RecomputePlanes(model, console));
  }
  state.counters["triangles/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kTriangles, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RecomputeOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
