// SearchIndexClass: what the filter bar and the untranslated view look through, for every slot
// of the database in one block of bytes, so that a keystroke over a million strings follows no
// pointer and decodes no text: per slot its category, symbolic ID and English text, and (for
// the last two translation languages asked for) its text in the language and whether it is
// left to translate. The numeric ID is the slot's (TranslateDBClass keeps each string at
// kFirstID + slot). Each text is written unit by unit in 1 to 3 bytes, as UTF-8 writes a
// character below U+10000 (a surrogate stands alone), with A to Z made small, and ends in a 0
// byte. As no unit's first byte can be one of the bytes after it, a needle written the same way
// stands in a text's bytes exactly where its units stand in the text, A to Z in either case.
// The index is built on first use and again after any change of the database
// (TranslateDBClass::GetRevision), never at the open.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/array.h"
#include "tdb/tdb_string.h"

namespace ui {

// How the text of language (at least 1) stands to the English text. A string without a text in
// language has an empty one (GetText would give text 0 there).
struct TranslationLook {
  bool Empty;
  bool SameAsEnglish;      // equal, unit for byte
  bool EnglishHasLetters;  // a letter of some script, as the translation checks count them
  // Left to translate: English has letters, and the text is empty or the English one.
  bool Untranslated() const { return EnglishHasLetters && (Empty || SameAsEnglish); }
};
TranslationLook LookAtTranslation(const TextSpan& text, const TextSpan& english);

class SearchIndexClass {
 public:
  // A needle written as the index writes its texts.
  class Needle {
   public:
    // False when memory runs out.
    bool Set(const char16_t* text, size_t length);
    const char* Bytes() const { return &bytes[0]; }
    size_t Length() const { return length; }
    // Whether it can stand in a decimal number.
    bool Numeric() const { return numeric; }

   private:
    DynamicArrayClass<char> bytes;
    size_t length = 0;
    bool numeric = false;
  };

  // Brings the categories of every slot, with_fields their fields, and the texts of language
  // (-1: none) with their marks, up to date with the database. False when memory runs out:
  // nothing may be looked at then.
  bool Update(bool with_fields, int language);
  // The category of slot's string (0 for an empty slot).
  int Category(int slot) const { return categories[slot]; }
  // Whether the numeric ID (kFirstID + slot, where the database keeps each string), symbolic ID
  // or English text of slot holds needle.
  bool FieldsHold(int slot, const Needle& needle) const;
  // The same for the text in the language of the last Update.
  bool TextHolds(int slot, const Needle& needle) const { return texts->Texts.Holds(slot, needle); }
  // Whether slot is left to translate, and its English has letters, in that language.
  bool Untranslated(int slot) const { return texts->Marks[slot] & kUntranslated; }
  bool Translatable(int slot) const { return texts->Marks[slot] & kTranslatable; }

 private:
  // The texts of every slot in a row: slot i's from offset Starts[i] to Starts[i + 1], in
  // pieces of memory allocated as the block fills, so that it is never moved nor held twice.
  // A slot's bytes stand in one piece (or in one allocation of several); when they do not fit
  // the room left, that room is made 0 bytes, which no needle holds, of the slot before.
  class Block {
   public:
    Block() = default;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    ~Block() { Free(); }
    // Empties the block for slots slots. False when memory runs out.
    bool Begin(int slots);
    // Room for the next slot's most bytes in a row; null when memory runs out.
    char* Reserve(int64_t most);
    // Ends the next slot after the written bytes (none for an empty slot).
    void EndSlot(size_t written) {
      used += static_cast<int64_t>(written);
      Starts.Add(static_cast<int32_t>(used));
    }
    bool Holds(int slot, const Needle& needle) const;
    DynamicArrayClass<int32_t> Starts;

   private:
    static constexpr int kPieceBits = 22;
    static constexpr int64_t kPiece = int64_t{1} << kPieceBits;
    const char* At(int64_t offset) const {
      return pieces[static_cast<int>(offset >> kPieceBits)] + (offset & (kPiece - 1));
    }
    void Free();
    // Offset o stands at pieces[o >> kPieceBits] + (o & (kPiece - 1)); owned holds the allocations.
    DynamicArrayClass<char*> pieces;
    DynamicArrayClass<char*> owned;
    int64_t used = 0;
  };
  static constexpr uint8_t kUntranslated = 1, kTranslatable = 2;
  struct LanguageTexts {
    int Language = 0;
    uint64_t Revision = 0;
    int Age = 0;  // 0: holds nothing; the higher, the newer
    Block Texts;
    DynamicArrayClass<uint8_t> Marks;
  };
  bool BeginCategories(int count);
  bool BuildFields();
  bool BuildTexts(LanguageTexts& into, int language);

  Block fields;
  DynamicArrayClass<int32_t> categories;
  uint64_t categories_revision = 0;
  uint64_t fields_revision = 0;
  bool fields_built = false;
  LanguageTexts languages[2];
  LanguageTexts* texts = nullptr;
  int age = 0;
};

}  // namespace ui
