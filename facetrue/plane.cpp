// Plane recomputation. Each step's result is the 32-bit float that evaluating it in double
// precision from 32-bit values and rounding gives, so the results are the same on every
// compiler; this file is built without contraction of multiply and add, and without errno for
// the square root, which would keep it out of vector registers.
#include "facetrue/plane.h"

#include <cmath>
#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Rounds a double-precision step result to the stored 32-bit value.
inline float Keep(double value) { return static_cast<float>(value); }

// Triangles taken at a time: their corners are gathered into columns first, so that each step
// runs over several triangles at once in the processor's vector registers. A block this large
// lets the gathered values reach the cache before the vector loads read them back.
constexpr int kBlock = 64;

// The mesh loop is built for the processor's widest vector unit as well, chosen when the
// program starts; none of them fuses a multiply and an add, so the results stay the same.
#if defined(__ELF__) && defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define PLANE_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#endif
#endif
#ifndef PLANE_VECTOR_CLONES
#define PLANE_VECTOR_CLONES
#endif
// The steps are inlined into each build of the mesh loop, so that they use its vector unit.
#define PLANE_STEP inline __attribute__((always_inline))

// The corners of kBlock triangles by corner, axis and triangle; the planes come back in n (by
// axis) and d. s holds the squared lengths between the two passes.
struct PlaneBlock {
  float v[3][3][kBlock];
  float n[3][kBlock];
  float d[kBlock];
  float s[kBlock];
};

PLANE_STEP void Gather(PlaneBlock& b, int i, const VXMVector& v0, const VXMVector& v1, const VXMVector& v2) {
  const VXMVector* corners[3] = {&v0, &v1, &v2};
  for (int c = 0; c < 3; ++c) {
    b.v[c][0][i] = corners[c]->x;
    b.v[c][1][i] = corners[c]->y;
    b.v[c][2][i] = corners[c]->z;
  }
}

// Two passes without a branch, which the compiler vectorises. A step that is one operation on
// 32-bit values (a difference, a square root, a quotient, a product) is done in 32-bit
// arithmetic: the double-precision result rounded to 32 bits is the same value, because double
// precision holds more than twice the bits (53 >= 2 x 24 + 2), so rounding twice cannot differ
// from rounding once. The sums of products need double precision. A squared length of 0 is
// taken as 1, so that the normal is divided by 1 and stays as the cross product gave it.
PLANE_STEP void ComputeBlock(PlaneBlock& b) {
  using D = double;
  const auto& v0 = b.v[0];
  const auto& v1 = b.v[1];
  const auto& v2 = b.v[2];
  for (int i = 0; i < kBlock; ++i) {
    float ax = v1[0][i] - v0[0][i], ay = v1[1][i] - v0[1][i], az = v1[2][i] - v0[2][i];
    float bx = v2[0][i] - v0[0][i], by = v2[1][i] - v0[1][i], bz = v2[2][i] - v0[2][i];
    float nx = Keep(D(ay) * D(bz) - D(az) * D(by));
    float ny = Keep(D(az) * D(bx) - D(ax) * D(bz));
    float nz = Keep(D(ax) * D(by) - D(ay) * D(bx));
    float s = Keep((D(nx) * D(nx) + D(ny) * D(ny)) + D(nz) * D(nz));
    b.n[0][i] = nx;
    b.n[1][i] = ny;
    b.n[2][i] = nz;
    b.s[i] = s != 0.0f ? s : 1.0f;  // a NaN counts as not 0
  }
  for (int i = 0; i < kBlock; ++i) {
    float r = 1.0f / std::sqrt(b.s[i]);
    b.n[0][i] *= r;
    b.n[1][i] *= r;
    b.n[2][i] *= r;
  }
  for (int i = 0; i < kBlock; ++i) {
    b.d[i] = Keep((D(b.n[0][i]) * D(v0[0][i]) + D(b.n[1][i]) * D(v0[1][i])) + D(b.n[2][i]) * D(v0[2][i]));
  }
}

