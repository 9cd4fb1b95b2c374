// Category record and its chunks in the .tdb file.
#include "tdb/string_category.h"

#include "tdb/chunk_reader.h"
#include "tdb/chunk_writer.h"
#include "tdb/payload.h"
#include "tdb/save_registry.h"
#include "tdb/tdb_format.h"

namespace {

RecordFactoryClass<StringCategoryClass, tdb::kCategoryFactory> category_factory;

}  // namespace

ObjectFactoryClass* StringCategoryClass::GetFactory() { return &category_factory; }

bool StringCategoryClass::Save(ChunkWriterClass& writer) {
  return writer.BeginChunk(tdb::kCategoryEmpty) && writer.EndChunk() &&
         writer.BeginChunk(tdb::kCategoryFields) && writer.WriteMicroChunkInt(tdb::kCategoryFieldID, ID) &&
         writer.WriteMicroChunk(tdb::kCategoryFieldName, Name.Chars(), Name.Length() + 1) &&
         writer.EndChunk();
}

bool StringCategoryClass::Load(ChunkReaderClass& reader) {
  bool ok = true;
  while (ok && reader.OpenChunk()) {
    if (reader.CurrentChunkID() == tdb::kCategoryFields) {
      while (ok && reader.OpenMicroChunk()) {
        if (reader.CurrentMicroChunkID() == tdb::kCategoryFieldID) {
          ReadIntPayload(reader, ID);
        } else if (reader.CurrentMicroChunkID() == tdb::kCategoryFieldName) {
          ok = ReadNarrowPayload(reader, reader.CurrentMicroChunkLength(), Name);
        }
        reader.CloseMicroChunk();
      }
    } else if (reader.CurrentChunkID() != tdb::kCategoryEmpty) {
      reader.NotePassedChunk();
    }
    reader.CloseChunk();
  }
  return ok;
}
