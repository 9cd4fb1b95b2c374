// VXMReaderClass: reads one model file into a VXM, checking every size, count and vertex index.
// On the first problem it records the reason in the model and stops. The file is read in one
// piece into memory and taken apart there, and the meshes' vertex and triangle records stay
// where they were read (the model keeps those bytes); only when memory cannot hold the file is
// it read record by record.
#pragma once

#include <cstdint>

#include "common/file_class.h"
#include "vxmlib/vxm.h"

class VXMReaderClass {
 public:
  VXMReaderClass(VXM& model, FileClass* file) : model(model), file(file) {}
  ~VXMReaderClass() { delete[] bytes; }
  VXMReaderClass(const VXMReaderClass&) = delete;
  VXMReaderClass& operator=(const VXMReaderClass&) = delete;

  // Fills the model's objects and kept chunks; false (with the reason recorded) on failure.
  bool ReadModel();

 private:
  // Records the failure in the model, naming the object when inside one.
  void Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Reads what is left of the file into bytes, when memory allows; false when the read fails.
  bool ReadWhole();
  bool Read(void* buffer, uint32_t size);
  // Reads a chunk header within limit bytes of the current position.
  bool ReadChunkHeader(uint64_t limit, uint32_t* id, uint32_t* size);
  bool ReadObject(uint32_t size);
  bool ReadMesh(VXMMeshClass& mesh, uint32_t size);
  bool ReadMeshHeader(VXMMeshClass& mesh, uint64_t* left);
  template <typename Record>
  bool ReadArray(VXMMeshClass& mesh, Record** array, uint32_t id, uint32_t count, uint32_t size);
  bool ReadKept(VXMChunkListClass& list, uint32_t id, uint32_t size, int after);
  bool CheckIndices(const VXMMeshClass& mesh);

  VXM& model;
  FileClass* file;
  // The rest of the file from the start position, or null when it is read piece by piece.
  unsigned char* bytes = nullptr;
  // Bytes read since Load started, and bytes left in the file after them.
  int64_t offset = 0;
  int64_t remaining = 0;
  // Index the object being read will have.
  int object_index = 0;
  bool in_object = false;
  // A mesh uses records inside bytes, which the model must then keep.
  bool bytes_in_use = false;
};
