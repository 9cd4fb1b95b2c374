#include "vxmlib/vxm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "common/disk_file.h"
#include "common/testing/fault_disk.h"
#include "common/testing/fault_sweep.h"
#include "common/testing/temp_folder.h"
#include "vxmlib/testing/model_builder.h"

namespace {

using namespace vxm_test;

// A file written by hand, as its header and top-level chunks: a kept chunk before, between and
// after the objects, a mesh with kept sub-chunks, and an object of kind 7.
std::vector<std::string> HandWrittenPieces(uint32_t format = 0x50000, VXMVector normal = {.5f, .25f, .125f},
                                           float distance = 3.5f) {
  std::string vertices = Float32(0) + Float32(0) + Float32(0) + Float32(1) + Float32(0) + Float32(0) +
                         Float32(0) + Float32(1) + Float32(0);
  std::string mesh = MeshHeader("hull", "ship", format, 3, 1) + Chunk("NOTE", "after the header") +
                     Chunk("VERT", vertices) + Chunk("TRIS", Triangle(0, 1, 2, 99, normal, distance)) +
                     Chunk("UVS ", std::string("\x01\x02\x03", 3));
  return {FileHeader(),
          Chunk("INFO", "made by hand"),
          Object(0, mesh),
          Chunk("MID ", ""),
          Object(7, std::string("opaque\0bytes", 12)),
          Chunk("END ", "tail")};
}

template <typename... Args>
std::string HandWrittenFile(Args... args) {
  std::string bytes;
  for (const std::string& piece : HandWrittenPieces(args...)) bytes += piece;
  return bytes;
}

TEST(VXM, ReadsAHandWrittenFileAndWritesBackWhatItDoesNotUnderstandByteForByte) {
  std::string original = HandWrittenFile();
  VXM model;
  ASSERT_TRUE(LoadFromBytes(model, original)) << model.ErrorMessage();
  ASSERT_EQ(model.objects.Count(), 2);
  ASSERT_EQ(model.objects[0]->Kind(), 0u);
  VXMMeshClass& mesh = *static_cast<VXMMeshClass*>(model.objects[0]);
  EXPECT_EQ(std::string(mesh.name) + "." + mesh.qualifier, "hull.ship");
  EXPECT_EQ(mesh.format, 0x50000u);
  ASSERT_EQ(mesh.vertex_count, 3u);
  ASSERT_EQ(mesh.triangle_count, 1u);
  EXPECT_EQ(mesh.vertices[1].x + mesh.vertices[2].y, 2.0f);
  const VXMTriangle& triangle = mesh.triangles[0];
  EXPECT_EQ(triangle.vertex_index[2], 2u);
  EXPECT_EQ(triangle.attribute, 99u);
  EXPECT_EQ(triangle.normal.y, 0.25f);
  EXPECT_EQ(triangle.distance, 3.5f);
  EXPECT_EQ(model.objects[1]->Kind(), 7u);
  EXPECT_EQ(SaveToBytes(model), original);

  // Changed planes are written; everything else stays as it was.
  mesh.format = 0x40002;
  mesh.triangles[0].normal = {0, 0, 1};
  mesh.triangles[0].distance = 0;
  EXPECT_EQ(SaveToBytes(model), HandWrittenFile(0x40002, VXMVector{0, 0, 1}, 0.0f));
}

TEST(VXM, SubChunksInAnotherOrderKeepTheirPlaceAmongTheInterpretedOnes) {
  std::string mesh = MeshHeader("m", "", 0x40002, 3, 1) + Chunk("TRIS", Triangle(0, 1, 2, 0, {0, 0, 1}, 0)) +
                     Chunk("XTRA", "x") + Chunk("VERT", std::string(36, '\0'));
  VXM model;
  ASSERT_TRUE(LoadFromBytes(model, FileHeader() + Object(0, mesh))) << model.ErrorMessage();
  // The vertices lie at an odd offset in the file, and are still read as floats.
  EXPECT_EQ(static_cast<VXMMeshClass*>(model.objects[0])->vertices[2].z, 0.0f);
  // Written in the order header, vertices, triangles; the kept chunk follows the second one.
  std::string expected = MeshHeader("m", "", 0x40002, 3, 1) + Chunk("VERT", std::string(36, '\0')) +
                         Chunk("XTRA", "x") + Chunk("TRIS", Triangle(0, 1, 2, 0, {0, 0, 1}, 0));
  EXPECT_EQ(SaveToBytes(model), FileHeader() + Object(0, expected));
}

struct Damage {
  const char* what;
  std::string bytes;
  const char* reason;
};

TEST(VXM, DamagedModelsGetNoObjectsAndSayWhy) {
  std::string good_mesh = MeshHeader("m", "q", 0x50000, 3, 1) + Chunk("VERT", std::string(36, '\0'));
  std::string tris = Chunk("TRIS", Triangle(0, 1, 2, 0, {}, 0));
  std::string unterminated =
      Chunk("MHDR", std::string(16, 'n') + std::string(16, '\0') + Word32(0) + Word32(0) + Word32(0));
  std::vector<Damage> cases = {
      {"empty", "", "too short"},
      {"magic", "VXMX" + Word32(1), "does not start with \"VXMF\""},
      {"version", "VXMF" + Word32(2), "version 2 is not supported"},
      {"stray bytes", FileHeader() + "abc", "3 stray bytes at byte 8"},
      {"chunk past the end", FileHeader() + "OBJC" + Word32(100) + Word32(0), "claims 100 bytes, but only 4"},
      {"no kind word", FileHeader() + Chunk("OBJC", "ab"), "too few for the kind word"},
      {"mesh without header", FileHeader() + Object(0, Chunk("VERT", "")),
       "must start with a 44-byte \"MHDR\""},
      {"short header", FileHeader() + Object(0, Chunk("MHDR", std::string(40, '\0'))), "not 40 bytes"},
      {"name", FileHeader() + Object(0, unterminated), "name has no terminating zero"},
      {"vertex size",
       FileHeader() + Object(0, MeshHeader("m", "", 0, 2, 0) + Chunk("VERT", std::string(12, 0))),
       "\"VERT\" holds 12 bytes, but 2 records of 12 bytes need 24"},
      {"two vertex chunks", FileHeader() + Object(0, good_mesh + Chunk("VERT", std::string(36, '\0')) + tris),
       "a second \"VERT\""},
      {"two headers", FileHeader() + Object(0, good_mesh + MeshHeader("m", "", 0, 0, 0)),
       "a second \"MHDR\""},
      {"no triangles", FileHeader() + Object(0, MeshHeader("m", "", 0, 0, 1)),
       "no \"TRIS\" chunk for its 1 triangles"},
      {"no vertices", FileHeader() + Object(0, MeshHeader("m", "", 0, 2, 0)),
       "no \"VERT\" chunk for its 2 vertices"},
      {"vertex index",
       FileHeader() + Object(0, good_mesh + Chunk("TRIS", Triangle(0, 3, 2, 0, {}, 0))) +
           Object(0, good_mesh),
       "object 0: triangle 0 names vertex 3, but the mesh has 3 vertices"},
      {"bad second object", FileHeader() + Object(0, good_mesh + tris) + Object(0, "x"),
       "object 1: 1 stray bytes"},
      {"stray bytes in a mesh", FileHeader() + Object(0, good_mesh + tris + "zz"), "2 stray bytes"},
  };
  for (const Damage& c : cases) {
    VXM model;
    // A model that held objects loses them when the next load fails.
    ASSERT_TRUE(LoadFromBytes(model, HandWrittenFile()));
    EXPECT_FALSE(LoadFromBytes(model, c.bytes)) << c.what;
    EXPECT_EQ(model.objects.Count(), 0) << c.what;
    EXPECT_EQ(model.kept.Count(), 0) << c.what;
    EXPECT_NE(std::string(model.ErrorMessage()).find(c.reason), std::string::npos)
        << c.what << ": " << model.ErrorMessage();
  }
}

TEST(VXM, EveryTruncationInsideAChunkFails) {
  std::string whole;
  std::vector<size_t> ends;
  for (const std::string& piece : HandWrittenPieces()) ends.push_back((whole += piece).size());
  for (size_t length = 0; length < whole.size(); ++length) {
    VXM model;
    bool at_end_of_chunk = std::find(ends.begin(), ends.end(), length) != ends.end();
    EXPECT_EQ(LoadFromBytes(model, whole.substr(0, length)), at_end_of_chunk) << length;
    if (!at_end_of_chunk) {
      EXPECT_EQ(model.objects.Count(), 0);
    }
  }
}

TEST(VXM, LoadSurvivesEveryMemoryFailure) {
  const std::string bytes = HandWrittenFile();
  VXM* model = nullptr;
  fault_sweep::Allocations(
      [&] {
        model = new (std::nothrow) VXM;
        if (!model) return false;
        MemoryFileClass file(bytes.data(), static_cast<int>(bytes.size()));
        model->Load(&file);
        return *model->ErrorMessage() == 0;
      },
      [&](const std::string& where, bool ok) {
        if (model) {
          EXPECT_EQ(ok ? SaveToBytes(*model) : std::to_string(model->objects.Count()), ok ? bytes : "0")
              << where;
        }
        delete model;
        model = nullptr;
      });
}

TEST(VXM, SaveSurvivesEveryMemoryFailureAndReportsAFailedWrite) {
  VXM model;
  ASSERT_TRUE(LoadFromBytes(model, HandWrittenFile()));
  MemoryFileClass* file = nullptr;
  fault_sweep::Allocations(
      [&] {
        file = new (std::nothrow) MemoryFileClass;
        if (!file) return false;
        model.Save(file);
        return *model.ErrorMessage() == 0 && !file->ErrorCode();
      },
      [&](const std::string& where, bool ok) {
        std::string saved = ok ? std::string(reinterpret_cast<const char*>(file->Data()), file->Size()) : "";
        EXPECT_EQ(saved, ok ? HandWrittenFile() : "") << where;
        EXPECT_EQ(model.objects.Count(), 2) << where;
        delete file;
        file = nullptr;
        // A failed save keeps its message until the next one.
        MemoryFileClass again;
        model.Save(&again);
      });
  char bytes[16] = {};
  MemoryFileClass read_only(bytes, sizeof bytes);
  model.Save(&read_only);
  EXPECT_STREQ(model.ErrorMessage(), "writing the model failed");
  EXPECT_EQ(model.objects.Count(), 2);
  MemoryFileClass writable;
  model.Save(&writable);
  EXPECT_STREQ(model.ErrorMessage(), "");
}

TEST(VXM, ReadsTheFileInOneReadThroughShortReadsAndReportsAFailedOne) {
  TempFolder dir;
  std::string path = dir / "m.vxm";
  WriteBytes(path, HandWrittenFile());
  struct Case {
    int max_read, fail_read, reads;
    const char* error;
  } cases[] = {{0, 0, 1, ""}, {100, 0, 3, ""}, {0, 1, 1, "reading 255 bytes at byte 0 failed"}};
  for (const Case& c : cases) {
    platform::FaultDisk disk;
    disk.max_read = c.max_read;
    disk.fail_read = c.fail_read;
    DiskFileClass file(path.c_str(), disk);
    file.Open(1);
    VXM model;
    model.Load(&file);
    EXPECT_STREQ(model.ErrorMessage(), c.error);
    EXPECT_EQ(disk.reads, c.reads) << c.error;
    EXPECT_EQ(model.objects.Count(), *c.error ? 0 : 2);
  }
}

TEST(VXM, EmptyModelsAndMeshesAndLoadingFromTheCurrentPosition) {
  VXM model;
  ASSERT_TRUE(LoadFromBytes(model, FileHeader()));
  EXPECT_EQ(model.objects.Count(), 0);
  ASSERT_TRUE(LoadFromBytes(model, FileHeader() + Object(0, MeshHeader("", "", 0x50000, 0, 0))));
  ASSERT_EQ(model.objects.Count(), 1);
  EXPECT_EQ(static_cast<VXMMeshClass*>(model.objects[0])->triangle_count, 0u);

  VXM small;
  small.objects.Add(SmallMesh("a", 0x50000));
  MemoryFileClass file;
  file.Write("prefix", 6);
  small.Save(&file);
  file.Seek(6, 0);
  VXM again;
  again.Load(&file);
  ASSERT_STREQ(again.ErrorMessage(), "");
  ASSERT_EQ(again.objects.Count(), 1);
  EXPECT_STREQ(static_cast<VXMMeshClass*>(again.objects[0])->name, "a");
}

}  // namespace
