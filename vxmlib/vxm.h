// VXM: one model, loaded from and saved to a FileClass in the format of vxm_format.h. Load
// checks everything it reads; a model that fails to load holds no objects and ErrorMessage says
// why. Chunks and objects the library does not interpret are kept and written back unchanged.
#pragma once

#include "common/array.h"
#include "common/file_class.h"
#include "common/string_class.h"
#include "vxmlib/vxm_objects.h"

class VXM {
 public:
  VXM();
  ~VXM();
  VXM(const VXM&) = delete;
  VXM& operator=(const VXM&) = delete;

  // Reads a model from the file's current position to its end, replacing what this one held.
  void Load(FileClass* file);
  // Writes the model at the file's current position.
  void Save(FileClass* file);

  // Why the last Load or Save failed; empty after success.
  const char* ErrorMessage() const;

  // Deletes every object and kept chunk, and the loaded bytes the meshes used.
  void Clear();

  DynamicArrayClass<VXMObjectClass*> objects;
  // Top-level chunks the library does not interpret; after counts the objects before them.
  VXMChunkListClass kept;

 private:
  friend class VXMReaderClass;
  friend class VXMWriterClass;
  // Records the first failure of the current Load or Save.
  void Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));

  NarrowStringClass error;
  bool failed = false;
  // The bytes the model was loaded from, when meshes use their vertex and triangle records in
  // place; freed after the objects.
  unsigned char* storage = nullptr;
};
