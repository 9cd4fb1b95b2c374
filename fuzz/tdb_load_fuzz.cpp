// Fuzz target: loading a string database from arbitrary bytes. The load must stay inside the
// bytes it was given, and a load without texts must see the same damage, pass over the same
// unknown chunks and keep the same strings (and, once it has read a database without its texts,
// refuse to save). A load with texts on demand must see the same and save the same bytes as the
// whole load, its texts read from the bytes only by the save, and every text looked at where it
// stands in the bytes must be the text a read gives. Whatever the whole load produced
// and could save must load back undamaged, and from then on saving and loading must reproduce
// the file. (The first rounds may still change it: a "Default" category with ID 0 made by the
// loader is numbered when it is read back.)
//
// Inputs are capped at 64 KiB, which holds hundreds of strings. A large string ID gives the
// table that many slots; the table is freed after every input so that only that input pays.
// fuzz/tdb_load_fuzz.dict lists the format's chunk IDs.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "common/memory_file.h"
#include "common/shared_bytes.h"
#include "tdb/database_check.h"
#include "tdb/database_section.h"
#include "tdb/save_registry.h"
#include "tdb/translate_db.h"

namespace {

bool Save(MemoryFileClass& memory) {
  ChunkWriterClass writer(&memory);
  return SaveDatabase(writer);
}

// Loads the bytes as parts says (texts on demand from a copy of them); outline (when given)
// receives the damage, the number of chunks passed over and every string's IDs.
bool Load(const unsigned char* data, int size, bool* damaged, LoadedParts parts = LoadedParts::kWhole,
          std::string* outline = nullptr) {
  TranslateDBClass::ClearDatabase();
  MemoryFileClass memory(data, size);
  SharedBytesClass* copy = SharedBytesClass::Create(size);
  if (!copy) abort();
  if (size > 0) memcpy(copy->Data(), data, static_cast<size_t>(size));
  ChunkReaderClass reader = parts == LoadedParts::kTextsOnDemand ? ChunkReaderClass(copy, 0, size, parts)
                                                                 : ChunkReaderClass(&memory, parts);
  SharedBytesClass::Release(copy);
  bool ok = LoadFile(reader);
  *damaged = reader.IsDamaged();
  if (outline) {
    *outline = std::to_string(static_cast<int>(reader.Damage())) + "@" +
               std::to_string(reader.DamageOffset()) + "+" + std::to_string(reader.PassedChunkCount());
    for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
      TDBStringClass* s = TranslateDBClass::GetObject(i);
      if (s) *outline += "," + std::to_string(s->GetID()) + ":" + s->GetIDString().Chars();
    }
  }
  return ok;
}

// Whether a span holds text up to its end or its first 0 unit.
template <typename CharT>
bool SameText(const TextSpan& span, const CharT* text) {
  const auto* bytes = static_cast<const unsigned char*>(span.Units);
  size_t i = 0;
  for (; i < span.Length; ++i) {
    unsigned unit = span.Kind == TextSpan::kNarrow ? bytes[i]
                    : span.Kind == TextSpan::kWide ? static_cast<const char16_t*>(span.Units)[i]
                                                   : bytes[2 * i] | bytes[2 * i + 1] << 8;
    if (unit == 0) break;
    if (unit != static_cast<std::make_unsigned_t<CharT>>(text[i])) return false;
  }
  return text[i] == 0;
}

bool SpansAreTheTextsRead() {
  UnicodeStringClass scratch, read;
  NarrowStringClass narrow, english;
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    if (!s) continue;
    for (int language = 0; language <= s->GetTextCount(); ++language) {
      if (!SameText(s->PeekTextSpan(language, scratch), s->PeekText(language, read).Chars())) return false;
    }
    if (!SameText(s->PeekEnglishSpan(narrow), s->PeekEnglishText(english).Chars())) return false;
  }
  return true;
}

// Envelope tokens count up from 1 in every save, so two saves of one database are equal.
bool SameBytes(MemoryFileClass& a, MemoryFileClass& b) {
  return a.Size() == b.Size() && memcmp(a.Data(), b.Data(), static_cast<size_t>(a.Size())) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 16)) return 0;
  TranslateDBClass::SetObjectGrowthStep(1000);
  bool damaged = false;
  std::string bare, waiting, whole;
  MemoryFileClass refused, later;
  if (!Load(data, static_cast<int>(size), &damaged, LoadedParts::kWithoutTexts, &bare)) abort();
  if (!TranslateDBClass::HasTexts() && Save(refused)) abort();
  if (!Load(data, static_cast<int>(size), &damaged, LoadedParts::kTextsOnDemand, &waiting) || waiting != bare)
    abort();
  if (!SpansAreTheTextsRead()) abort();
  bool saved_later = Save(later);
  if (!Load(data, static_cast<int>(size), &damaged, LoadedParts::kWhole, &whole) || whole != bare) abort();

  // A database whose fields all fit must save; each save must load back undamaged.
  MemoryFileClass saves[4];
  for (int i = 0; i < 4; ++i) {
    if (!Save(saves[i])) {
      if (i == 0 && ListUnsaveableFields(nullptr) > 0 && !saved_later) break;
      abort();
    }
    if (i == 0 && (!saved_later || !SameBytes(saves[0], later))) abort();
    if (!Load(saves[i].Data(), saves[i].Size(), &damaged) || damaged) abort();
    if (i == 3 && !SameBytes(saves[2], saves[3])) abort();
  }
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::ReleaseObjectTable();
  TranslateDBClass::ClearIDChanges();
  return 0;
}
