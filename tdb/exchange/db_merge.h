// Three-way merge of string databases: what one side changed since the base is taken, the same
// change made on both sides is taken once. Strings are merged by numeric ID and field (symbolic
// ID, sound ID, category, animation, and each language's text; language 0 with the English
// text), categories by ID (their names), and the version and current language as values.
//
// Conflicts: different changes to the same field; a record removed on one side and changed on
// the other; one numeric ID given to different new strings on the two sides (ours keeps the ID,
// theirs moves to the lowest ID that none of the three databases uses); symbolic IDs that
// become duplicates (ignoring the case of A to Z) where neither side had them. The merged
// database keeps our side for each conflict.
#pragma once

#include <string>
#include <vector>

#include "tdb/exchange/db_snapshot.h"

struct MergeOutcome {
  DatabaseSnapshot Merged;
  // One line per conflict, in the order of the records, without line end.
  std::vector<std::string> Conflicts;
};

MergeOutcome MergeDatabases(const DatabaseSnapshot& base, const DatabaseSnapshot& ours,
                            const DatabaseSnapshot& theirs);
