// Registries of save sections and object factories, and the file loader over them.
#include "tdb/save_registry.h"

#include "common/coding.h"
#include "common/memory_file.h"
#include "tdb/tdb_format.h"

constinit uint32_t ObjectFactoryClass::next_token = 1;

bool ObjectFactoryClass::Save(ChunkWriterClass& writer, StorableClass* object) {
  uint32_t token = next_token++;
  unsigned char bytes[4];
  EncodeFixed32(bytes, token);
  return writer.BeginChunk(tdb::kEnvelopeToken) && writer.Write(bytes, 4) == 4 && writer.EndChunk() &&
         writer.BeginChunk(tdb::kEnvelopeData) && object->Save(writer) && writer.EndChunk();
}

// The token is read and let go: nothing looks objects up by token. An envelope without its token
// or its data is damage; the record then keeps what it has (its defaults, without data).
bool ObjectFactoryClass::LoadEnvelope(ChunkReaderClass& reader, StorableClass* record) {
  if (!reader.OpenChunk()) return LoadWithoutData(reader, record);
  if (reader.CurrentChunkID() == tdb::kEnvelopeToken) {
    unsigned char token[4];
    reader.Read(token, 4);
    reader.CloseChunk();
    if (!reader.OpenChunk()) return LoadWithoutData(reader, record);
  } else {
    // No token: the chunk there is read as the data.
    reader.MarkDamaged(ChunkDamage::kRecordIncomplete);
  }
  bool ok = record->Load(reader);
  reader.CloseChunk();
  if (ok) record->OnAfterLoad();
  return ok;
}

// The record is loaded from empty data, so that it holds what a save of it would write (a string
// gets its text 0 from the English text, as every string read without texts does).
bool ObjectFactoryClass::LoadWithoutData(ChunkReaderClass& reader, StorableClass* record) {
  reader.MarkDamaged(ChunkDamage::kRecordIncomplete);
  MemoryFileClass empty;
  ChunkReaderClass nothing(&empty, reader.Parts());
  bool ok = record->Load(nothing);
  if (ok) record->OnAfterLoad();
  return ok;
}

bool SaveObject(ChunkWriterClass& writer, StorableClass* object) {
  ObjectFactoryClass* factory = object->GetFactory();
  return writer.BeginChunk(factory->GetChunkID()) && factory->Save(writer, object) && writer.EndChunk();
}

bool LoadFile(ChunkReaderClass& reader, int* sectionsLoaded) {
  bool result = true;
  int loaded = 0;
  while (reader.OpenChunk()) {
    SaveSectionClass* section = SaveSectionClass::Find(reader.CurrentChunkID());
    if (!section) {
      reader.NotePassedChunk();
    } else if (result) {
      section->OnPreLoad();
      result = section->Load(reader);
      ++loaded;
    }
    reader.CloseChunk();
  }
  if (sectionsLoaded) *sectionsLoaded = loaded;
  return result;
}
