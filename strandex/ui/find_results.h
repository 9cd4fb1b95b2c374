// FindResultsClass: the rows of the Find results window. Each row keeps the slot index of the
// string it found (numeric ID - 1000), not the string itself, so a row whose string was removed
// since shows empty cells and leads nowhere.
#pragma once

#include "common/array.h"
#include "common/string_class.h"
#include "strandex/ui/resources.h"

namespace ui {

class FindResultsClass {
 public:
  bool IsOpen() const { return open; }
  void SetOpen(bool is_open) { open = is_open; }

  void Clear() {
    hits.Clear();
    problems.Clear();
  }
  // Searches add one row per hit; the list doubles, so that a search over a big table stays
  // linear however many it finds.
  bool Add(int slot) { return AddDoubling(hits, slot); }
  int RowCount() const { return hits.Count(); }
  // The slot index of a row, or -1.
  int RowSlot(int row) const;
  // Columns: symbolic ID, numeric ID, English text, and the problem while the rows are those of
  // Check translations (which adds them with AddProblem, a TranslationFault each).
  UnicodeStringClass CellText(int row, int column) const;
  void ShowProblems(bool shown) { shows_problems = shown; }
  bool AddProblem(int slot, int fault) { return Add(slot) && AddDoubling(problems, fault); }
  int ColumnCount() const { return shows_problems ? 4 : 3; }
  const ColumnTemplate* Columns() const { return shows_problems ? kProblemResultColumns : kResultColumns; }

 private:
  bool open = false;
  DynamicArrayClass<int> hits;
  DynamicArrayClass<int> problems;
  bool shows_problems = false;
};

}  // namespace ui
