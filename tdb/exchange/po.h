// gettext PO exchange: one language of the database as a PO file for translators, and the
// translations of such a file written back into that language.
//
// A PO file is UTF-8 text made of entries separated by blank lines. The export writes a header
// entry (msgid "" with the fields Project-Id-Version, PO-Revision-Date, Last-Translator,
// Language-Team, Language, X-Tdb-Language (the language index; not in a template),
// MIME-Version, Content-Type with charset=UTF-8, Content-Transfer-Encoding and X-Generator),
// then one entry per string object, for each category in list order its strings in ascending
// numeric ID, then the strings whose category does not exist:
//
//   #. ID 1000, symbolic ID IDS_OK
//   #. Category: Default
//   #, c-format                          only when the English text holds a printf conversion
//   msgctxt "1000 IDS_OK"
//   msgid "<text 0 (English)>"
//   msgstr "<text of the language, or empty where the string has none of its own>"
//
// The context is the key (a file without it, as some converters leave it, is keyed by the
// "#. ID" comment, which they keep): the numeric ID in decimal, then a space and the symbolic ID (each
// byte b as U+00bb) when the string has one. Numeric IDs are unique in a database, so the key
// finds one string even where symbolic IDs repeat or are empty. A template (language 0) has
// every msgstr empty. Strings are written with the C escapes \\ \" \a \b \f \n \r \t \v and
// three octal digits for other control characters; a string with a line feed before its end
// is written as "" followed by one line per line feed, as gettext writes it.
#pragma once

#include "common/array.h"
#include "common/platform/disk.h"
#include "common/string_class.h"

struct PoExportOptions {
  // 0: the template, every msgstr empty; otherwise the language (1 or higher) of the msgstrs.
  int Language = 0;
  // The Language header field (a code such as "de"), or empty.
  const char* LanguageCode = "";
  // The Project-Id-Version header field: the name of the database.
  const char* Project = "";
  // The X-Generator header field: the program and its version.
  const char* Generator = "";
};

// Writes the current database as a PO file to path, replacing an existing file in one step.
// False with "path: reason" in error (when given); an existing file is then left as it was.
bool ExportPo(const char* path, const PoExportOptions& options, NarrowStringClass* error,
              platform::DiskInterface& disk = platform::SystemDisk());

struct PoImportOptions {
  // The language (1 or higher) that receives the translations.
  int Language = 1;
  // Apply entries marked fuzzy too.
  bool Fuzzy = false;
  // Refuse the whole file when any entry that is not fuzzy would be skipped.
  bool Strict = false;
  // The language code the file should name (its Language field), or empty for any.
  const char* LanguageCode = "";
  // Take a file whose X-Tdb-Language or Language names another language.
  bool LanguageMismatch = false;
};

struct PoImportReport {
  int Applied = 0;    // entries whose translation replaced the text
  int Unchanged = 0;  // entries with an empty msgstr or the text the language already has
  int Skipped = 0;    // entries not applied: fuzzy, plural, naming no string or a stale one, or
                      // with printf conversions that differ from the English text's
  int Fuzzy = 0;      // of the skipped: those marked fuzzy (without PoImportOptions::Fuzzy)
};

// Writes the translations of the PO file at path into the language of the current database.
// Entries that cannot be applied are skipped, each reported as "path:line: reason" in warnings
// (when given). False with "path: reason" or "path:line: reason" in error when the file cannot
// be read or is malformed, or a strict import would skip an entry (the database is then
// unchanged), or when memory runs out (the texts written before that stay).
bool ImportPo(const char* path, const PoImportOptions& options, PoImportReport* report,
              DynamicArrayClass<NarrowStringClass>* warnings, NarrowStringClass* error,
              platform::DiskInterface& disk = platform::SystemDisk());
