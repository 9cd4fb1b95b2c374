// String object record: texts, setters and its chunks in the .tdb file.
#include "tdb/tdb_string.h"

#include <new>
#include <utility>

#include "common/coding.h"
#include "common/string_functions.h"
#include "tdb/chunk_reader.h"
#include "tdb/chunk_writer.h"
#include "tdb/payload.h"
#include "tdb/save_registry.h"
#include "tdb/tdb_format.h"
// The one dependency of a record on the database: GetCurrentText asks it for the current
// language, as the records are designed to (the database itself holds the records).
#include "tdb/translate_db.h"

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
      Texts(other.Texts),
      Source(other.Source),
      SourceOffset(other.SourceOffset),
      SourceLength(other.SourceLength),
      SourceTextCount(other.SourceTextCount),
      EnglishAt(other.EnglishAt),
      EnglishBytes(other.EnglishBytes),
      TextsAt(other.TextsAt) {
  if (Source) Source->Hold();
}

TDBStringClass::~TDBStringClass() { SharedBytesClass::Release(Source); }

ObjectFactoryClass* TDBStringClass::GetFactory() { return &string_factory; }

TDBStringClass* TDBStringClass::Clone() { return new (std::nothrow) TDBStringClass(*this); }

const UnicodeStringClass& TDBStringClass::GetCurrentText() {
  return GetText(TranslateDBClass::GetCurrentLanguage());
}

const UnicodeStringClass& TDBStringClass::GetText(int language) {
  TakeTexts();
  if (Texts.Count() == 0) return kNoText;
  if (language < 0 || language >= Texts.Count()) return Texts[0];
  return Texts[language];
}

bool TDBStringClass::AppendEmptyText() { return Texts.Add(UnicodeStringClass()); }

const NarrowStringClass& TDBStringClass::GetEnglishText() {
  TakeTexts();
  return EnglishText;
}

bool TDBStringClass::SetText(int language, const char16_t* text) {
  if (language < 0 || !TakeTexts()) return false;
  TranslateDBClass::NoteChange();
  while (language >= Texts.Count()) {
    if (!AppendEmptyText()) return false;
  }
  if (text && !Texts[language].TryAssign(text)) return false;
  // A text that has no narrow form leaves the English text as it was; memory running out fails.
  if (language == 0 && text && !EnglishText.FromWide(text) && NarrowLengthOfWide(text) > 0) return false;
  return true;
}

bool TDBStringClass::SetEnglishText(const char* text) {
  TranslateDBClass::NoteChange();
  if (!TakeTexts() || (text && !EnglishText.TryAssign(text))) return false;
  if (Texts.Count() == 0 && !AppendEmptyText()) return false;
  return !text || Texts[0].FromNarrow(text);
}

bool TDBStringClass::SetIDString(const char* text) {
  TranslateDBClass::NoteChange();
  return IDString.TryAssign(text);
}

void TDBStringClass::SetID(int id) {
  TranslateDBClass::NoteChange();
  ID = id;
}

void TDBStringClass::SetCategoryID(int id) {
  TranslateDBClass::NoteChange();
  CategoryID = id;
}

bool TDBStringClass::SetAnimationName(const char* text) { return AnimationName.TryAssign(text); }

bool TDBStringClass::HasText(int language) {
  TakeTexts();
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
  if (!ok || !Source) return ok && SaveTexts(writer, EnglishText, Texts);
  // Texts still waiting are read for the save only, so that saving keeps memory as it was.
  TDBStringClass waiting;
  return ReadWaitingTexts(waiting) && SaveTexts(writer, waiting.EnglishText, waiting.Texts);
}

bool TDBStringClass::SaveTexts(ChunkWriterClass& writer, const NarrowStringClass& english,
                               const DynamicArrayClass<UnicodeStringClass>& texts) {
  bool ok =
      writer.BeginChunk(tdb::kStringEnglish) && WriteNarrowPayload(writer, english) && writer.EndChunk();
  for (int i = 0; ok && i < texts.Count(); ++i) {
    ok = writer.BeginChunk(tdb::kStringText) && WriteWidePayload(writer, texts[i]) && writer.EndChunk();
  }
  return ok;
}

// Reads the parts of a string object; a friend, so that texts are appended without a copy
// through the setters. Parts left out are passed over by closing their chunk unread; the texts
// are counted all the same.
class TDBStringLoader {
 public:
  struct Walk {
    bool Fields;
    bool Texts;
    int TextCount = 0;
    // For one text alone: the text of that number, and the English text, each when given.
    int Wanted = -1;
    UnicodeStringClass* WantedText = nullptr;
    NarrowStringClass* WantedEnglish = nullptr;
    // While texts are left waiting in bytes from Start on: where they stand there (the places
    // TDBStringClass keeps), and where a text chunk must begin to follow the one before.
    bool Places = false;
    int64_t Start = 0;
    uint32_t EnglishAt = TDBStringClass::kNowhere;
    uint32_t EnglishBytes = 0;
    uint32_t TextsAt = TDBStringClass::kNowhere;
    bool TextsInRow = true;
    int64_t TextsEnd = 0;
  };

