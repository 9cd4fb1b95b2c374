// The small database that the fuzz targets of the translation exchanges (PO, XLIFF) apply their
// inputs to: two categories, four strings with repeated and empty symbolic IDs, quotes, a
// backslash, a character outside the Basic Multilingual Plane and trailing spaces, and texts in
// languages 1 and 2. Their seed corpora are what tdbtool exports for it.
#pragma once

#include "strandex/db/translate_db.h"

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
