#include "tdb/exchange/translation_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tdb/testing/database_fixture.h"
#include "tdb/exchange/translation_stats.h"

namespace {

class Translations : public DatabaseTest {
 protected:
  // Adds string id with English and the texts of languages 1, 2, ... (null: none).
  static void Add(int id, const char16_t* english, std::vector<const char16_t*> texts) {
    TDBStringClass* s = NewString(id, "IDS_X", english);
    for (size_t k = 0; k < texts.size(); ++k) {
      if (texts[k]) s->SetText(static_cast<int>(k) + 1, texts[k]);
    }
    TranslateDBClass::AddObject(s);
  }
  // "id/language/fault" for every fault found.
  static std::vector<std::string> Faults(int language = 0, double ratio = 0) {
    struct Lister : TranslationFaultHandler {
      void OnFault(TDBStringClass* s, int k, TranslationFault fault) override {
        found.push_back(std::to_string(s->GetID()) + "/" + std::to_string(k) + "/" +
                        TranslationFaultName(fault));
      }
      std::vector<std::string> found;
    } lister;
    TranslationCheckOptions options;
    options.Language = language;
    options.MaxRatio = ratio;
    int count = CheckTranslations(options, lister);
    EXPECT_EQ(count, static_cast<int>(lister.found.size()));
    return lister.found;
  }
};

TEST_F(Translations, EveryPlantedFaultIsFoundAndNothingInACleanDatabase) {
  Add(1000, u"%d items, %s", {u"%i Sachen, %s", u"%s objets, %d"});
  Add(1001, u" Name:", {u" Name :", u"Nom:"});
  Add(1002, u"Two\nlines", {u"Zwei\nZeilen", u"Deux lignes"});
  Add(1003, u"Tab\there \\n", {u"Tab\thier \\n", u"Tab ici \\n"});
  Add(1004, u"OK", {u"OK", u"D'accord"});
  Add(1005, u"100%", {u"100%", u"100 %"});
  Add(1006, u"Short", {u"Kurz", u"Une traduction bien trop longue"});
  Add(1007, u"", {u"", nullptr});
  Add(1008, u"50% off", {u"50% weniger", nullptr});
  Add(1009, u"\u00c9t\u00e9", {u"\u00c9t\u00e9", u"\U0001F3AE"});
  EXPECT_EQ(Faults(), (std::vector<std::string>{"1000/2/printf", "1001/2/spaces", "1002/2/line-breaks",
                                                "1003/2/escapes", "1004/1/untranslated", "1008/2/empty",
                                                "1009/1/untranslated"}));
  EXPECT_EQ(Faults(2, 3), (std::vector<std::string>{"1000/2/printf", "1001/2/spaces", "1002/2/line-breaks",
                                                    "1003/2/escapes", "1004/2/too-long", "1006/2/too-long",
                                                    "1008/2/empty"}));
  EXPECT_EQ(Faults(3), (std::vector<std::string>{"1000/3/empty", "1001/3/empty", "1002/3/empty",
                                                 "1003/3/empty", "1004/3/empty", "1005/3/empty",
                                                 "1006/3/empty", "1008/3/empty", "1009/3/empty"}));
  Reset();
  Add(1000, u"%d items, %s", {u"%i Sachen, %s", u"%d objets, %s"});
  Add(1001, u" A\n\tB\\n ", {u" \u00c4\n\tB\\n ", u" a\n\tb\\n "});
  Add(1002, u"Short", {u"Kurz", u"Trois fois"});
  EXPECT_EQ(Faults(0, 2), std::vector<std::string>{});
  EXPECT_EQ(Faults(0, 1.9), std::vector<std::string>{"1002/2/too-long"});
}

TEST_F(Translations, StatisticsCountTranslatedSameAndEmptyAndTheWordsLeft) {
  Add(1000, u"Open the door", {u"T\u00fcr \u00f6ffnen", u"Open the door"});
  Add(1001, u"  two\twords\n", {nullptr, u""});
  Add(1002, u"", {u"nothing to translate"});
  Add(1003, u"Yes", {u"Ja", nullptr, u"S\u00ed"});
  EXPECT_EQ(CountedStrings(), 3);
  LanguageStats first = TranslationStats(1);
  EXPECT_EQ(std::vector<long long>({first.Translated, first.SameAsEnglish, first.Empty, first.Words}),
            std::vector<long long>({2, 0, 1, 2}));
  LanguageStats second = TranslationStats(2);
  EXPECT_EQ(std::vector<long long>({second.Translated, second.SameAsEnglish, second.Empty, second.Words}),
            std::vector<long long>({0, 1, 2, 6}));
  EXPECT_EQ(HighestLanguage(), 3);
  EXPECT_EQ(CountWords(u"\u00a0a b\u00a0c ", 7), 3);
}

}  // namespace
