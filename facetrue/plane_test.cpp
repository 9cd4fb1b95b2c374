#include "facetrue/plane.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/platform/platform.h"
#include "facetrue/capture_console_test.h"
#include "vxmlib/testing/model_builder.h"

namespace {

using namespace vxm_test;

using Plane = std::array<float, 4>;  // normal x, y, z and distance

Plane PlaneOf(const VXMTriangle& t) { return {t.normal.x, t.normal.y, t.normal.z, t.distance}; }

Plane PlaneOf(VXMVector v0, VXMVector v1, VXMVector v2) {
  VXMTriangle triangle{{0, 1, 2}, 0xABCD, {9, 9, 9}, 9};
  ComputeTrianglePlane(v0, v1, v2, triangle);
  EXPECT_EQ(triangle.attribute, 0xABCDu);
  EXPECT_EQ(triangle.vertex_index[2], 2u);
  return PlaneOf(triangle);
}

TEST(Plane, SimpleTriangles) {
  EXPECT_EQ(PlaneOf({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), (Plane{0, 0, 1, 0}));
  EXPECT_EQ(PlaneOf({0, 0, 5}, {2, 0, 5}, {0, 2, 5}), (Plane{0, 0, 1, 5}));
  EXPECT_EQ(PlaneOf({0, 0, 5}, {0, 2, 5}, {2, 0, 5}), (Plane{0, 0, -1, -5}));
  // Coinciding vertices: the cross product stays as it is.
  EXPECT_EQ(PlaneOf({3, 4, 5}, {3, 4, 5}, {3, 4, 5}), (Plane{0, 0, 0, 0}));
}

TEST(Plane, EveryStepIsRoundedTo32Bits) {
  // Worked by hand, each step from the stored floats in double precision and then rounded:
  //   A = (2.69999981, 2.95000005, -4.39999962)   B = (-2.0999999, 5.1500001, 1.95000029)
  //   N = (28.4124985, 3.97499847, 20.0999985)    S = 1227.08057   L = 35.0297089
  //   R = 0.0285471976
  // One long double-precision expression would give (0.811097145, 0.113475077, 0.573798597),
  // distance 2.74010229 instead.
  EXPECT_EQ(PlaneOf({1.5f, -2.25f, 3.1f}, {4.2f, 0.7f, -1.3f}, {-0.6f, 2.9f, 5.05f}),
            (Plane{0x1.9f4822p-1f, 0x1.d0cb3cp-4f, 0x1.25c8f0p-1f, 0x1.5ebbb0p+1f}));
}

// A mesh's triangles are worked in blocks, and within a block in groups: every triangle of a long
// mesh, the last ones of a short final block included, gets its own plane.
TEST(Plane, LongMeshInBlocks) {
  std::vector<Corners> corners(131, Corners{0, 1, 2});
  corners[64] = {3, 3, 3};
  corners[66] = corners[130] = {0, 2, 1};
  VXM model;
  VXMMeshClass* mesh =
      MakeMesh("long", "q", 0x50000,
               {{1.5f, -2.25f, 3.1f}, {4.2f, 0.7f, -1.3f}, {-0.6f, 2.9f, 5.05f}, {3, 4, 5}}, corners);
  model.objects.Add(mesh);
  CaptureConsole console;
  EXPECT_EQ(RecomputePlanes(model, console), 1);
  const Plane worked{0x1.9f4822p-1f, 0x1.d0cb3cp-4f, 0x1.25c8f0p-1f, 0x1.5ebbb0p+1f};
  for (int t : {0, 63, 65, 67, 129}) EXPECT_EQ(PlaneOf(mesh->triangles[t]), worked) << t;
  EXPECT_EQ(PlaneOf(mesh->triangles[64]), (Plane{0, 0, 0, 0}));
  for (int t : {66, 130}) {
    EXPECT_EQ(PlaneOf(mesh->triangles[t]), (Plane{-worked[0], -worked[1], -worked[2], -worked[3]})) << t;
    EXPECT_EQ(mesh->triangles[t].vertex_index[1], 2u);
  }
}

TEST(Plane, FormatWords) {
  VXM model;
  VXMMeshClass* old_mesh =
      MakeMesh("old", "q", 0x50000, {{0, 0, 5}, {2, 0, 5}, {0, 2, 5}}, {{0, 1, 2}, {0, 2, 1}});
  VXMMeshClass* new_mesh = SmallMesh("new", 0x40002);
  new_mesh->triangles[0].normal = {7, 7, 7};  // wrong, and kept so
  new_mesh->triangles[0].distance = 7;
  VXMMeshClass* unknown = SmallMesh("shape", 0x30000);
  VXMMeshClass* empty = MakeMesh("empty", "", 0x50000, {}, {});
  for (VXMObjectClass* object :
       std::initializer_list<VXMObjectClass*>{old_mesh, new_mesh, unknown, empty, new VXMOtherObjectClass(5)})
    model.objects.Add(object);
  CaptureConsole console(true);
  EXPECT_EQ(RecomputePlanes(model, console), 2);

  EXPECT_EQ(old_mesh->format, 0x40002u);
  EXPECT_EQ(PlaneOf(old_mesh->triangles[0]), (Plane{0, 0, 1, 5}));
  EXPECT_EQ(PlaneOf(old_mesh->triangles[1]), (Plane{0, 0, -1, -5}));
  EXPECT_EQ(new_mesh->format, 0x40002u);
  EXPECT_EQ(PlaneOf(new_mesh->triangles[0]), (Plane{7, 7, 7, 7}));
  EXPECT_EQ(unknown->format, 0x30000u);
  EXPECT_EQ(PlaneOf(unknown->triangles[0]), (Plane{0, 0, 0, 0}));
  EXPECT_EQ(empty->format, 0x40002u);
  EXPECT_EQ(console.text, std::string(platform::BeginErrorColour()) +
                              "facetrue: Unknown mesh format 30000 in 'q.shape'\n" +
                              platform::EndErrorColour());
  EXPECT_TRUE(console.Paused());

  // Nothing to do prints nothing.
  VXM current;
  current.objects.Add(SmallMesh("new", 0x40002));
  CaptureConsole quiet;
  EXPECT_EQ(RecomputePlanes(current, quiet), 0);
  EXPECT_EQ(quiet.text, "");
  EXPECT_FALSE(quiet.Paused());
}

}  // namespace
