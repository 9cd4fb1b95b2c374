// The objects a model holds: meshes (kind 0), objects of other kinds kept as raw bytes, and raw
// chunks kept for writing back. Each object writes its own body; VXM frames it as a chunk.
#pragma once

#include <cstdint>

#include "common/array.h"
#include "common/file_class.h"

struct VXMVector {
  float x, y, z;
};

// One triangle as it lies in memory and on disk: 32 bytes, no gaps.
struct VXMTriangle {
  uint32_t vertex_index[3];
  uint32_t attribute;
  VXMVector normal;
  float distance;
};
static_assert(sizeof(VXMVector) == 12);
static_assert(sizeof(VXMTriangle) == 32);

// A chunk the library does not interpret: its id and payload, and how many interpreted items
// (objects at the top level, sub-chunks inside a mesh) came before it.
class VXMChunkClass {
 public:
  VXMChunkClass(uint32_t id, int after) : id(id), after(after) {}
  ~VXMChunkClass() { delete[] data; }
  VXMChunkClass(const VXMChunkClass&) = delete;
  VXMChunkClass& operator=(const VXMChunkClass&) = delete;

  // Room for size payload bytes; false when memory ran out.
  bool Allocate(uint32_t size);

  uint32_t id;
  int after;
  uint32_t size = 0;
  unsigned char* data = nullptr;
};

// A list of kept chunks that owns them.
class VXMChunkListClass : public DynamicArrayClass<VXMChunkClass*> {
 public:
  VXMChunkListClass() = default;
  VXMChunkListClass(const VXMChunkListClass&) = delete;
  VXMChunkListClass& operator=(const VXMChunkListClass&) = delete;
  ~VXMChunkListClass() override { DeleteChunks(); }
  void DeleteChunks();
  // Total bytes, headers included, of the chunks that go in slot position when the slots run
  // from first to last (an after outside that range goes to the nearest end).
  uint64_t BytesAt(int position, int first, int last) const;
  // Writes those chunks; false when a write fell short.
  bool WriteAt(int position, int first, int last, FileClass* file) const;
};

class VXMObjectClass {
 public:
  virtual ~VXMObjectClass() = default;
  // 0 for a mesh.
  virtual uint32_t Kind() const = 0;
  // Bytes of the body that follows the kind word in the object's chunk.
  virtual uint64_t BodySize() const = 0;
  // Writes the body; false when a write fell short.
  virtual bool WriteBody(FileClass* file) const = 0;
};

class VXMMeshClass : public VXMObjectClass {
 public:
  VXMMeshClass() = default;
  ~VXMMeshClass() override;
  VXMMeshClass(const VXMMeshClass&) = delete;
  VXMMeshClass& operator=(const VXMMeshClass&) = delete;

  uint32_t Kind() const override { return 0; }
  uint64_t BodySize() const override;
  bool WriteBody(FileClass* file) const override;

  // Replaces the arrays with zeroed ones of the given sizes; false (and the mesh unchanged) when
  // memory ran out.
  bool Allocate(uint32_t vertex_total, uint32_t triangle_total);
  // Points the vertex or triangle array at records in memory that the model holds (the bytes
  // it was loaded from), which the mesh does not free; Allocate gives it arrays of its own again.
  void Borrow(VXMVector* records);
  void Borrow(VXMTriangle* records);
  // Copies text into name or qualifier, cut to 15 characters.
  static void SetText(char (&field)[16], const char* text);

  VXMVector* vertices = nullptr;
  uint32_t format = 0;
  char name[16] = {};
  char qualifier[16] = {};
  uint32_t triangle_count = 0;
  VXMTriangle* triangles = nullptr;
  uint32_t vertex_count = 0;
  // Sub-chunks the library does not interpret; after counts MHDR, VERT and TRIS as written.
  VXMChunkListClass kept;

 private:
  bool owns_vertices = true;
  bool owns_triangles = true;
};

// An object of a kind other than a mesh (never 0): its body is kept byte for byte.
class VXMOtherObjectClass : public VXMObjectClass {
 public:
  explicit VXMOtherObjectClass(uint32_t kind) : kind(kind), body(0, 0) {}

  uint32_t Kind() const override { return kind; }
  uint64_t BodySize() const override { return body.size; }
  bool WriteBody(FileClass* file) const override;

  uint32_t kind;
  VXMChunkClass body;
};
