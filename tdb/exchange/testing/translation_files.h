// Test helpers for the translation exchanges (PO, XLIFF): a fixture over an empty database with
// strings added by ID, and a file applied from memory with its result, report and warnings.
// Header-only, for the tests of tdb/exchange.
#pragma once

#include <string>
#include <vector>

#include "tdb/testing/database_fixture.h"
#include "tdb/exchange/po.h"

struct Applied {
  bool ok;
  std::string error;
  PoImportReport report;
  std::vector<std::string> warnings;
};

using ApplyFunction = bool (*)(const char*, size_t, const char*, const PoImportOptions&, PoImportReport*,
                               DynamicArrayClass<NarrowStringClass>*, NarrowStringClass*);

inline Applied ApplyFile(ApplyFunction apply, const std::string& bytes, const char* name,
                         const PoImportOptions& options) {
  Applied result;
  DynamicArrayClass<NarrowStringClass> warnings;
  NarrowStringClass error;
  result.ok = apply(bytes.data(), bytes.size(), name, options, &result.report, &warnings, &error);
  result.error = error.Chars();
  for (int i = 0; i < warnings.Count(); ++i) result.warnings.push_back(warnings[i].Chars());
  return result;
}

class TranslationTest : public DatabaseTest {
 protected:
  static TDBStringClass* Add(int id, const char* symbolic, const char16_t* english, int category = 1) {
    TDBStringClass* s = NewString(id, symbolic, english, category);
    EXPECT_TRUE(TranslateDBClass::AddObject(s));
    return s;
  }
  // The text of a language of string id, "<none>" when it has none.
  static std::u16string Text(int id, int language) {
    TDBStringClass* s = TranslateDBClass::GetObject(id - 1000);
    return language < s->GetTextCount() ? s->GetText(language).Chars() : u"<none>";
  }
};
