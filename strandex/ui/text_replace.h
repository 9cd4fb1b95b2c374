// Replacing a text in the English texts of strings, or in the texts of one language: Edit,
// Replace first looks at the strings and counts what would change, and writes only after the
// user agreed. A string whose text does not hold the searched text is never written.
#pragma once

#include "common/array.h"
#include "common/string_class.h"

class TDBStringClass;

namespace ui {

struct ReplaceRequest {
  UnicodeStringClass Find;  // an empty text finds nothing
  UnicodeStringClass With;
  int Language = 0;  // 0: the English texts; otherwise the texts of this language
  // Otherwise A to Z match in either case, as the Find dialogs compare; no other letter folds.
  bool MatchCase = false;
};

class TextReplacementClass {
 public:
  // An English replacement whose find or with text has no narrow form changes nothing (the
  // narrow English texts cannot hold the one, and must not be given the other).
  explicit TextReplacementClass(const ReplaceRequest& request);

  // Looks at the text of s, without keeping texts still waiting in the loaded bytes, and keeps
  // s when the text holds the searched one. False when memory runs out.
  bool Consider(TDBStringClass* s);
  int StringCount() const { return strings.Count(); }
  int MatchCount() const { return matches; }
  // Writes the replaced texts into every kept string. False when memory runs out, and then the
  // strings before that one are changed.
  bool Apply();

 private:
  static constexpr int kStringsStep = 65536;
  const ReplaceRequest request;
  bool valid = false;
  NarrowStringClass narrow_find, narrow_with;
  DynamicArrayClass<TDBStringClass*> strings;
  int matches = 0;
  UnicodeStringClass wide_scratch;
  NarrowStringClass narrow_scratch;
};

}  // namespace ui
