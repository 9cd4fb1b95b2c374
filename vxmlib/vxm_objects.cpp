// Meshes, other objects and kept chunks: ownership and the bytes each writes.
#include "vxmlib/vxm_objects.h"

#include <bit>
#include <cstring>
#include <new>

#include "common/coding.h"
#include "vxmlib/vxm_format.h"
#include "vxmlib/vxm_io.h"

// Vertex and triangle arrays are read and written as they lie in memory.
static_assert(std::endian::native == std::endian::little);

using namespace vxm_format;

bool VXMChunkClass::Allocate(uint32_t size_in) {
  unsigned char* fresh = nullptr;
  if (size_in > 0) {
    fresh = new (std::nothrow) unsigned char[size_in];
    if (!fresh) return false;
  }
  delete[] data;
  data = fresh;
  size = size_in;
  return true;
}

namespace {

// The slot a kept chunk is written in: its after, held to first .. last.
int Slot(const VXMChunkClass* chunk, int first, int last) {
  if (chunk->after < first) return first;
  if (chunk->after > last) return last;
  return chunk->after;
}

}  // namespace

void VXMChunkListClass::DeleteChunks() {
  for (int i = 0; i < Count(); ++i) delete (*this)[i];
  Clear();
}

uint64_t VXMChunkListClass::BytesAt(int position, int first, int last) const {
  uint64_t total = 0;
  for (int i = 0; i < Count(); ++i) {
    if (Slot((*this)[i], first, last) == position) total += kChunkHeaderSize + (*this)[i]->size;
  }
  return total;
}

bool VXMChunkListClass::WriteAt(int position, int first, int last, FileClass* file) const {
  for (int i = 0; i < Count(); ++i) {
    const VXMChunkClass* chunk = (*this)[i];
    if (Slot(chunk, first, last) != position) continue;
    if (!vxm_io::WriteChunkHeader(file, chunk->id, chunk->size)) return false;
    if (!vxm_io::WriteAll(file, chunk->data, chunk->size)) return false;
  }
  return true;
}

VXMMeshClass::~VXMMeshClass() {
  if (owns_vertices) delete[] vertices;
  if (owns_triangles) delete[] triangles;
}

uint64_t VXMMeshClass::BodySize() const {
  uint64_t total = 3 * static_cast<uint64_t>(kChunkHeaderSize) + kMeshHeaderSize;
  total += static_cast<uint64_t>(vertex_count) * kVertexSize;
  total += static_cast<uint64_t>(triangle_count) * kTriangleSize;
  for (int slot = 1; slot <= 3; ++slot) total += kept.BytesAt(slot, 1, 3);
  return total;
}

bool VXMMeshClass::WriteBody(FileClass* file) const {
  if ((vertex_count != 0 && !vertices) || (triangle_count != 0 && !triangles)) return false;
  unsigned char header[kMeshHeaderSize];
  memcpy(header, name, kNameSize);
  memcpy(header + kNameSize, qualifier, kNameSize);
  EncodeFixed32(header + 2 * kNameSize, format);
  EncodeFixed32(header + 2 * kNameSize + 4, vertex_count);
  EncodeFixed32(header + 2 * kNameSize + 8, triangle_count);
  uint64_t vertex_bytes = static_cast<uint64_t>(vertex_count) * kVertexSize;
  uint64_t triangle_bytes = static_cast<uint64_t>(triangle_count) * kTriangleSize;
  return vxm_io::WriteChunkHeader(file, kMeshHeaderChunk, kMeshHeaderSize) &&
         vxm_io::WriteAll(file, header, kMeshHeaderSize) && kept.WriteAt(1, 1, 3, file) &&
         vxm_io::WriteChunkHeader(file, kVertexChunk, vertex_bytes) &&
         vxm_io::WriteAll(file, vertices, vertex_bytes) && kept.WriteAt(2, 1, 3, file) &&
         vxm_io::WriteChunkHeader(file, kTriangleChunk, triangle_bytes) &&
         vxm_io::WriteAll(file, triangles, triangle_bytes) && kept.WriteAt(3, 1, 3, file);
}

bool VXMMeshClass::Allocate(uint32_t vertex_total, uint32_t triangle_total) {
  VXMVector* fresh_vertices = nullptr;
  VXMTriangle* fresh_triangles = nullptr;
  if (vertex_total > 0) {
    fresh_vertices = new (std::nothrow) VXMVector[vertex_total]();
    if (!fresh_vertices) return false;
  }
  if (triangle_total > 0) {
    fresh_triangles = new (std::nothrow) VXMTriangle[triangle_total]();
    if (!fresh_triangles) {
      delete[] fresh_vertices;
      return false;
    }
  }
  if (owns_vertices) delete[] vertices;
  if (owns_triangles) delete[] triangles;
  vertices = fresh_vertices;
  triangles = fresh_triangles;
  owns_vertices = owns_triangles = true;
  vertex_count = vertex_total;
  triangle_count = triangle_total;
  return true;
}

void VXMMeshClass::Borrow(VXMVector* records) {
  if (owns_vertices) delete[] vertices;
  vertices = records;
  owns_vertices = false;
}

void VXMMeshClass::Borrow(VXMTriangle* records) {
  if (owns_triangles) delete[] triangles;
  triangles = records;
  owns_triangles = false;
}

void VXMMeshClass::SetText(char (&field)[16], const char* text) {
  memset(field, 0, sizeof field);
  if (!text) return;
  size_t n = strnlen(text, sizeof field - 1);
  // A text that does not fit is cut before the first UTF-8 character that would not fit whole.
  if (text[n] != 0) {
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  memcpy(field, text, n);
}

bool VXMOtherObjectClass::WriteBody(FileClass* file) const {
  return vxm_io::WriteAll(file, body.data, body.size);
}
