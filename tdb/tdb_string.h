// TDBStringClass: one entry of the string table. A numeric ID, a symbolic ID, the English text
// in 8-bit form, one UTF-16 text per language (index 0 is English), a sound ID, an animation name
// and the ID of its category. SetText and SetEnglishText keep EnglishText and text 0 in step.
//
// A string loaded with its texts on demand (LoadedParts::kTextsOnDemand) keeps its place in the
// loaded file's bytes (held as long as it needs them) and reads its texts from there the first
// time a text is asked for or changed; its save writes them without keeping them. A text then
// asked for when memory runs out is empty.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/array.h"
#include "common/shared_bytes.h"
#include "common/string_class.h"
#include "tdb/storable.h"

// A text of a string where it stands, for one look that copies nothing: Length units from
// Units, ended early by a 0 unit when one comes first (kToTheEnd for a text in memory, which
// always ends in one). Narrow units are bytes (byte b is the character U+00bb); wide ones are
// char16_t in memory, or UTF-16LE bytes at any alignment for a text that still waits in the
// loaded bytes. Valid while the string and its texts stay as they are.
struct TextSpan {
  enum Form : uint8_t { kNarrow, kWide, kWideLE };
  static constexpr size_t kToTheEnd = SIZE_MAX;
  Form Kind = kNarrow;
  const void* Units = nullptr;
  size_t Length = 0;

  // Whether needle (n units) stands in the text, A to Z compared without regard to case (as
  // FindNoCase compares).
  bool ContainsNoCase(const char16_t* needle, size_t n) const;
};

class TDBStringClass : public StorableClass {
 public:
  // The highest language index the exchange formats and tools set: a mistyped index must not
  // give every string a list of millions of texts.
  static constexpr int kMaxLanguage = 255;

  TDBStringClass();
  TDBStringClass(const TDBStringClass& other);
  TDBStringClass& operator=(const TDBStringClass&) = delete;
  ~TDBStringClass() override;

  void OnAfterLoad() override {}
  ObjectFactoryClass* GetFactory() override;
  // False when a field cannot be written (a symbolic ID or animation name over 254 bytes).
  bool Save(ChunkWriterClass& writer) override;
  // False only when memory runs out.
  bool Load(ChunkReaderClass& reader) override;

  // A copy made with new (std::nothrow): null when memory runs out.
  virtual TDBStringClass* Clone();
  virtual const UnicodeStringClass& GetCurrentText();
  // Text language, or text 0 when language is not below the number of texts; an empty text
  // when the object has no texts at all.
  virtual const UnicodeStringClass& GetText(int language);
  virtual const NarrowStringClass& GetEnglishText();
  // GetText and GetEnglishText for one look (a search, a cell on screen): texts still waiting
  // in the loaded bytes are not kept; the one asked for is read into scratch, which the result
  // then refers to. Empty when memory runs out.
  const UnicodeStringClass& PeekText(int language, UnicodeStringClass& scratch);
  const NarrowStringClass& PeekEnglishText(NarrowStringClass& scratch);
  // The same texts as spans: a text that waits in the loaded bytes is looked at where it stands
  // there (into scratch only when its place is not known), so a search over every string
  // neither reads nor copies any.
  TextSpan PeekTextSpan(int language, UnicodeStringClass& scratch);
  TextSpan PeekEnglishSpan(NarrowStringClass& scratch);
  // Starts to bring the loaded bytes that PeekEnglishSpan (english) or PeekTextSpan looks at
  // into the processor's cache, so that a walk over many strings, asking for this a few strings
  // ahead, need not wait for each in turn.
  void PrefetchSpan(bool english) const;
  virtual int GetID() { return ID; }
  virtual const NarrowStringClass& GetIDString() { return IDString; }
  virtual int GetSoundID() { return SoundID; }
  virtual const NarrowStringClass& GetAnimationName() { return AnimationName; }
  virtual int GetCategoryID() { return CategoryID; }
  // The setters of texts return false (and change nothing more) when memory runs out.
  virtual bool SetText(int language, const char16_t* text);
  virtual bool SetEnglishText(const char* text);
  // Neither SetID nor SetIDString moves the object inside the database; use
  // TranslateDBClass::ChangeObjectID and ChangeObjectIDString for an object in the database.
  // The setters count their change in TranslateDBClass::GetRevision.
  virtual void SetID(int id);
  virtual bool SetIDString(const char* text);
  virtual bool SetAnimationName(const char* text);
  virtual void SetSoundID(int id) { SoundID = id; }
  virtual void SetCategoryID(int id);
  virtual bool HasText(int language);

  // Number of texts (languages 0 to count - 1).
  int GetTextCount() const { return !Source ? Texts.Count() : SourceTextCount > 0 ? SourceTextCount : 1; }

 protected:
  NarrowStringClass EnglishText;
  NarrowStringClass IDString;
  int32_t ID = 0;
  int32_t SoundID = -1;
  int32_t CategoryID = 0;
  NarrowStringClass AnimationName;
  DynamicArrayClass<UnicodeStringClass> Texts;

 private:
  // Appends an empty text. False when memory runs out.
  bool AppendEmptyText();
  // Reads the texts waiting in the loaded bytes, which are then let go. False when memory runs
  // out (the texts then still wait).
  bool TakeTexts();
  // Reads the texts waiting in the loaded bytes into into, an empty string.
  bool ReadWaitingTexts(TDBStringClass& into) const;
  // Reads waiting text number language into wide (when given) and the English text into
  // english (when given).
  bool ReadWaitingText(int language, UnicodeStringClass* wide, NarrowStringClass* english) const;
  bool SaveTexts(ChunkWriterClass& writer, const NarrowStringClass& english,
                 const DynamicArrayClass<UnicodeStringClass>& texts);
  friend class TDBStringLoader;

  // Where the texts wait while they are not read: the data of the string's envelope in the
  // loaded bytes, and how many texts it holds (0: text 0 will be made from the English text).
  SharedBytesClass* Source = nullptr;
  int64_t SourceOffset = 0;
  uint32_t SourceLength = 0;
  int32_t SourceTextCount = 0;
  // Where in that data the texts stand, counted from its start, as the load found them: the
  // payload of the English text (kNowhere: none) and the header of text 0 when every text is a
  // chunk of its own that follows the one before it directly (kNowhere: they are walked to).
  static constexpr uint32_t kNowhere = UINT32_MAX;
  uint32_t EnglishAt = kNowhere;
  uint32_t EnglishBytes = 0;
  uint32_t TextsAt = kNowhere;
  // The waiting data, once all of it has been read into the loaded bytes (null if it never is).
  const unsigned char* WaitingBytes() const;
};
