// Reading the syntax of a gettext PO file: comments of every kind, msgctxt, msgid, msgid_plural,
// msgstr and msgstr[N], strings over several lines and the C escapes gettext writes (\n, \t, \",
// \\, \a, \b, \f, \r, \v, \?, \', octal and hex byte values). Obsolete entries (#~) are passed
// over. The strings of each entry are checked as UTF-8 and handed on as UTF-16; a header that
// names another charset is refused. Used by the PO import (po_import.h); the fuzzer runs it
// directly.
#pragma once

#include <cstddef>

#include "common/string_class.h"

// One entry as the reader hands it on. The texts are UTF-16 with a terminating zero (they never
// hold a zero of their own); they stay valid only during the call.
struct PoEntry {
  int Line = 0;             // the line of the entry's first keyword
  bool IsHeader = false;    // msgid "" without msgctxt
  bool HasContext = false;  // a msgctxt was given
  bool Plural = false;      // msgid_plural and msgstr[N]; Str is then empty
  bool Fuzzy = false;       // the flags (#,) hold "fuzzy"
  const char16_t* Context = u"";
  int ContextLength = 0;
  const char16_t* Id = u"";
  int IdLength = 0;
  const char16_t* Str = u"";
  int StrLength = 0;
  // The extracted comments (#.) before the entry, each without "#." and one space after it, one
  // a line; bytes as in the file (not checked as UTF-8), not terminated.
  const char* Extracted = "";
  size_t ExtractedSize = 0;
};

class PoEntryHandler {
 public:
  virtual ~PoEntryHandler() = default;
  // False stops reading: with a reason, the file is refused as "name:line: reason" (the line of
  // the entry); with an empty reason, memory ran out.
  virtual bool OnEntry(const PoEntry& entry, NarrowStringClass& reason) = 0;
};

// Reads size bytes as a whole PO file, handing each entry in file order to handler. False with
// "name:line: reason" in error (when given) for a malformed file, or "name: reason" when memory
// runs out; entries before the fault have been handed on.
bool ReadPo(const char* bytes, size_t size, const char* name, PoEntryHandler& handler,
            NarrowStringClass* error);
