// A deterministic string database for benchmarks: 100,000 strings in 20 categories with texts
// in 7 languages (English, German, French, Russian, Greek, Japanese, Chinese; some texts hold
// characters outside the Basic Multilingual Plane). The same call always gives the same
// database, so it can be written as a .tdb, a text table or gettext .po files and compared.
#pragma once

#include <string>

namespace tdbgen {

constexpr int kStrings = 100000;
constexpr int kCategories = 20;
constexpr int kLanguages = 7;

// Empties the database and fills it with strings objects in categories categories, each with
// texts in languages languages (beyond the seven above, the words of languages 1 to 6 again).
void FillDatabase(int strings = kStrings, int categories = kCategories, int languages = kLanguages);

// Writes one language of the database as a gettext .po file: one entry per string, its symbolic
// ID as the context, the English text as the message and the language's text as the
// translation. False when the file cannot be written.
bool WritePoFile(const std::string& path, int language);

}  // namespace tdbgen
