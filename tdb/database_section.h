// The database's save section (chunk 0x90000): version and current language, the categories in
// tab order and the string objects in slot order, each record through its factory. Loading
// reads what the reader's LoadedParts asks for and tells the database (HasTexts).
#pragma once

#include "tdb/chunk_reader.h"
#include "tdb/chunk_writer.h"
#include "tdb/save_registry.h"

class DatabaseSectionClass : public SaveSectionClass {
 public:
  uint32_t GetChunkID() override;
  bool HasData() override { return true; }
  const char* Name() override { return "TranslateDBClass"; }
  bool Save(ChunkWriterClass& writer) override;
  bool Load(ChunkReaderClass& reader) override;
};

// Writes the database section as one top-level chunk. False when any part could not be written,
// or the database was loaded without its texts.
bool SaveDatabase(ChunkWriterClass& writer);
