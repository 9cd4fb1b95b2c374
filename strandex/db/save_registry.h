// The two registries of the chunk file: save sections, each owning one kind of top-level chunk,
// and object factories, each saving and re-creating one class of record inside an envelope
// chunk. Both are static objects that link themselves into a global list when constructed and
// unlink themselves when destroyed. LoadFile hands every top-level chunk of a file to the
// section registered for its ID.
#pragma once

#include <cstdint>

#include "strandex/db/chunk_reader.h"
#include "strandex/db/chunk_writer.h"
#include "strandex/db/storable.h"

class SaveSectionClass {
 public:
  SaveSectionClass();
  virtual ~SaveSectionClass();
  SaveSectionClass(const SaveSectionClass&) = delete;
  SaveSectionClass& operator=(const SaveSectionClass&) = delete;

  virtual void OnPreLoad() {}
  virtual uint32_t GetChunkID() = 0;
  virtual bool HasData() = 0;
  virtual bool Save(ChunkWriterClass& writer) = 0;
  virtual bool Load(ChunkReaderClass& reader) = 0;
  virtual const char* Name() = 0;

  static SaveSectionClass* First() { return first; }
  SaveSectionClass* Next() const { return next; }
  // The first registered section that owns chunk id, or null.
  static SaveSectionClass* Find(uint32_t id);

 private:
  static SaveSectionClass* first;
  SaveSectionClass* next = nullptr;
};

class ObjectFactoryClass {
 public:
  ObjectFactoryClass();
  virtual ~ObjectFactoryClass();
  ObjectFactoryClass(const ObjectFactoryClass&) = delete;
  ObjectFactoryClass& operator=(const ObjectFactoryClass&) = delete;

  virtual uint32_t GetChunkID() = 0;
  // A new record read from an opened envelope chunk; null when memory runs out or the record
  // could not be read.
  virtual StorableClass* CreateAndLoad(ChunkReaderClass& reader) = 0;
  // The envelope payload for object: its token chunk and its data chunk.
  virtual bool Save(ChunkWriterClass& writer, StorableClass* object);

  static ObjectFactoryClass* First() { return first; }
  ObjectFactoryClass* Next() const { return next; }
  // The first registered factory for chunk id, or null.
  static ObjectFactoryClass* Find(uint32_t id);

  // Tokens: every envelope of one save carries a different one, counted from 1.
  static void ResetTokens() { next_token = 1; }

 protected:
  // Reads the token chunk and the data chunk of an opened envelope into record.
  static bool LoadEnvelope(ChunkReaderClass& reader, StorableClass* record);

 private:
  static ObjectFactoryClass* first;
  static uint32_t next_token;
  ObjectFactoryClass* next = nullptr;
};

// Writes one record in its envelope: BeginChunk(factory ID), the factory's Save, EndChunk.
bool SaveObject(ChunkWriterClass& writer, StorableClass* object);

// Loads every top-level chunk through the section registered for its ID; chunks without a
// section are passed over. False once a section has failed (later sections are then not
// loaded). Whether the file was read whole is the reader's IsDamaged. sectionsLoaded (when
// given) receives the number of sections that were handed a chunk.
bool LoadFile(ChunkReaderClass& reader, int* sectionsLoaded = nullptr);
