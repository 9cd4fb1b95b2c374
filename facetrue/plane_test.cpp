#include "facetrue/plane.h"

#include <gtest/gtest.h>

#include <string>

#include "facetrue/capture_console_test.h"
#include "vxmlib/vxm_builder_test.h"

namespace {

using namespace vxm_test;

struct Plane {
  VXMVector normal;
  float distance;
};

Plane PlaneOf(VXMVector v0, VXMVector v1, VXMVector v2) {
  VXMTriangle triangle{{0, 1, 2}, 0xABCD, {9, 9, 9}, 9};
  ComputeTrianglePlane(v0, v1, v2, triangle);
  EXPECT_EQ(triangle.attribute, 0xABCDu);
  EXPECT_EQ(triangle.vertex_index[2], 2u);
  return {triangle.normal, triangle.distance};
}

void ExpectPlane(const Plane& plane, float x, float y, float z, float d) {
  EXPECT_EQ(plane.normal.x, x);
  EXPECT_EQ(plane.normal.y, y);
  EXPECT_EQ(plane.normal.z, z);
  EXPECT_EQ(plane.distance, d);
}

TEST(Plane, SimpleTriangles) {
  ExpectPlane(PlaneOf({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), 0, 0, 1, 0);
  ExpectPlane(PlaneOf({0, 0, 5}, {2, 0, 5}, {0, 2, 5}), 0, 0, 1, 5);
  ExpectPlane(PlaneOf({0, 0, 5}, {0, 2, 5}, {2, 0, 5}), 0, 0, -1, -5);
  // Coinciding vertices: the cross product stays as it is.
  ExpectPlane(PlaneOf({3, 4, 5}, {3, 4, 5}, {3, 4, 5}), 0, 0, 0, 0);
}

TEST(Plane, EveryStepIsRoundedTo32Bits) {
  // Worked by hand, each step from the stored floats in double precision and then rounded:
  //   A = (2.69999981, 2.95000005, -4.39999962)   B = (-2.0999999, 5.1500001, 1.95000029)
  //   N = (28.4124985, 3.97499847, 20.0999985)    S = 1227.08057   L = 35.0297089
  //   R = 0.0285471976
  // One long double-precision expression would give (0.811097145, 0.113475077, 0.573798597),
  // distance 2.74010229 instead.
  Plane plane = PlaneOf({1.5f, -2.25f, 3.1f}, {4.2f, 0.7f, -1.3f}, {-0.6f, 2.9f, 5.05f});
  ExpectPlane(plane, 0x1.9f4822p-1f, 0x1.d0cb3cp-4f, 0x1.25c8f0p-1f, 0x1.5ebbb0p+1f);
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
  VXMOtherObjectClass* other = new VXMOtherObjectClass(5);
  for (VXMObjectClass* object :
       {static_cast<VXMObjectClass*>(old_mesh), static_cast<VXMObjectClass*>(new_mesh),
        static_cast<VXMObjectClass*>(unknown), static_cast<VXMObjectClass*>(empty),
        static_cast<VXMObjectClass*>(other)}) {
    model.objects.Add(object);
  }
  CaptureConsole console(true);
  EXPECT_EQ(RecomputePlanes(model, console), 2);

  EXPECT_EQ(old_mesh->format, 0x40002u);
  ExpectPlane({old_mesh->triangles[0].normal, old_mesh->triangles[0].distance}, 0, 0, 1, 5);
  ExpectPlane({old_mesh->triangles[1].normal, old_mesh->triangles[1].distance}, 0, 0, -1, -5);
  EXPECT_EQ(new_mesh->format, 0x40002u);
  ExpectPlane({new_mesh->triangles[0].normal, new_mesh->triangles[0].distance}, 7, 7, 7, 7);
  EXPECT_EQ(unknown->format, 0x30000u);
  ExpectPlane({unknown->triangles[0].normal, unknown->triangles[0].distance}, 0, 0, 0, 0);
  EXPECT_EQ(empty->format, 0x40002u);

  EXPECT_EQ(console.text, "\x1b[91mUnknown mesh format 30000 in 'q.shape'\n\x1b[39m");
  EXPECT_TRUE(console.Paused());
}

TEST(Plane, NothingToDoPrintsNothing) {
  VXM model;
  model.objects.Add(SmallMesh("new", 0x40002));
  CaptureConsole console;
  EXPECT_EQ(RecomputePlanes(model, console), 0);
  EXPECT_EQ(console.text, "");
  EXPECT_FALSE(console.Paused());
}

}  // namespace
