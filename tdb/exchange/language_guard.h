// The guard of the translation imports: a file names the language it was exported for (its index
// in the database and, when one was given, its code), and an import into another language is
// refused unless the caller says that it is meant. A file that names no language (a translator's
// own) is taken as it is.
#pragma once

#include "common/string_class.h"
#include "tdb/exchange/po.h"

struct FileLanguage {
  // The index as the file writes it, null when the file names none; field says where it stands
  // (such as "X-Tdb-Language"), for the message.
  const char* Index = nullptr;
  const char* IndexField = "";
  // The code (UTF-8), null or empty when the file names none.
  const char* Code = nullptr;
  const char* CodeField = "";
};

// Whether a file in language may go into the language of options. False with the reason, which
// names both languages, in reason.
bool CheckFileLanguage(const FileLanguage& language, const PoImportOptions& options,
                       NarrowStringClass& reason);

// Whether two language codes name the same language: letters compared without case, '-' and '_'
// alike ("pt_BR", "pt-br").
bool SameLanguageCode(const char* a, const char* b);

// CheckFileLanguage for the fields X-Tdb-Language and Language of a PO header (UTF-16, one field
// a line), as import-po reads it and as converters carry it into other formats.
bool CheckPoHeaderLanguage(const char16_t* header, int length, const PoImportOptions& options,
                           NarrowStringClass& reason);
