// The database's save section, registered at program start, and SaveDatabase.
#include "tdb/database_section.h"

#include "tdb/payload.h"
#include "tdb/tdb_format.h"
#include "tdb/translate_db.h"

namespace {

void LoadVariables(ChunkReaderClass& reader) {
  while (reader.OpenMicroChunk()) {
    int32_t value;
    if (reader.CurrentMicroChunkID() == tdb::kVarVersion) {
      value = TranslateDBClass::GetVersion();
      ReadIntPayload(reader, value);
      TranslateDBClass::SetVersion(value);
    } else if (reader.CurrentMicroChunkID() == tdb::kVarLanguage) {
      value = TranslateDBClass::GetCurrentLanguage();
      ReadIntPayload(reader, value);
      TranslateDBClass::SetCurrentLanguage(value);
    }
    reader.CloseMicroChunk();
  }
}

// Envelopes of one record class; anything else is passed over. False when memory runs out.
// Strings are added once all of them are read, in file order, so that the object table is
// sized once for the highest ID among them.
bool LoadRecords(ChunkReaderClass& reader, uint32_t envelopeID) {
  DynamicArrayClass<TDBStringClass*> strings;
  int highestID = 0;
  bool ok = true;
  while (ok && reader.OpenChunk()) {
    ObjectFactoryClass* factory =
        reader.CurrentChunkID() == envelopeID ? ObjectFactoryClass::Find(envelopeID) : nullptr;
    if (!factory) {
      reader.NotePassedChunk();
    } else if (StorableClass* record = factory->CreateAndLoad(reader)) {
      if (envelopeID == tdb::kStringFactory) {
        TDBStringClass* string = static_cast<TDBStringClass*>(record);
        int id = string->GetID();
        if (id <= TranslateDBClass::kLastID && id > highestID) highestID = id;
        ok = AddDoubling(strings, string);
      } else {
        ok = TranslateDBClass::AddCategory(static_cast<StringCategoryClass*>(record));
      }
      if (!ok) delete record;
    } else {
      ok = false;
    }
    reader.CloseChunk();
  }
  if (strings.Count() > 0) ok = TranslateDBClass::ReserveObjects(strings.Count(), highestID) && ok;
  for (int i = 0; i < strings.Count(); ++i) {
    if (ok) ok = TranslateDBClass::AddObject(strings[i]);
    if (!ok) delete strings[i];
  }
  return ok;
}

DatabaseSectionClass database_section;

}  // namespace

uint32_t DatabaseSectionClass::GetChunkID() { return tdb::kDatabaseSection; }

bool DatabaseSectionClass::Save(ChunkWriterClass& writer) {
  bool ok = writer.BeginChunk(tdb::kVariables) &&
            writer.WriteMicroChunkInt(tdb::kVarVersion, TranslateDBClass::GetVersion()) &&
            writer.WriteMicroChunkInt(tdb::kVarLanguage, TranslateDBClass::GetCurrentLanguage()) &&
            writer.EndChunk();
  ok = ok && writer.BeginChunk(tdb::kCategories);
  for (int i = 0; ok && i < TranslateDBClass::GetCategoryCount(); ++i) {
    ok = SaveObject(writer, TranslateDBClass::GetCategory(i));
  }
  ok = ok && writer.EndChunk() && writer.BeginChunk(tdb::kStringObjects);
  for (int i = 0; ok && i < TranslateDBClass::GetObjectCount(); ++i) {
    if (TDBStringClass* obj = TranslateDBClass::GetObject(i)) ok = SaveObject(writer, obj);
  }
  return ok && writer.EndChunk();
}

bool DatabaseSectionClass::Load(ChunkReaderClass& reader) {
  TranslateDBClass::ClearObjects();
  TranslateDBClass::ClearCategories();
  TranslateDBClass::SetTextsLoaded(reader.Parts() != LoadedParts::kWithoutTexts);
  bool ok = true;
  while (ok && reader.OpenChunk()) {
    switch (reader.CurrentChunkID()) {
      case tdb::kVariables:
        LoadVariables(reader);
        break;
      case tdb::kStringObjects:
        ok = LoadRecords(reader, tdb::kStringFactory);
        break;
      case tdb::kCategories:
        ok = LoadRecords(reader, tdb::kCategoryFactory);
        break;
      default:
        reader.NotePassedChunk();
        break;
    }
    reader.CloseChunk();
  }
  // A file without categories reads as the database the editor starts with: "Default", ID 1, which
  // is the ID its strings refer to and the one any save writes.
  if (ok && TranslateDBClass::GetCategoryCount() == 0) ok = TranslateDBClass::AddCategoryNamed("Default");
  return ok;
}

SaveSectionClass& TranslateDBClass::Section() { return database_section; }

bool SaveDatabase(ChunkWriterClass& writer) {
  if (!TranslateDBClass::HasTexts()) return false;
  ObjectFactoryClass::ResetTokens();
  SaveSectionClass& section = TranslateDBClass::Section();
  if (!section.HasData()) return true;
  bool ok = writer.BeginChunk(section.GetChunkID()) && section.Save(writer) && writer.EndChunk();
  return ok && !writer.ErrorCode();
}
