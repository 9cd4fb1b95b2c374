// Reading and checking a model file.
#include "vxmlib/vxm_reader.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "common/coding.h"
#include "vxmlib/vxm_format.h"
#include "vxmlib/vxm_io.h"

using namespace vxm_format;

namespace {

// A chunk id as text for messages; bytes outside printable ASCII show as '?'.
struct IdText {
  explicit IdText(uint32_t id) {
    for (int i = 0; i < 4; ++i) {
      char c = static_cast<char>(id >> (8 * i));
      text[i] = c >= 0x20 && c < 0x7f ? c : '?';
    }
    text[4] = 0;
  }
  char text[5];
};

bool IsTerminated(const char* field) { return memchr(field, 0, kNameSize) != nullptr; }

// Adds to a list whose length a damaged file may make huge: the growth step keeps pace with the
// count, so a million entries cost about twenty enlargements instead of a hundred thousand.
template <typename T>
bool AddGrowing(DynamicArrayClass<T*>& list, T* item) {
  if (list.Count() >= 64 && list.GrowthStep() < list.Count()) list.SetGrowthStep(list.Count());
  return list.Add(item);
}

}  // namespace

bool VXMReaderClass::ReadModel() {
  int start = file->Tell();
  int size = file->Size();
  if (start < 0 || size < 0) {
    Fail("cannot find the file's size");
    return false;
  }
  remaining = static_cast<int64_t>(size) - start;
  unsigned char header[kFileHeaderSize];
  if (remaining < kFileHeaderSize) {
    Fail("not a model file: %lld bytes is too short for the header", static_cast<long long>(remaining));
    return false;
  }
  if (!ReadWhole() || !Read(header, kFileHeaderSize)) return false;
  if (DecodeFixed32(header) != kMagic) {
    Fail("not a model file: the file does not start with \"VXMF\"");
    return false;
  }
  uint32_t version = DecodeFixed32(header + 4);
  if (version != kVersion) {
    Fail("format version %u is not supported (only %u is)", version, kVersion);
    return false;
  }
  while (remaining > 0) {
    uint32_t id, chunk_size;
    if (!ReadChunkHeader(static_cast<uint64_t>(remaining), &id, &chunk_size)) return false;
    bool ok = id == kObjectChunk ? ReadObject(chunk_size)
                                 : ReadKept(model.kept, id, chunk_size, model.objects.Count());
    if (!ok) return false;
  }
  if (bytes_in_use) {
    model.storage = bytes;
    bytes = nullptr;
  }
  return true;
}

void VXMReaderClass::Fail(const char* format, ...) {
  char text[400];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (in_object) {
    model.Fail("object %d: %s", object_index, text);
  } else {
    model.Fail("%s", text);
  }
}

bool VXMReaderClass::ReadWhole() {
  bytes = new (std::nothrow) unsigned char[static_cast<size_t>(remaining)];
  if (bytes && !vxm_io::ReadAll(file, bytes, static_cast<uint32_t>(remaining))) {
    Fail("reading %lld bytes at byte 0 failed", static_cast<long long>(remaining));
    return false;
  }
  return true;
}

bool VXMReaderClass::Read(void* buffer, uint32_t size) {
  if (bytes && size <= remaining) {
    if (size > 0) memcpy(buffer, bytes + offset, size);
  } else if (bytes || !vxm_io::ReadAll(file, buffer, size)) {
    Fail("reading %u bytes at byte %lld failed", size, static_cast<long long>(offset));
    return false;
  }
  offset += size;
  remaining -= size;
  return true;
}

bool VXMReaderClass::ReadChunkHeader(uint64_t limit, uint32_t* id, uint32_t* size) {
  if (limit < kChunkHeaderSize) {
    Fail("%llu stray bytes at byte %lld where a chunk header should start",
         static_cast<unsigned long long>(limit), static_cast<long long>(offset));
    return false;
  }
  unsigned char header[kChunkHeaderSize];
  if (!Read(header, kChunkHeaderSize)) return false;
  *id = DecodeFixed32(header);
  *size = DecodeFixed32(header + 4);
  if (*size > limit - kChunkHeaderSize) {
    Fail("chunk \"%s\" at byte %lld claims %u bytes, but only %llu are left for it", IdText(*id).text,
         static_cast<long long>(offset - kChunkHeaderSize), *size,
         static_cast<unsigned long long>(limit - kChunkHeaderSize));
    return false;
  }
  return true;
}

bool VXMReaderClass::ReadObject(uint32_t size) {
  in_object = true;
  if (size < 4) {
    Fail("its chunk holds %u bytes, too few for the kind word", size);
    return false;
  }
  unsigned char kind_bytes[4];
  if (!Read(kind_bytes, 4)) return false;
  uint32_t kind = DecodeFixed32(kind_bytes);
  VXMObjectClass* object;
  bool ok;
  if (kind == kMeshKind) {
    VXMMeshClass* mesh = new (std::nothrow) VXMMeshClass;
    object = mesh;
    ok = mesh && ReadMesh(*mesh, size - 4);
  } else {
    VXMOtherObjectClass* other = new (std::nothrow) VXMOtherObjectClass(kind);
    object = other;
    ok = other && other->body.Allocate(size - 4) && Read(other->body.data, size - 4);
  }
  if (ok && !AddGrowing(model.objects, object)) ok = false;
  if (!ok) {
    delete object;
    Fail("out of memory");
    return false;
  }
  ++object_index;
  in_object = false;
  return true;
}

