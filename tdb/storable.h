// StorableClass: the base of every record that is saved through an object factory.
#pragma once

class ChunkReaderClass;
class ChunkWriterClass;
class ObjectFactoryClass;

class StorableClass {
 public:
  virtual ~StorableClass() = default;
  virtual void OnAfterLoad() {}
  virtual ObjectFactoryClass* GetFactory() = 0;
  virtual bool Save(ChunkWriterClass&) { return true; }
  virtual bool Load(ChunkReaderClass&) { return true; }
};
