// What the imports of translations (PO and XLIFF files) share: each entry of a file is matched
// with the string its key or its ID comment names, and its translation goes into the language
// of the import when it may. An import runs twice over its file: a check pass (apply false)
// counts, reports what is skipped and refuses a file that names one string twice; only after it
// succeeds does the apply pass write the texts.
#pragma once

#include <cstddef>

#include "tdb/tdb_string.h"
#include "tdb/exchange/po.h"
#include "tdb/exchange/warning_list.h"

struct TranslationEntry {
  int Line = 0;
  // The key (numeric ID, then a space and the symbolic ID), null when the entry has none; KeyName
  // says where it stands, for the messages ("msgctxt", "resname").
  const char16_t* Key = nullptr;
  int KeyLength = 0;
  const char* KeyName = "";
  // Used when there is no key: the comment lines (bytes, one a line) of which one may be the
  // export's "ID 1000, symbolic ID IDS_OK"; CommentName names them ("\"#. ID\" comment").
  const char* Comments = "";
  size_t CommentsSize = 0;
  const char* CommentName = "";
  // Why an entry with neither names no string.
  const char* Unkeyed = "";
  const char16_t* Source = u"";  // the English text the file holds
  int SourceLength = 0;
  const char16_t* Target = u"";  // the translation
  int TargetLength = 0;
  bool Fuzzy = false;  // held back by the translator (applied only with PoImportOptions::Fuzzy)
};

class TranslationImporterClass {
 public:
  TranslationImporterClass(const PoImportOptions& options, WarningListClass* warnings, bool apply);
  ~TranslationImporterClass() { delete[] first_line; }
  TranslationImporterClass(const TranslationImporterClass&) = delete;
  TranslationImporterClass& operator=(const TranslationImporterClass&) = delete;

  // False when the file is to be refused (with the reason) or memory ran out (reason empty).
  bool Entry(const TranslationEntry& e, NarrowStringClass& reason);
  // Counts an entry skipped for a reason of the format's own, reported as "why; skipped".
  void Skip(int line, const char* why);

  PoImportReport report;

 private:
  TDBStringClass* FindByKey(const TranslationEntry& e);
  // False with *failed when memory ran out.
  TDBStringClass* FindByComment(const TranslationEntry& e, bool* failed);

  const PoImportOptions& options;
  WarningListClass* warnings;
  bool apply;
  // Per slot: the line of the entry that named the string, 0 for none yet (check pass only).
  int* first_line = nullptr;
};

// False with "name: reason" in error when the language of options is outside 1 to kMaxLanguage.
bool CheckImportLanguage(const PoImportOptions& options, const char* name, NarrowStringClass* error);
// False with "name: reason" in error when a strict import would skip an entry that is not fuzzy.
bool CheckStrictImport(const PoImportReport& report, const PoImportOptions& options, const char* name,
                       NarrowStringClass* error);
