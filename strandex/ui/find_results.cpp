// Rows of the Find results window.
#include "strandex/ui/find_results.h"

#include "strandex/ui/string_list.h"
#include "tdb/exchange/translation_check.h"
#include "tdb/translate_db.h"

namespace ui {

int FindResultsClass::RowSlot(int row) const { return row >= 0 && row < hits.Count() ? hits[row] : -1; }

UnicodeStringClass FindResultsClass::CellText(int row, int column) const {
  static const StringField kColumns[] = {StringField::IDString, StringField::NumericID,
                                         StringField::EnglishText};
  TDBStringClass* s = TranslateDBClass::GetObject(RowSlot(row));
  if (!s || column < 0 || column >= ColumnCount()) return UnicodeStringClass();
  if (column == 3) {
    UnicodeStringClass problem;
    if (row < problems.Count())
      problem.FromNarrow(TranslationFaultText(static_cast<TranslationFault>(problems[row])));
    return problem;
  }
  return StringCellText(s, kColumns[column]);
}

}  // namespace ui