bool VXMReaderClass::ReadMesh(VXMMeshClass& mesh, uint32_t size) {
  uint64_t left = size;
  if (!ReadMeshHeader(mesh, &left)) return false;
  int interpreted = 1;
  bool have_vertices = false, have_triangles = false;
  while (left > 0) {
    uint32_t id, chunk_size;
    if (!ReadChunkHeader(left, &id, &chunk_size)) return false;
    left -= kChunkHeaderSize + static_cast<uint64_t>(chunk_size);
    bool ok;
    if (id == kVertexChunk || id == kTriangleChunk) {
      bool& seen = id == kVertexChunk ? have_vertices : have_triangles;
      if (seen) {
        Fail("a second \"%s\" chunk", IdText(id).text);
        return false;
      }
      seen = true;
      ++interpreted;
      ok = id == kVertexChunk ? ReadArray(mesh, &mesh.vertices, id, mesh.vertex_count, chunk_size)
                              : ReadArray(mesh, &mesh.triangles, id, mesh.triangle_count, chunk_size);
    } else if (id == kMeshHeaderChunk) {
      Fail("a second \"MHDR\" chunk");
      return false;
    } else {
      ok = ReadKept(mesh.kept, id, chunk_size, interpreted);
    }
    if (!ok) return false;
  }
  bool lacks_vertices = !have_vertices && mesh.vertex_count != 0;
  if (lacks_vertices || (!have_triangles && mesh.triangle_count != 0)) {
    Fail("the mesh has no \"%s\" chunk for its %u %s", lacks_vertices ? "VERT" : "TRIS",
         lacks_vertices ? mesh.vertex_count : mesh.triangle_count, lacks_vertices ? "vertices" : "triangles");
    return false;
  }
  return CheckIndices(mesh);
}

bool VXMReaderClass::ReadMeshHeader(VXMMeshClass& mesh, uint64_t* left) {
  uint32_t id, size;
  if (!ReadChunkHeader(*left, &id, &size)) return false;
  if (id != kMeshHeaderChunk || size != kMeshHeaderSize) {
    Fail("a mesh must start with a %u-byte \"MHDR\" chunk, not %u bytes of \"%s\"", kMeshHeaderSize, size,
         IdText(id).text);
    return false;
  }
  unsigned char header[kMeshHeaderSize];
  if (!Read(header, kMeshHeaderSize)) return false;
  *left -= kChunkHeaderSize + kMeshHeaderSize;
  memcpy(mesh.name, header, kNameSize);
  memcpy(mesh.qualifier, header + kNameSize, kNameSize);
  mesh.format = DecodeFixed32(header + 2 * kNameSize);
  mesh.vertex_count = DecodeFixed32(header + 2 * kNameSize + 4);
  mesh.triangle_count = DecodeFixed32(header + 2 * kNameSize + 8);
  if (!IsTerminated(mesh.name) || !IsTerminated(mesh.qualifier)) {
    Fail("the mesh's %s has no terminating zero in its 16 bytes",
         IsTerminated(mesh.name) ? "qualifier" : "name");
    return false;
  }
  return true;
}

template <typename Record>
bool VXMReaderClass::ReadArray(VXMMeshClass& mesh, Record** array, uint32_t id, uint32_t count,
                               uint32_t size) {
  uint64_t expected = static_cast<uint64_t>(count) * sizeof(Record);
  if (size != expected) {
    Fail("\"%s\" holds %u bytes, but %u records of %u bytes need %llu", IdText(id).text, size, count,
         static_cast<unsigned>(sizeof(Record)), static_cast<unsigned long long>(expected));
    return false;
  }
  if (count == 0) return true;
  // The records are used where they lie in the loaded bytes when they are aligned for them.
  if (bytes && size <= remaining && reinterpret_cast<uintptr_t>(bytes + offset) % alignof(Record) == 0) {
    mesh.Borrow(reinterpret_cast<Record*>(bytes + offset));
    bytes_in_use = true;
    offset += size;
    remaining -= size;
    return true;
  }
  *array = new (std::nothrow) Record[count];
  if (!*array) {
    Fail("out of memory");
    return false;
  }
  return Read(*array, size);
}

bool VXMReaderClass::ReadKept(VXMChunkListClass& list, uint32_t id, uint32_t size, int after) {
  VXMChunkClass* chunk = new (std::nothrow) VXMChunkClass(id, after);
  if (!chunk || !chunk->Allocate(size) || !AddGrowing<VXMChunkClass>(list, chunk)) {
    delete chunk;
    Fail("out of memory");
    return false;
  }
  return Read(chunk->data, size);
}

bool VXMReaderClass::CheckIndices(const VXMMeshClass& mesh) {
  // The largest index, found without a branch per triangle, shows whether any is out of range;
  // only then is the first such triangle looked for.
  uint32_t largest = 0;
  for (uint32_t t = 0; t < mesh.triangle_count; ++t) {
    const uint32_t* index = mesh.triangles[t].vertex_index;
    uint32_t corners = index[0] > index[1] ? index[0] : index[1];
    corners = corners > index[2] ? corners : index[2];
    largest = largest > corners ? largest : corners;
  }
  if (mesh.triangle_count == 0 || largest < mesh.vertex_count) return true;
  for (uint32_t t = 0; t < mesh.triangle_count; ++t) {
    for (uint32_t corner = 0; corner < 3; ++corner) {
      uint32_t index = mesh.triangles[t].vertex_index[corner];
      if (index >= mesh.vertex_count) {
        Fail("triangle %u names vertex %u, but the mesh has %u vertices", t, index, mesh.vertex_count);
        return false;
      }
    }
  }
  return true;
}
