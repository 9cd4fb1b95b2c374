// TDBStringClass: one entry of the string table. A numeric ID, a symbolic ID, the English text
// in 8-bit form, one UTF-16 text per language (index 0 is English), a sound ID, an animation name
// and the ID of its category. SetText and SetEnglishText keep EnglishText and text 0 in step.
#pragma once

#include <cstdint>

#include "common/array.h"
#include "common/string_class.h"
#include "strandex/db/storable.h"

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
  virtual const NarrowStringClass& GetEnglishText() { return EnglishText; }
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
  virtual void SetID(int id) { ID = id; }
  virtual bool SetIDString(const char* text);
  virtual bool SetAnimationName(const char* text);
  virtual void SetSoundID(int id) { SoundID = id; }
  virtual void SetCategoryID(int id) { CategoryID = id; }
  virtual bool HasText(int language);

  // Number of texts (languages 0 to count - 1).
  int GetTextCount() const { return Texts.Count(); }

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
  friend class TDBStringLoader;
};
