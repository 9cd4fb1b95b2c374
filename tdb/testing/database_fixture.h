// Test helpers for the string database: building chunk bytes by hand, saving and loading the
// database through memory, and a fixture that starts every test with an empty database.
// Header-only, for tests that link tdb (the database, tdbtool and the editor).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "common/memory_file.h"
#include "common/shared_bytes.h"
#include "common/testing/print_strings.h"
#include "common/testing/words.h"
#include "tdb/chunk_reader.h"
#include "tdb/chunk_writer.h"
#include "tdb/database_file.h"
#include "tdb/database_section.h"
#include "tdb/save_registry.h"
#include "tdb/translate_db.h"

// What tests look at inside the database.
struct TranslateDBPeer {
  // Slots the object table has storage for (at least the count).
  static int ObjectCapacity() { return TranslateDBClass::Objects.Length(); }
};

// A chunk: header and payload; sub marks a payload of sub-chunks.
inline std::string Chunk(uint32_t id, const std::string& payload, bool sub = false) {
  return Word32(id) + Word32(static_cast<uint32_t>(payload.size()) | (sub ? 0x80000000u : 0)) + payload;
}
inline std::string Micro(uint8_t id, const std::string& payload) {
  return std::string{static_cast<char>(id), static_cast<char>(payload.size())} + payload;
}

inline std::string SaveToBytes() {
  MemoryFileClass memory;
  ChunkWriterClass writer(&memory);
  EXPECT_TRUE(SaveDatabase(writer));
  return std::string(reinterpret_cast<const char*>(memory.Data()), static_cast<size_t>(memory.Size()));
}

// Loads bytes into the database (after clearing it), each string as parts says (with texts on
// demand, from a copy of the bytes in memory). damaged tells whether the reader saw damage;
// damage (when given) receives what it was, its offset and the number of slots.
inline bool LoadFromBytes(const std::string& bytes, bool* damaged = nullptr,
                          LoadedParts parts = LoadedParts::kWhole, std::string* damage = nullptr) {
  TranslateDBClass::ClearDatabase();
  MemoryFileClass memory(bytes.data(), static_cast<int>(bytes.size()));
  SharedBytesClass* copy = SharedBytesClass::Create(static_cast<int64_t>(bytes.size()));
  if (!copy) return false;
  if (!bytes.empty()) memcpy(copy->Data(), bytes.data(), bytes.size());
  ChunkReaderClass reader = parts == LoadedParts::kTextsOnDemand
                                ? ChunkReaderClass(copy, 0, copy->Size(), parts)
                                : ChunkReaderClass(&memory, parts);
  SharedBytesClass::Release(copy);
  bool ok = LoadFile(reader);
  if (damaged) *damaged = reader.IsDamaged();
  if (damage) {
    *damage = ChunkReaderClass::DamageText(reader.Damage()) + std::to_string(reader.DamageOffset()) + "/" +
              std::to_string(TranslateDBClass::GetObjectCount());
  }
  return ok;
}

// Replaces every envelope token (the 4 bytes after each 0x00100100 header) with zeros.
inline std::string WithoutTokens(std::string bytes) {
  const std::string header = Word32(0x00100100) + Word32(4);
  for (size_t at = bytes.find(header); at != std::string::npos; at = bytes.find(header, at + 1)) {
    bytes.replace(at + 8, 4, std::string(4, '\0'));
  }
  return bytes;
}

inline TDBStringClass* NewString(int id, const char* idString, const char16_t* text = u"", int category = 1) {
  TDBStringClass* s = new TDBStringClass;
  s->SetID(id);
  s->SetIDString(idString);
  s->SetCategoryID(category);
  s->SetText(0, text);
  return s;
}

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    TranslateDBClass::ClearDatabase();
    TranslateDBClass::ClearIDChanges();
    TranslateDBClass::SetVersion(0);
    TranslateDBClass::SetCurrentLanguage(0);
    TranslateDBClass::SetObjectGrowthStep(1000);
    TranslateDBClass::SetObjectGrowthInProportion(false);
  }
};
