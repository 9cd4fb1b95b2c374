// The two registries of the chunk file: save sections, each owning one kind of top-level chunk,
// and object factories, each saving and re-creating one class of record inside an envelope
// chunk. Both are static objects that link themselves into a global list when constructed and
// unlink themselves when destroyed. LoadFile hands every top-level chunk of a file to the
// section registered for its ID.
#pragma once

#include <cstdint>
#include <new>

#include "tdb/chunk_reader.h"
#include "tdb/chunk_writer.h"
#include "tdb/storable.h"

// A kind of static object that links itself into one global list per kind when constructed and
// unlinks itself when destroyed; T has a GetChunkID by which the list is searched.
template <typename T>
class SelfRegisteringClass {
 public:
  SelfRegisteringClass(const SelfRegisteringClass&) = delete;
  SelfRegisteringClass& operator=(const SelfRegisteringClass&) = delete;

  static T* First() { return Self(first); }
  T* Next() const { return Self(next); }
  // The first registered object for chunk id, or null.
  static T* Find(uint32_t id) {
    for (T* t = First(); t; t = t->Next()) {
      if (t->GetChunkID() == id) return t;
    }
    return nullptr;
  }

 protected:
  // The list holds this base part: the object is not yet a T while it links itself in.
  SelfRegisteringClass() : next(first) { first = this; }
  ~SelfRegisteringClass() {
    for (SelfRegisteringClass** link = &first; *link; link = &(*link)->next) {
      if (*link == this) {
        *link = next;
        return;
      }
    }
  }

 private:
  static T* Self(SelfRegisteringClass* entry) { return static_cast<T*>(entry); }

  static inline constinit SelfRegisteringClass* first = nullptr;
  SelfRegisteringClass* next;
};

class SaveSectionClass : public SelfRegisteringClass<SaveSectionClass> {
 public:
  virtual ~SaveSectionClass() = default;

  virtual void OnPreLoad() {}
  virtual uint32_t GetChunkID() = 0;
  virtual bool HasData() = 0;
  virtual bool Save(ChunkWriterClass& writer) = 0;
  virtual bool Load(ChunkReaderClass& reader) = 0;
  virtual const char* Name() = 0;
};

class ObjectFactoryClass : public SelfRegisteringClass<ObjectFactoryClass> {
 public:
  virtual ~ObjectFactoryClass() = default;

  virtual uint32_t GetChunkID() = 0;
  // A new record read from an opened envelope chunk; null when memory runs out or the record
  // could not be read.
  virtual StorableClass* CreateAndLoad(ChunkReaderClass& reader) = 0;
  // The envelope payload for object: its token chunk and its data chunk.
  virtual bool Save(ChunkWriterClass& writer, StorableClass* object);

  // Tokens: every envelope of one save carries a different one, counted from 1.
  static void ResetTokens() { next_token = 1; }

 protected:
  // Reads the token chunk and the data chunk of an opened envelope into record.
  static bool LoadEnvelope(ChunkReaderClass& reader, StorableClass* record);

 private:
  // An envelope that ends before its data: damage, and the record loaded from no data.
  static bool LoadWithoutData(ChunkReaderClass& reader, StorableClass* record);

  static uint32_t next_token;
};

// The factory of one record class: a new Record loaded from each envelope of chunk ID kChunkID.
// Each record class defines its factory beside itself.
template <typename Record, uint32_t kChunkID>
class RecordFactoryClass : public ObjectFactoryClass {
 public:
  uint32_t GetChunkID() override { return kChunkID; }
  StorableClass* CreateAndLoad(ChunkReaderClass& reader) override {
    Record* record = new (std::nothrow) Record;
    if (record && !LoadEnvelope(reader, record)) {
      delete record;
      record = nullptr;
    }
    return record;
  }
};

// Writes one record in its envelope: BeginChunk(factory ID), the factory's Save, EndChunk.
bool SaveObject(ChunkWriterClass& writer, StorableClass* object);

// Loads every top-level chunk through the section registered for its ID; chunks without a
// section are passed over. False once a section has failed (later sections are then not
// loaded). Whether the file was read whole is the reader's IsDamaged. sectionsLoaded (when
// given) receives the number of sections that were handed a chunk.
bool LoadFile(ChunkReaderClass& reader, int* sectionsLoaded = nullptr);
