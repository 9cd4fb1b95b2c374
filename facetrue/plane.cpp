// Plane recomputation. Each step is evaluated in double precision from 32-bit values and its
// result kept as a 32-bit float, so the results are the same on every compiler; this file is
// built without contraction of multiply and add.
#include "facetrue/plane.h"

#include <cmath>

namespace {

// Rounds a double-precision step result to the stored 32-bit value.
inline float Keep(double value) { return static_cast<float>(value); }

}  // namespace

void ComputeTrianglePlane(const VXMVector& v0, const VXMVector& v1, const VXMVector& v2,
                          VXMTriangle& triangle) {
  using D = double;
  float ax = Keep(D(v1.x) - D(v0.x)), ay = Keep(D(v1.y) - D(v0.y)), az = Keep(D(v1.z) - D(v0.z));
  float bx = Keep(D(v2.x) - D(v0.x)), by = Keep(D(v2.y) - D(v0.y)), bz = Keep(D(v2.z) - D(v0.z));
  float nx = Keep(D(ay) * D(bz) - D(az) * D(by));
  float ny = Keep(D(az) * D(bx) - D(ax) * D(bz));
  float nz = Keep(D(ax) * D(by) - D(ay) * D(bx));
  float s = Keep((D(nx) * D(nx) + D(ny) * D(ny)) + D(nz) * D(nz));
  if (s != 0.0f) {
    float l = Keep(std::sqrt(D(s)));
    float r = Keep(1.0 / D(l));
    nx = Keep(D(nx) * D(r));
    ny = Keep(D(ny) * D(r));
    nz = Keep(D(nz) * D(r));
  }
  float d = Keep((D(nx) * D(v0.x) + D(ny) * D(v0.y)) + D(nz) * D(v0.z));
  triangle.normal = VXMVector{nx, ny, nz};
  triangle.distance = d;
}

int RecomputePlanes(VXM& model, ConsoleClass& console) {
  int changed = 0;
  for (int i = 0; i < model.objects.Count(); ++i) {
    if (model.objects[i]->Kind() != 0) continue;
    VXMMeshClass& mesh = *static_cast<VXMMeshClass*>(model.objects[i]);
    if (mesh.format == kNewMeshFormat) continue;
    if (mesh.format != kOldMeshFormat) {
      console.ErrorPrint("Unknown mesh format %x in '%s.%s'\n", mesh.format, mesh.qualifier, mesh.name);
      continue;
    }
    mesh.format = kNewMeshFormat;
    for (uint32_t t = 0; t < mesh.triangle_count; ++t) {
      VXMTriangle& triangle = mesh.triangles[t];
      ComputeTrianglePlane(mesh.vertices[triangle.vertex_index[0]], mesh.vertices[triangle.vertex_index[1]],
                           mesh.vertices[triangle.vertex_index[2]], triangle);
    }
    ++changed;
  }
  return changed;
}
