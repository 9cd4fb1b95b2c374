#include "vxmlib/obj_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/fault_sweep.h"

namespace {

const VXMMeshClass& MeshAt(const VXM& model, int index) {
  return *static_cast<VXMMeshClass*>(model.objects[index]);
}

std::vector<uint32_t> Corners(const VXMMeshClass& mesh, int t) {
  const uint32_t* v = mesh.triangles[t].vertex_index;
  return {v[0], v[1], v[2]};
}

TEST(ObjReader, OneMeshPerObjectOrGroupWithItsOwnVertices) {
  const char* text =
      "# two groups\n"
      "v 0 0 0\n"
      "v 1 0 0\r\n"
      "v 1 1 0\n"
      "v 0 1 0\n"
      "vt 0 0\n"
      "vn 0 0 1\n"
      "o a_very_long_object_name\n"
      "f 1/1/1 2/1/1 3/1/1 4/1/1\n"
      "g empty\n"
      "g tail  # comment\n"
      "s off\n"
      "f 2//1 -1//1 3\n"
      "v 5 5 5\n"
      "f -1 1/1 2\n";
  ObjOptions options;
  options.format = 0x1234;
  options.qualifier = "a_qualifier_longer_than_15";
  VXM model;
  std::string error;
  ASSERT_TRUE(ReadObj(text, options, model, &error)) << error;
  ASSERT_EQ(model.objects.Count(), 2);

  const VXMMeshClass& first = MeshAt(model, 0);
  EXPECT_STREQ(first.name, "a_very_long_obj");
  EXPECT_STREQ(first.qualifier, "a_qualifier_lon");
  EXPECT_EQ(first.format, 0x1234u);
  ASSERT_EQ(first.vertex_count, 4u);
  ASSERT_EQ(first.triangle_count, 2u);  // the quad as a fan: 1 2 3, 1 3 4
  EXPECT_EQ(Corners(first, 1), (std::vector<uint32_t>{0, 2, 3}));
  EXPECT_EQ(first.triangles[0].normal.z, 0.0f);
  EXPECT_EQ(first.triangles[0].distance, 0.0f);

  // "tail" uses vertices 2, 4, 3 and then 5, 1, 2: five vertices, in file order.
  const VXMMeshClass& tail = MeshAt(model, 1);
  EXPECT_STREQ(tail.name, "tail");
  ASSERT_EQ(tail.vertex_count, 5u);
  EXPECT_EQ(tail.vertices[4].x, 5.0f);
  ASSERT_EQ(tail.triangle_count, 2u);
  EXPECT_EQ(Corners(tail, 0), (std::vector<uint32_t>{1, 3, 2}));
  EXPECT_EQ(Corners(tail, 1), (std::vector<uint32_t>{4, 0, 1}));

  // Faces before any group form the default mesh; a name too long for its 15 bytes loses the
  // whole character that does not fit.
  VXM plain;
  ASSERT_TRUE(ReadObj("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ng abcdefghijklmn\xC3\xA9\nf 3 2 1", ObjOptions(),
                      plain, &error))
      << error;
  ASSERT_EQ(plain.objects.Count(), 2);
  EXPECT_STREQ(MeshAt(plain, 0).name, "default");
  EXPECT_EQ(MeshAt(plain, 0).format, 0x50000u);
  EXPECT_STREQ(MeshAt(plain, 1).name, "abcdefghijklmn");
}

// Lines may end in LF, CR LF or CR alone (as old Mac programs write them), mixed in one file.
TEST(ObjReader, EveryLineEndEndsALine) {
  VXM model;
  std::string error;
  ASSERT_TRUE(
      ReadObj("o cr\rv 0 0 0\rv 1 0 0\r\nv 0 1 0\n\r\rf 1 2 3\rf -1 -2 -3\r", ObjOptions(), model, &error))
      << error;
  ASSERT_EQ(model.objects.Count(), 1);
  EXPECT_STREQ(MeshAt(model, 0).name, "cr");
  EXPECT_EQ(MeshAt(model, 0).triangle_count, 2u);
  EXPECT_FALSE(ReadObj("v 0 0 0\r\rf 1 2 3\r", ObjOptions(), model, &error));
  EXPECT_EQ(error, "line 3: vertex 2 does not exist (there are 1)");
}

TEST(ObjReader, RunningOutOfMemoryAnywhereFailsTheRead) {
  std::string error;
  fault_sweep::Allocations(
      [&] {
        VXM model;
        return ReadObj("v 0 0 0\nv 1 0 0\nv 0 1 0\ng a\nf 1 2 3\ng b\nf 3 2 1", ObjOptions(), model, &error);
      },
      [&](const std::string& where, bool ok) {
        EXPECT_EQ(error.find("out of memory") != std::string::npos, !ok) << where << ": " << error;
        std::string().swap(error);
      });
}

TEST(ObjReader, BadInputNamesTheLine) {
  struct Case {
    std::string_view text;
    const char* error;
  } cases[] = {
      {std::string_view("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2\0 3\n", 33), "line 4: a zero byte inside the line"},
      {std::string_view("v 0 0 0\n# note\0\n", 16), "line 2: a zero byte inside the line"},
      {"\n\x01\x02TDB \xFF\nmore\n", "line 2: not an OBJ statement, and the file holds none"},
      {"# nothing but a comment\n\n", "the file holds no OBJ statement"},
      {"v 1 2\n", "line 1: a vertex needs three numbers"},
      {"v 0 0 0\nv 1 0 0\nf 1 2\n", "line 3: a face needs at least three corners"},
      {"v 0 0 0\nf 1 0 1\n", "line 2: \"0\" is not a vertex number"},
      {"v 0 0 0\nf 1 x 1\n", "line 2: \"x\" is not a vertex number"},
      {"v 0 0 0\nf 1 -2 1\n", "line 2: vertex -2 lies before the first vertex"},
      {"v 0 0 0\n\nf 1 2 3\nv 1 1 1\n", "line 3: vertex 3 does not exist (there are 2)"},
  };
  for (const Case& c : cases) {
    VXM model;
    std::string error;
    EXPECT_FALSE(ReadObj(c.text, ObjOptions(), model, &error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
  // One line costs a bounded amount however long it is.
  std::string face = "v 0 0 0\nf";
  for (int i = 0; i < 65537; ++i) face += " 1";
  VXM model;
  std::string error;
  EXPECT_FALSE(ReadObj(face + " 1\n", ObjOptions(), model, &error));
  EXPECT_EQ(error, "line 2: a face of more than 65536 corners");
}

}  // namespace
