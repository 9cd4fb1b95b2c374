// Makes old-format model files for the facetrue benchmark: COUNT models of TRIANGLES triangles
// each (a strip over TRIANGLES + 2 vertices with scattered coordinates), written into FOLDER.
//
//   facetrue_generate FOLDER [COUNT] [TRIANGLES]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/memory_file.h"
#include "common/safe_replace.h"
#include "vxmlib/vxm.h"

namespace {

// A fixed sequence of coordinates in -100 .. 100, the same on every run.
float NextCoordinate(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return static_cast<float>(state >> 8) / static_cast<float>(1u << 24) * 200.0f - 100.0f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: facetrue_generate FOLDER [COUNT] [TRIANGLES]\n");
    return 2;
  }
  std::string folder = argv[1];
  int count = argc > 2 ? atoi(argv[2]) : 200;
  uint32_t triangles = argc > 3 ? static_cast<uint32_t>(atoi(argv[3])) : 50000;
  uint32_t state = 12345;
  for (int m = 0; m < count; ++m) {
    VXM model;
    VXMMeshClass* mesh = new VXMMeshClass;
    model.objects.Add(mesh);
    if (!mesh->Allocate(triangles + 2, triangles)) {
      fprintf(stderr, "out of memory\n");
      return 1;
    }
    mesh->format = 0x50000;
    VXMMeshClass::SetText(mesh->name, "strip");
    VXMMeshClass::SetText(mesh->qualifier, "bench");
    for (uint32_t v = 0; v < triangles + 2; ++v) {
      mesh->vertices[v] = {NextCoordinate(state), NextCoordinate(state), NextCoordinate(state)};
    }
    for (uint32_t t = 0; t < triangles; ++t) mesh->triangles[t] = {{t, t + 1, t + 2}, t, {0, 0, 0}, 0};
    MemoryFileClass bytes;
    model.Save(&bytes);
    char name[32];
    snprintf(name, sizeof name, "/model%03d.vxm", m);
    NarrowStringClass error;
    if (*model.ErrorMessage() ||
        !SafeReplaceClass::WriteWhole((folder + name).c_str(), bytes.Data(), bytes.Size(), &error)) {
      fprintf(stderr, "%s\n", *model.ErrorMessage() ? model.ErrorMessage() : error.Chars());
      return 1;
    }
  }
  return 0;
}
