// Test helpers for models: models built in memory, model bytes written by hand, and loading from
// bytes. Header-only, for tests that link vxmlib (the model library and facetrue).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/memory_file.h"
#include "common/testing/words.h"
#include "vxmlib/vxm.h"
#include "vxmlib/vxm_format.h"

namespace vxm_test {

using Corners = std::array<uint32_t, 3>;

inline VXMMeshClass* MakeMesh(const char* name, const char* qualifier, uint32_t format,
                              const std::vector<VXMVector>& vertices, const std::vector<Corners>& triangles) {
  VXMMeshClass* mesh = new VXMMeshClass;
  mesh->Allocate(static_cast<uint32_t>(vertices.size()), static_cast<uint32_t>(triangles.size()));
  VXMMeshClass::SetText(mesh->name, name);
  VXMMeshClass::SetText(mesh->qualifier, qualifier);
  mesh->format = format;
  for (size_t v = 0; v < vertices.size(); ++v) mesh->vertices[v] = vertices[v];
  for (size_t t = 0; t < triangles.size(); ++t) {
    for (int c = 0; c < 3; ++c) mesh->triangles[t].vertex_index[c] = triangles[t][c];
  }
  return mesh;
}

// One triangle (0,0,0) (1,0,0) (0,1,0) in the given format.
inline VXMMeshClass* SmallMesh(const char* name, uint32_t format) {
  return MakeMesh(name, "q", format, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
}

inline std::string SaveToBytes(VXM& model) {
  MemoryFileClass file;
  model.Save(&file);
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.Size()));
}

// True when the bytes load without a failure.
inline bool LoadFromBytes(VXM& model, const std::string& bytes) {
  MemoryFileClass file(bytes.data(), static_cast<int>(bytes.size()));
  model.Load(&file);
  return *model.ErrorMessage() == 0;
}

// Model bytes of one mesh per entry.
inline std::string ModelBytes(const std::vector<VXMMeshClass*>& meshes) {
  VXM model;
  for (VXMMeshClass* mesh : meshes) model.objects.Add(mesh);
  return SaveToBytes(model);
}

// Pieces for writing model files by hand.
inline std::string Chunk(const char* id, const std::string& payload) {
  return std::string(id, 4) + Word32(static_cast<uint32_t>(payload.size())) + payload;
}

inline std::string FileHeader() { return "VXMF" + Word32(1); }

inline std::string Object(uint32_t kind, const std::string& body) {
  return Chunk("OBJC", Word32(kind) + body);
}

inline std::string MeshHeader(const char* name, const char* qualifier, uint32_t format, uint32_t vertices,
                              uint32_t triangles) {
  std::string n(16, '\0'), q(16, '\0');
  n.replace(0, strlen(name), name);
  q.replace(0, strlen(qualifier), qualifier);
  return Chunk("MHDR", n + q + Word32(format) + Word32(vertices) + Word32(triangles));
}

inline std::string Triangle(uint32_t a, uint32_t b, uint32_t c, uint32_t attribute, VXMVector normal,
                            float distance) {
  return Word32(a) + Word32(b) + Word32(c) + Word32(attribute) + Float32(normal.x) + Float32(normal.y) +
         Float32(normal.z) + Float32(distance);
}

}  // namespace vxm_test
