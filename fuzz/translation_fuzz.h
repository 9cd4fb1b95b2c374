// What the fuzz targets of the translation imports (PO, XLIFF) share: the small database they
// apply their inputs to (two categories, four strings with repeated and empty symbolic IDs,
// quotes, a backslash, a character outside the Basic Multilingual Plane and trailing spaces, and
// texts in languages 1 and 2), and the properties they check. A refused file must leave the
// database as it was and give a "NAME:LINE: reason" error; an accepted one, applied a second
// time, must change nothing more; and what the database then holds must export to a file that
// applies without a change or a skip. Their seed corpora are what tdbtool exports for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tdb/translate_db.h"
#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/po.h"

inline void FillExchangeSeed() {
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::AddCategoryNamed("Default");
  TranslateDBClass::AddCategoryNamed("Other");
  struct Seed {
    int id;
    const char* symbolic;
    int category;
    const char16_t* texts[3];
  };
  static const Seed seeds[] = {
      {1000, "IDS_A", 1, {u"A", u"Ah", nullptr}},
      {1001, "IDS_A", 1, {u"Say \"hi\"\\there", nullptr, u"x"}},
      {1002, "", 2, {u"\U0001F3AE play  ", nullptr, nullptr}},
      {1003, "IDS_D", 2, {u"D", nullptr, nullptr}},
  };
  for (const Seed& seed : seeds) {
    TDBStringClass* s = new TDBStringClass;
    s->SetID(seed.id);
    s->SetIDString(seed.symbolic);
    s->SetCategoryID(seed.category);
    for (int k = 0; k < 3; ++k) {
      if (seed.texts[k]) s->SetText(k, seed.texts[k]);
    }
    TranslateDBClass::AddObject(s);
  }
}

struct FuzzTranslationFormat {
  const char* Name;  // the file name in messages
  void (*Write)(ByteBuilder&, const PoExportOptions&);
  bool (*Apply)(const char*, size_t, const char*, const PoImportOptions&, PoImportReport*,
                DynamicArrayClass<NarrowStringClass>*, NarrowStringClass*);
};

struct FuzzExported {
  ByteBuilder bytes;
  const char* Data() { return reinterpret_cast<const char*>(bytes.Data()); }
  size_t Size() { return static_cast<size_t>(bytes.Size()); }
  bool operator==(FuzzExported& other) {
    return Size() == other.Size() && memcmp(Data(), other.Data(), Size()) == 0;
  }
};

inline void FuzzExport(const FuzzTranslationFormat& format, int language, FuzzExported& out) {
  PoExportOptions options;
  options.Language = language;
  format.Write(out.bytes, options);
  if (out.bytes.ErrorCode()) __builtin_trap();
}

inline bool FuzzApply(const FuzzTranslationFormat& format, const char* bytes, size_t size, int language,
                      PoImportReport* report) {
  PoImportOptions options;
  options.Language = language;
  options.Fuzzy = language == 2;
  DynamicArrayClass<NarrowStringClass> warnings;
  NarrowStringClass error;
  bool ok = format.Apply(bytes, size, format.Name, options, report, &warnings, &error);
  size_t name = strlen(format.Name);
  if (!ok && (strncmp(error.Chars(), format.Name, name) != 0 || error.Chars()[name] != ':')) __builtin_trap();
  return ok;
}

// Applies the input to language 1 without --fuzzy or language 2 with it, and checks the
// properties above.
inline int FuzzTranslationImport(const FuzzTranslationFormat& format, const uint8_t* data, size_t size,
                                 int language) {
  const char* bytes = reinterpret_cast<const char*>(data);
  FillExchangeSeed();
  FuzzExported before;
  FuzzExport(format, language, before);
  PoImportReport report;
  if (!FuzzApply(format, bytes, size, language, &report)) {
    FuzzExported after;
    FuzzExport(format, language, after);
    if (!(before == after)) __builtin_trap();
  } else {
    PoImportReport again;
    if (!FuzzApply(format, bytes, size, language, &again) || again.Applied != 0) __builtin_trap();
    FuzzExported now;
    FuzzExport(format, language, now);
    PoImportReport round;
    if (!FuzzApply(format, now.Data(), now.Size(), language, &round) || round.Applied != 0 ||
        round.Skipped != 0)
      __builtin_trap();
  }
  TranslateDBClass::ClearDatabase();
  return 0;
}