PLANE_STEP void GatherOne(PlaneBlock& b, int i, const VXMVector* vertices, const VXMTriangle& t) {
  Gather(b, i, vertices[t.vertex_index[0]], vertices[t.vertex_index[1]], vertices[t.vertex_index[2]]);
}

PLANE_STEP void Scatter(const PlaneBlock& b, int i, VXMTriangle& triangle) {
  triangle.normal = VXMVector{b.n[0][i], b.n[1][i], b.n[2][i]};
  triangle.distance = b.d[i];
}

#if defined(__SSE2__)
// The same moves four triangles at a time: a corner's three values are loaded together and four
// corners are turned into columns in registers, and a plane's normal and distance, which lie side
// by side in the triangle, are stored together. Only values move, so the planes stay the same.
constexpr int kGroup = 4;

PLANE_STEP __m128 LoadCorner(const VXMVector& v) {
  __m128 xy = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&v.x)));
  return _mm_movelh_ps(xy, _mm_load_ss(&v.z));
}

PLANE_STEP void GatherGroup(PlaneBlock& b, int i, const VXMVector* vertices, const VXMTriangle* t) {
  for (int c = 0; c < 3; ++c) {
    __m128 r0 = LoadCorner(vertices[t[0].vertex_index[c]]), r1 = LoadCorner(vertices[t[1].vertex_index[c]]);
    __m128 r2 = LoadCorner(vertices[t[2].vertex_index[c]]), r3 = LoadCorner(vertices[t[3].vertex_index[c]]);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _mm_storeu_ps(&b.v[c][0][i], r0);
    _mm_storeu_ps(&b.v[c][1][i], r1);
    _mm_storeu_ps(&b.v[c][2][i], r2);
  }
}

PLANE_STEP void ScatterGroup(const PlaneBlock& b, int i, VXMTriangle* t) {
  static_assert(offsetof(VXMTriangle, distance) == offsetof(VXMTriangle, normal) + 12);
  __m128 r0 = _mm_loadu_ps(&b.n[0][i]), r1 = _mm_loadu_ps(&b.n[1][i]);
  __m128 r2 = _mm_loadu_ps(&b.n[2][i]), r3 = _mm_loadu_ps(&b.d[i]);
  _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
  _mm_storeu_ps(&t[0].normal.x, r0);
  _mm_storeu_ps(&t[1].normal.x, r1);
  _mm_storeu_ps(&t[2].normal.x, r2);
  _mm_storeu_ps(&t[3].normal.x, r3);
}
#else
constexpr int kGroup = 1;

PLANE_STEP void GatherGroup(PlaneBlock& b, int i, const VXMVector* vertices, const VXMTriangle* t) {
  GatherOne(b, i, vertices, *t);
}

PLANE_STEP void ScatterGroup(const PlaneBlock& b, int i, VXMTriangle* t) { Scatter(b, i, *t); }
#endif

PLANE_VECTOR_CLONES void ComputeMeshPlanes(VXMMeshClass& mesh) {
  PlaneBlock block = {};
  for (uint32_t first = 0; first < mesh.triangle_count; first += kBlock) {
    uint32_t left = mesh.triangle_count - first;
    int count = left < kBlock ? static_cast<int>(left) : kBlock;
    VXMTriangle* triangles = mesh.triangles + first;
    int whole = count - count % kGroup;
    for (int i = 0; i < whole; i += kGroup) GatherGroup(block, i, mesh.vertices, triangles + i);
    for (int i = whole; i < count; ++i) GatherOne(block, i, mesh.vertices, triangles[i]);
    ComputeBlock(block);
    for (int i = 0; i < whole; i += kGroup) ScatterGroup(block, i, triangles + i);
    for (int i = whole; i < count; ++i) Scatter(block, i, triangles[i]);
  }
}

}  // namespace

void ComputeTrianglePlane(const VXMVector& v0, const VXMVector& v1, const VXMVector& v2,
                          VXMTriangle& triangle) {
  PlaneBlock block = {};
  Gather(block, 0, v0, v1, v2);
  ComputeBlock(block);
  Scatter(block, 0, triangle);
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
    ComputeMeshPlanes(mesh);
    ++changed;
  }
  return changed;
}
