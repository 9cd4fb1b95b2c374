// String object record: texts, setters and its chunks in the .tdb file.
#include "strandex/db/tdb_string.h"

#include <new>
#include <utility>

#include "strandex/db/chunk_reader.h"
#include "strandex/db/chunk_writer.h"
#include "strandex/db/payload.h"
#include "strandex/db/save_registry.h"
#include "strandex/db/tdb_format.h"
// The one dependency of a record on the database: GetCurrentText asks it for the current
// language, as the records are designed to (the database itself holds the records).
#include "strandex/db/translate_db.h"

namespace {

const UnicodeStringClass kNoText;
RecordFactoryClass<TDBStringClass, tdb::kStringFactory> string_factory;

}  // namespace

TDBStringClass::TDBStringClass() = default;

TDBStringClass::TDBStringClass(const TDBStringClass& other)
    : StorableClass(other),
      EnglishText(other.EnglishText),
      IDString(other.IDString),
      ID(other.ID),
      SoundID(other.SoundID),
      CategoryID(other.CategoryID),
      AnimationName(other.AnimationName),
      Texts(other.Texts) {}

TDBStringClass::~TDBStringClass() = default;

ObjectFactoryClass* TDBStringClass::GetFactory() { return &string_factory; }

TDBStringClass* TDBStringClass::Clone() { return new (std::nothrow) TDBStringClass(*this); }

const UnicodeStringClass& TDBStringClass::GetCurrentText() {
  return GetText(TranslateDBClass::GetCurrentLanguage());
}

const UnicodeStringClass& TDBStringClass::GetText(int language) {
  if (Texts.Count() == 0) return kNoText;
  if (language < 0 || language >= Texts.Count()) return Texts[0];
  return Texts[language];
}

bool TDBStringClass::AppendEmptyText() { return Texts.Add(UnicodeStringClass()); }

bool TDBStringClass::SetText(int language, const char16_t* text) {
  if (language < 0) return false;
  while (language >= Texts.Count()) {
    if (!AppendEmptyText()) return false;
  }
  if (text && !Texts[language].TryAssign(text)) return false;
  // A text that has no narrow form leaves the English text as it was; memory running out fails.
  if (language == 0 && text && !EnglishText.FromWide(text) && NarrowLengthOfWide(text) > 0) return false;
  return true;
}

bool TDBStringClass::SetEnglishText(const char* text) {
  if (text && !EnglishText.TryAssign(text)) return false;
  if (Texts.Count() == 0 && !AppendEmptyText()) return false;
  return !text || Texts[0].FromNarrow(text);
}

bool TDBStringClass::SetIDString(const char* text) { return IDString.TryAssign(text); }

bool TDBStringClass::SetAnimationName(const char* text) { return AnimationName.TryAssign(text); }

bool TDBStringClass::HasText(int language) {
  return language >= 0 && language < Texts.Count() && !Texts[language].IsEmpty();
}

bool TDBStringClass::Save(ChunkWriterClass& writer) {
  bool ok = writer.BeginChunk(tdb::kStringEmpty) && writer.EndChunk();
  ok = ok && writer.BeginChunk(tdb::kStringFields) && writer.WriteMicroChunkInt(tdb::kFieldID, ID) &&
       writer.WriteMicroChunkInt(tdb::kFieldSoundID, SoundID) &&
       writer.WriteMicroChunkInt(tdb::kFieldCategoryID, CategoryID) &&
       writer.WriteMicroChunk(tdb::kFieldIDString, IDString.Chars(), IDString.Length() + 1) &&
       writer.WriteMicroChunk(tdb::kFieldAnimation, AnimationName.Chars(), AnimationName.Length() + 1) &&
       writer.EndChunk();
  ok = ok && writer.BeginChunk(tdb::kStringEnglish) && WriteNarrowPayload(writer, EnglishText) &&
       writer.EndChunk();
  for (int i = 0; ok && i < Texts.Count(); ++i) {
    ok = writer.BeginChunk(tdb::kStringText) && WriteWidePayload(writer, Texts[i]) && writer.EndChunk();
  }
  return ok;
}

// Reads the parts of a string object; a friend, so that texts are appended without a copy
// through the setters. Texts left out are passed over by closing their chunk unread.
class TDBStringLoader {
 public:
  static bool LoadFields(TDBStringClass& s, ChunkReaderClass& reader, bool texts) {
    bool ok = true;
    while (ok && reader.OpenMicroChunk()) {
      uint32_t length = reader.CurrentMicroChunkLength();
      switch (reader.CurrentMicroChunkID()) {
        case tdb::kFieldID:
          ReadIntPayload(reader, s.ID);
          break;
        case tdb::kFieldSoundID:
          ReadIntPayload(reader, s.SoundID);
          break;
        case tdb::kFieldCategoryID:
          ReadIntPayload(reader, s.CategoryID);
          break;
        case tdb::kFieldIDString:
          ok = ReadNarrowPayload(reader, length, s.IDString);
          break;
        case tdb::kFieldAnimation:
          ok = ReadNarrowPayload(reader, length, s.AnimationName);
          break;
        case tdb::kFieldEnglish:
          if (texts) ok = ReadNarrowPayload(reader, length, s.EnglishText);
          break;
        case tdb::kFieldText:
          if (texts) ok = LoadText(s, reader, length);
          break;
        default:
          break;
      }
      reader.CloseMicroChunk();
    }
    return ok;
  }

  static bool LoadText(TDBStringClass& s, ChunkReaderClass& reader, uint32_t length) {
    UnicodeStringClass text;
    return ReadWidePayload(reader, length, text) && s.Texts.Add(std::move(text));
  }
};

bool TDBStringClass::Load(ChunkReaderClass& reader) {
  const bool texts = reader.Parts() == LoadedParts::kWhole;
  bool ok = true;
  while (ok && reader.OpenChunk()) {
    uint32_t length = reader.CurrentChunkLength();
    switch (reader.CurrentChunkID()) {
      case tdb::kStringFields:
        ok = TDBStringLoader::LoadFields(*this, reader, texts);
        break;
      case tdb::kStringEnglish:
        if (texts) ok = ReadNarrowPayload(reader, length, EnglishText);
        break;
      case tdb::kStringText:
        if (texts) ok = TDBStringLoader::LoadText(*this, reader, length);
        break;
      case tdb::kStringEmpty:
        break;
      default:
        reader.NotePassedChunk();
        break;
    }
    reader.CloseChunk();
  }
  if (ok && texts && Texts.Count() == 0) {
    ok = AppendEmptyText();
    ok = ok && Texts[0].FromNarrow(EnglishText);
  }
  return ok;
}