  static bool Load(TDBStringClass& s, ChunkReaderClass& reader, Walk& walk) {
    bool ok = true;
    while (ok && reader.OpenChunk()) {
      uint32_t length = reader.CurrentChunkLength();
      switch (reader.CurrentChunkID()) {
        case tdb::kStringFields:
          ok = LoadFields(s, reader, walk);
          break;
        case tdb::kStringEnglish:
          ok = LoadEnglish(s, reader, length, walk);
          break;
        case tdb::kStringText:
          NoteTextChunk(reader, length, walk);
          ok = LoadText(s, reader, length, walk);
          break;
        case tdb::kStringEmpty:
          break;
        default:
          reader.NotePassedChunk();
          break;
      }
      reader.CloseChunk();
    }
    // A string without texts has its English text as text 0.
    if (ok && walk.Texts && s.Texts.Count() == 0) {
      ok = s.AppendEmptyText();
      ok = ok && s.Texts[0].FromNarrow(s.EnglishText);
    }
    return ok;
  }

 private:
  static bool LoadFields(TDBStringClass& s, ChunkReaderClass& reader, Walk& walk) {
    bool ok = true;
    while (ok && reader.OpenMicroChunk()) {
      uint32_t length = reader.CurrentMicroChunkLength();
      uint8_t id = reader.CurrentMicroChunkID();
      if (id == tdb::kFieldEnglish) {
        ok = LoadEnglish(s, reader, length, walk);
      } else if (id == tdb::kFieldText) {
        walk.TextsInRow = false;
        ok = LoadText(s, reader, length, walk);
      } else if (walk.Fields) {
        ok = LoadField(s, reader, id, length);
      }
      reader.CloseMicroChunk();
    }
    return ok;
  }

  static bool LoadField(TDBStringClass& s, ChunkReaderClass& reader, uint8_t id, uint32_t length) {
    switch (id) {
      case tdb::kFieldID:
        ReadIntPayload(reader, s.ID);
        return true;
      case tdb::kFieldSoundID:
        ReadIntPayload(reader, s.SoundID);
        return true;
      case tdb::kFieldCategoryID:
        ReadIntPayload(reader, s.CategoryID);
        return true;
      case tdb::kFieldIDString:
        return ReadNarrowPayload(reader, length, s.IDString);
      case tdb::kFieldAnimation:
        return ReadNarrowPayload(reader, length, s.AnimationName);
      default:
        return true;
    }
  }

  static bool LoadEnglish(TDBStringClass& s, ChunkReaderClass& reader, uint32_t length, Walk& walk) {
    // The last English text of a string is the one it has.
    if (walk.Places) {
      walk.EnglishAt = static_cast<uint32_t>(reader.BytesPosition() - walk.Start);
      walk.EnglishBytes = length;
    }
    if (walk.WantedEnglish) return ReadNarrowPayload(reader, length, *walk.WantedEnglish);
    return !walk.Texts || ReadNarrowPayload(reader, length, s.EnglishText);
  }

  // Texts are in a row while each is a chunk whose header directly follows the text before and
  // still gives the chunk's length (a chunk cut for damage has another).
  static void NoteTextChunk(ChunkReaderClass& reader, uint32_t length, Walk& walk) {
    if (!walk.Places) return;
    const int64_t header = reader.BytesPosition() - kChunkHeaderBytes;
    if (walk.TextCount == 0) {
      walk.TextsAt = static_cast<uint32_t>(header - walk.Start);
    } else if (header != walk.TextsEnd) {
      walk.TextsInRow = false;
    }
    if ((DecodeFixed32(reader.Bytes()->Data() + header + 4) & kChunkSizeMask) != length)
      walk.TextsInRow = false;
    walk.TextsEnd = header + kChunkHeaderBytes + length;
  }

  static bool LoadText(TDBStringClass& s, ChunkReaderClass& reader, uint32_t length, Walk& walk) {
    if (walk.WantedText && walk.TextCount == walk.Wanted) ReadWidePayload(reader, length, *walk.WantedText);
    ++walk.TextCount;
    if (!walk.Texts) return true;
    UnicodeStringClass text;
    return ReadWidePayload(reader, length, text) && s.Texts.Add(std::move(text));
  }
};

// Texts wait in the loaded bytes only when the reader walks such bytes; from a file they are
// read at once.
bool TDBStringClass::Load(ChunkReaderClass& reader) {
  const LoadedParts parts = reader.Parts();
  const bool wait = parts == LoadedParts::kTextsOnDemand && reader.Bytes();
  const int64_t start = reader.BytesPosition();
  const uint32_t length = reader.CurrentChunkRemaining();
  TDBStringLoader::Walk walk{
      .Fields = true,
      .Texts = parts == LoadedParts::kWhole || (parts == LoadedParts::kTextsOnDemand && !wait),
      .Places = wait,
      .Start = start,
  };
  if (!TDBStringLoader::Load(*this, reader, walk)) return false;
  if (wait) {
    SharedBytesClass::Release(Source);
    Source = reader.Bytes();
    Source->Hold();
    SourceOffset = start;
    SourceLength = length;
    SourceTextCount = walk.TextCount;
    EnglishAt = walk.EnglishAt;
    EnglishBytes = walk.EnglishBytes;
    TextsAt = walk.TextsInRow && walk.TextCount > 0 ? walk.TextsAt : kNowhere;
  }
  return true;
}

