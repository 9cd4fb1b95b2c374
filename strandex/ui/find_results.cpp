// Rows of the Find results window.
#include "strandex/ui/find_results.h"

#include "tdb/translate_db.h"
#include "strandex/ui/string_list.h"

namespace ui {

int FindResultsClass::RowSlot(int row) const { return row >= 0 && row < hits.Count() ? hits[row] : -1; }

UnicodeStringClass FindResultsClass::CellText(int row, int column) const {
  static const StringField kColumns[] = {StringField::IDString, StringField::NumericID,
                                         StringField::EnglishText};
  TDBStringClass* s = TranslateDBClass::GetObject(RowSlot(row));
  if (!s || column < 0 || column > 2) return UnicodeStringClass();
  return StringCellText(s, kColumns[column]);
}

}  // namespace ui