bool TDBStringClass::ReadWaitingTexts(TDBStringClass& into) const {
  ChunkReaderClass reader(Source, SourceOffset, SourceLength, LoadedParts::kWhole);
  TDBStringLoader::Walk walk{.Fields = false, .Texts = true};
  return TDBStringLoader::Load(into, reader, walk);
}

bool TDBStringClass::ReadWaitingText(int language, UnicodeStringClass* wide,
                                     NarrowStringClass* english) const {
  ChunkReaderClass reader(Source, SourceOffset, SourceLength, LoadedParts::kWithoutTexts);
  TDBStringLoader::Walk walk{
      .Fields = false, .Texts = false, .Wanted = language, .WantedText = wide, .WantedEnglish = english};
  TDBStringClass unused;
  return TDBStringLoader::Load(unused, reader, walk);
}

const UnicodeStringClass& TDBStringClass::PeekText(int language, UnicodeStringClass& scratch) {
  if (!Source) return GetText(language);
  scratch.Release();
  if (SourceTextCount > 0) {
    ReadWaitingText(language < 0 || language >= SourceTextCount ? 0 : language, &scratch, nullptr);
    return scratch;
  }
  NarrowStringClass english;
  if (ReadWaitingText(-1, nullptr, &english)) scratch.FromNarrow(english);
  return scratch;
}

const NarrowStringClass& TDBStringClass::PeekEnglishText(NarrowStringClass& scratch) {
  if (!Source) return GetEnglishText();
  scratch.Release();
  ReadWaitingText(-1, nullptr, &scratch);
  return scratch;
}

const unsigned char* TDBStringClass::WaitingBytes() const {
  const int64_t end = SourceOffset + SourceLength;
  return Source->WaitFilled(end) < end ? nullptr : Source->Data() + SourceOffset;
}

TextSpan TDBStringClass::PeekTextSpan(int language, UnicodeStringClass& scratch) {
  const unsigned char* bytes = Source ? WaitingBytes() : nullptr;
  if (bytes && SourceTextCount == 0) {
    // Text 0 is the English text, each byte a character.
    return EnglishAt == kNowhere ? TextSpan{} : TextSpan{TextSpan::kNarrow, bytes + EnglishAt, EnglishBytes};
  }
  if (bytes && TextsAt != kNowhere) {
    // The texts are chunks in a row, as the load found them: the one wanted is reached through
    // their headers.
    const int wanted = language < 0 || language >= SourceTextCount ? 0 : language;
    uint64_t at = TextsAt;
    for (int i = 0; at + kChunkHeaderBytes <= SourceLength; ++i) {
      const uint32_t size = DecodeFixed32(bytes + at + 4) & kChunkSizeMask;
      at += kChunkHeaderBytes;
      if (i == wanted && at + size <= SourceLength) return TextSpan{TextSpan::kWideLE, bytes + at, size / 2};
      at += size;
    }
  }
  return TextSpan{TextSpan::kWide, PeekText(language, scratch).Chars(), TextSpan::kToTheEnd};
}

TextSpan TDBStringClass::PeekEnglishSpan(NarrowStringClass& scratch) {
  if (const unsigned char* bytes = Source ? WaitingBytes() : nullptr)
    return EnglishAt == kNowhere ? TextSpan{} : TextSpan{TextSpan::kNarrow, bytes + EnglishAt, EnglishBytes};
  return TextSpan{TextSpan::kNarrow, PeekEnglishText(scratch).Chars(), TextSpan::kToTheEnd};
}

void TDBStringClass::PrefetchSpan(bool english) const {
  const uint32_t at = english || SourceTextCount == 0 ? EnglishAt : TextsAt;
  if (!Source || at == kNowhere) return;
  // A text and its header commonly reach into the next cache line.
  const unsigned char* bytes = Source->Data() + SourceOffset;
  __builtin_prefetch(bytes + at);
  if (SourceLength - at > 64) __builtin_prefetch(bytes + at + 64);
}

bool TextSpan::ContainsNoCase(const char16_t* needle, size_t n) const {
  switch (Kind) {
    case kNarrow:
      return ::ContainsNoCase(static_cast<const char*>(Units), Length, needle, n);
    case kWide:
      return ::ContainsNoCase(static_cast<const char16_t*>(Units), Length, needle, n);
    case kWideLE:
      return ::ContainsNoCaseLE(static_cast<const unsigned char*>(Units), Length, needle, n);
  }
  return false;
}

bool TDBStringClass::TakeTexts() {
  if (!Source) return true;
  // The texts are empty while they wait, so they are read straight into place.
  if (!ReadWaitingTexts(*this)) {
    EnglishText.Release();
    Texts.Clear();
    return false;
  }
  SharedBytesClass::Release(Source);
  Source = nullptr;
  return true;
}
